// Written by make_vec2_cases.py: inputs on which rounding each step to float
// (or the sum of squares to double first) gives another result.
#pragma once
struct LengthCase { float x, y, length; };
const LengthCase kLengthCases[] = {
    {-0x1.025a4p+9f, 0x1.8be66cp-1f, 0x1.025a54p+9f},
    {-0x1.7aa6f4p+7f, -0x1.54a7e4p-1f, 0x1.7aa78ep+7f},
    {0x1.7743f2p+8f, 0x1.fb69fap-5f, 0x1.7743f4p+8f},
    {0x1.dab4c8p+7f, 0x1.4ee898p-5f, 0x1.dab4c8p+7f},
};
struct SetLengthCase { float x, y, length, outX, outY; };
const SetLengthCase kSetLengthCases[] = {
    {-0x1.07205ap-3f, 0x1.7a17aep-1f, 0x1.1eb852p-4f, -0x1.892b26p-7f, 0x1.1a7a02p-4f},
    {-0x1.ecdddp+7f, 0x1.c670d8p+6f, 0x1.1eb852p-4f, -0x1.0461b4p-4f, 0x1.e029a6p-6f},
    {-0x1.974f5cp+0f, -0x1.484ebap+0f, 0x1.4p+3f, -0x1.f248f4p+2f, -0x1.91a308p+2f},
};
