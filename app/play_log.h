// What the other modules tell a playing script's log. Not installed.
#pragma once
#include <stdint.h>

#include <vector>

// A sound started (how: null for a slot, "voice" for a voice of one): a line
// "frame N sound slot S volume V pan P" in the log while a script plays.
void LogSoundStart(uint32_t slot, int32_t volume, int32_t pan, const char* how);

// The frame steps: ProcessMessage begins a frame of the script and the recording
// (delivering the script's events of it first), Flip ends it just before the
// picture is presented (taking the script's shots of it).
void BeginPlayFrame();
void EndPlayFrame();
// After the input poll: the recording takes the frame's input; quit: the game
// ends with this frame.
void RecordPlayFrame(int quit);
// The logic steps that GetStepsDue hands out while a script plays (sets steps
// and returns 1), else 0; and the steps it handed out, for a recording.
int PlayedSteps(int* steps);
void RecordSteps(int steps);
// The client point and buttons, and whether the window is in front, while a
// script plays (each returns 1 and sets what it gives), else 0.
int PlayedMouse(int32_t* x, int32_t* y);
int PlayedMouseButton(int button, int* down);
int PlayedFocus(int* active);
// Starts LQ_RECORD's recording and LQ_PLAY's script; stops both (ReleaseApplication).
void StartPlayFromEnvironment();
void StopPlayAndRecording();

// The picture Flip is about to present, 3 bytes a pixel (RGB), rows top first;
// 0, or the failing status (graphics/frame_shot.cpp).
long ReadPresentedFrame(std::vector<uint8_t>* rgb, uint32_t* width, uint32_t* height);
