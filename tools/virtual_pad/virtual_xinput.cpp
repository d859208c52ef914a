// Virtual modern pads: a stand-in XInput DLL (xinput1_4.dll) for machines that
// have no such pad. Wine loads it instead of its own only when it lies beside
// the exe and WINEDLLOVERRIDES=xinput1_4=n,b is set.
//
// Script (LQ_XINPUT_SCRIPT; a path starting with '/' is a Unix path), one line
// per change, times counted from the game's first frame: the clock stands at 0
// through it (drawing and presenting the first frame can take seconds on a busy
// machine) and runs from the next. The DLL sees only the game's pad reads, one
// round a frame (see XPadClock), so no signal from the game is needed; with no
// pad plugged in at 0 the game asks only once a second, and the clock starts at
// that ask.
//     MS PAD LX LY RX RY LT RT BUTTONS     pad PAD (0..3) connected from MS on
//     MS PAD off                           pad PAD unplugged from MS on
//   LX LY RX RY  sticks, -32768..32767, Y positive up;
//   LT RT        triggers, 0..255;
//   BUTTONS      the pad's button mask in hexadecimal (1000 = A, 2000 = B).
// '#' starts a comment. A pad is unplugged until its first line.
//
// Log (LQ_XINPUT_LOG, optional): "found PAD MS" when a state read finds a pad
// that was not connected at the read before, "empty PAD MS" for each read of an
// empty slot, "rumble PAD LOW HIGH" for each motor setting a pad took.
#include <windows.h>
#include <xinput.h>

#include <string.h>

#include <string>

#include "tools/virtual_pad/pad_files.h"
#include "tools/virtual_pad/xinput_script.h"

namespace {

struct Stand {
  bool started = false;
  XPadClock clock;
  XPadScript script;
  bool seen[XPAD_COUNT] = {};  // connected at the last read
};
Stand stand;

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  LogLineTo("LQ_XINPUT_LOG", format, args);
  va_end(args);
}

// The script is read at the first call.
void Start() {
  if (!stand.started) {
    stand.started = true;
    char path[MAX_PATH + 2];
    std::string text;
    if (!ReadEnvFile("LQ_XINPUT_SCRIPT", &text, path, sizeof path)) Log("script: cannot read %s", path);
    stand.script = ParseXPadScript(text.c_str());
    if (stand.script.skipped > 0) Log("script: %d unreadable lines skipped", stand.script.skipped);
  }
}

// Script milliseconds for a state read of pad (which may begin a frame), or for
// any other call (pad XPAD_COUNT).
DWORD Now(DWORD pad) {
  Start();
  if (pad >= XPAD_COUNT) return XPadClockNow(stand.clock, GetTickCount());
  return XPadClockRead(&stand.clock, pad, GetTickCount());
}

}  // namespace

extern "C" DWORD WINAPI XInputGetState(DWORD pad, XINPUT_STATE* state) {
  if (pad >= XPAD_COUNT || state == NULL) return ERROR_BAD_ARGUMENTS;
  DWORD ms = Now(pad);
  const XPadLine* line = XPadAt(stand.script, pad, ms);
  if (line == NULL) {
    stand.seen[pad] = false;
    Log("empty %lu %lu", pad, ms);
    return ERROR_DEVICE_NOT_CONNECTED;
  }
  if (!stand.seen[pad]) Log("found %lu %lu", pad, ms);
  stand.seen[pad] = true;
  state->dwPacketNumber = ms;
  state->Gamepad = {line->buttons, line->leftTrigger, line->rightTrigger,
                    line->leftX, line->leftY, line->rightX, line->rightY};
  return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI XInputSetState(DWORD pad, XINPUT_VIBRATION* motors) {
  DWORD ms = Now(XPAD_COUNT);
  if (pad >= XPAD_COUNT || motors == NULL) return ERROR_BAD_ARGUMENTS;
  if (XPadAt(stand.script, pad, ms) == NULL) return ERROR_DEVICE_NOT_CONNECTED;
  Log("rumble %lu %u %u", pad, motors->wLeftMotorSpeed, motors->wRightMotorSpeed);
  return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI XInputGetCapabilities(DWORD pad, DWORD, XINPUT_CAPABILITIES* caps) {
  DWORD ms = Now(XPAD_COUNT);
  if (pad >= XPAD_COUNT || caps == NULL) return ERROR_BAD_ARGUMENTS;
  if (XPadAt(stand.script, pad, ms) == NULL) return ERROR_DEVICE_NOT_CONNECTED;
  memset(caps, 0, sizeof *caps);
  caps->Type = XINPUT_DEVTYPE_GAMEPAD;
  caps->SubType = XINPUT_DEVSUBTYPE_GAMEPAD;
  return ERROR_SUCCESS;
}

extern "C" void WINAPI XInputEnable(BOOL) {}
