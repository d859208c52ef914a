// Play scripts and recordings: a game's input frame by frame from a text file,
// read inside the game where the framework reads input (see the guide's
// "Testing your game"), and the input the game took written in the same form.
#pragma once
#include <windows.h>

// Plays the script file from the next frame (its frame 1; a frame is one Flip),
// in place of the real input until its last event; its log (shots with their
// CRC-32, sound starts, the end) goes to the file named by LQ_PLAY_LOG, else
// beside the script with .log for its extension, and shots beside the log. A bad
// line stops the script there, with its number and why in the log. 0; E_FAIL
// when the file or the log cannot be opened, E_INVALIDARG for a null name.
HRESULT StartPlayScript(const char* file);
// Ends the script playing (the log says so); real input comes back. 0, or
// S_FALSE when none plays.
HRESULT StopPlayScript();
// 1 while a script plays, else 0.
int IsPlayScriptRunning();

// Writes the input the game takes each frame from the next one into file, as a
// play script that replays it (with the seed of the framework's random numbers,
// which this seeds afresh, and the logic steps of each frame). 0; E_FAIL when the
// file cannot be written, E_INVALIDARG for a null name.
HRESULT StartInputRecording(const char* file);
// Finishes the recording; 0, or S_FALSE when none runs.
HRESULT StopInputRecording();
