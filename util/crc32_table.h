// The CRC-32's own step, portable like it. Not installed: games use util/crc32.h.
#pragma once

// Builds the lookup table (the first CalcCrc32 does it); no result.
void InitCrc32Table();
