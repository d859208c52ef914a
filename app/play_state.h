// Module state of play scripts and recordings, zero at program start.
#pragma once
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "app/play_script.h"
#include "input/play_input.h"

struct PlayState {
  // Frames begun since the start (ProcessMessage), and whether Flip ended the last.
  uint32_t frames;
  int frameOpen;

  // The script playing.
  int playing;
  PlayScript script;
  size_t next;          // the next event to deliver
  uint32_t base;        // frames before its frame 1
  uint32_t lastFrame;   // of its last event
  PlayInput input;      // what the game is given
  int stepsGiven;       // this frame's steps handed out
  uint32_t steps;       // this frame's steps
  std::vector<uint64_t> seeds;  // recorded seeds for the game's SeedRandom calls
  std::vector<std::string> shots;  // to take at this frame's Flip
  FILE* log;
  std::string folder;   // of the log, where the shots go (ends in a separator)

  // The recording.
  FILE* record;
  uint32_t recordBase;
  int recordSteps;      // GetStepsDue's steps this frame
  PlayInput recorded;   // the input of the last recorded frame
};

extern PlayState Play;

// The frame of the script and of the recording that is open or begins next.
uint32_t ScriptFrame();
uint32_t RecordFrame();
// The hook of SeedRandom while a script plays or a recording runs.
uint64_t PlaySeedHook(uint64_t seed);
