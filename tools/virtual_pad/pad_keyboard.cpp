// The system keyboard, read from the real key state and reported by DIK_ scan code.
#include <string.h>

#include <new>

#include "tools/virtual_pad/pad_devices.h"

namespace {

struct KeyMap {
  BYTE dik;
  BYTE vk;
};

// Scan codes of a standard keyboard and the virtual keys that stand for them.
const KeyMap kKeys[] = {
    {DIK_ESCAPE, VK_ESCAPE}, {DIK_1, '1'}, {DIK_2, '2'}, {DIK_3, '3'}, {DIK_4, '4'},
    {DIK_5, '5'}, {DIK_6, '6'}, {DIK_7, '7'}, {DIK_8, '8'}, {DIK_9, '9'}, {DIK_0, '0'},
    {DIK_MINUS, VK_OEM_MINUS}, {DIK_EQUALS, VK_OEM_PLUS}, {DIK_BACK, VK_BACK},
    {DIK_TAB, VK_TAB}, {DIK_Q, 'Q'}, {DIK_W, 'W'}, {DIK_E, 'E'}, {DIK_R, 'R'}, {DIK_T, 'T'},
    {DIK_Y, 'Y'}, {DIK_U, 'U'}, {DIK_I, 'I'}, {DIK_O, 'O'}, {DIK_P, 'P'},
    {DIK_LBRACKET, VK_OEM_4}, {DIK_RBRACKET, VK_OEM_6}, {DIK_RETURN, VK_RETURN},
    {DIK_LCONTROL, VK_LCONTROL}, {DIK_A, 'A'}, {DIK_S, 'S'}, {DIK_D, 'D'}, {DIK_F, 'F'},
    {DIK_G, 'G'}, {DIK_H, 'H'}, {DIK_J, 'J'}, {DIK_K, 'K'}, {DIK_L, 'L'},
    {DIK_SEMICOLON, VK_OEM_1}, {DIK_APOSTROPHE, VK_OEM_7}, {DIK_GRAVE, VK_OEM_3},
    {DIK_LSHIFT, VK_LSHIFT}, {DIK_BACKSLASH, VK_OEM_5}, {DIK_Z, 'Z'}, {DIK_X, 'X'},
    {DIK_C, 'C'}, {DIK_V, 'V'}, {DIK_B, 'B'}, {DIK_N, 'N'}, {DIK_M, 'M'},
    {DIK_COMMA, VK_OEM_COMMA}, {DIK_PERIOD, VK_OEM_PERIOD}, {DIK_SLASH, VK_OEM_2},
    {DIK_RSHIFT, VK_RSHIFT}, {DIK_MULTIPLY, VK_MULTIPLY}, {DIK_LMENU, VK_LMENU},
    {DIK_SPACE, VK_SPACE}, {DIK_CAPITAL, VK_CAPITAL}, {DIK_F1, VK_F1}, {DIK_F2, VK_F2},
    {DIK_F3, VK_F3}, {DIK_F4, VK_F4}, {DIK_F5, VK_F5}, {DIK_F6, VK_F6}, {DIK_F7, VK_F7},
    {DIK_F8, VK_F8}, {DIK_F9, VK_F9}, {DIK_F10, VK_F10}, {DIK_F11, VK_F11},
    {DIK_F12, VK_F12}, {DIK_NUMPAD7, VK_NUMPAD7}, {DIK_NUMPAD8, VK_NUMPAD8},
    {DIK_NUMPAD9, VK_NUMPAD9}, {DIK_SUBTRACT, VK_SUBTRACT}, {DIK_NUMPAD4, VK_NUMPAD4},
    {DIK_NUMPAD5, VK_NUMPAD5}, {DIK_NUMPAD6, VK_NUMPAD6}, {DIK_ADD, VK_ADD},
    {DIK_NUMPAD1, VK_NUMPAD1}, {DIK_NUMPAD2, VK_NUMPAD2}, {DIK_NUMPAD3, VK_NUMPAD3},
    {DIK_NUMPAD0, VK_NUMPAD0}, {DIK_DECIMAL, VK_DECIMAL}, {DIK_RCONTROL, VK_RCONTROL},
    {DIK_DIVIDE, VK_DIVIDE}, {DIK_RMENU, VK_RMENU}, {DIK_HOME, VK_HOME}, {DIK_UP, VK_UP},
    {DIK_PRIOR, VK_PRIOR}, {DIK_LEFT, VK_LEFT}, {DIK_RIGHT, VK_RIGHT}, {DIK_END, VK_END},
    {DIK_DOWN, VK_DOWN}, {DIK_NEXT, VK_NEXT}, {DIK_INSERT, VK_INSERT},
    {DIK_DELETE, VK_DELETE}, {DIK_LWIN, VK_LWIN}, {DIK_RWIN, VK_RWIN}, {DIK_APPS, VK_APPS},
};

class KeyboardDevice : public VirtualDevice {
 public:
  KeyboardDevice() : VirtualDevice(false) {}

  STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override {
    if (data == NULL || dataSize_ == 0 || size != dataSize_) return DIERR_INVALIDPARAM;
    HRESULT hr = Check();
    if (hr != DI_OK) return hr;
    BYTE keys[256] = {};
    for (const KeyMap& k : kKeys) {
      if (GetAsyncKeyState(k.vk) & 0x8000) keys[k.dik] = 0x80;
    }
    memcpy(data, keys, sizeof keys);
    if (memcmp(keys, last_, sizeof keys) != 0) LogKeys(keys);
    memcpy(last_, keys, sizeof keys);
    return DI_OK;
  }

 protected:
  bool FormatFits(DWORD size) const override { return size == 256; }

 private:
  static void LogKeys(const BYTE* keys) {
    char line[256 * 3 + 8] = "keys";
    size_t n = strlen(line);
    for (int i = 0; i < 256; ++i) {
      if (keys[i]) n += wsprintfA(line + n, " %02x", i);
    }
    if (n == 4) strcpy(line + n, " -");
    PadLog("%s", line);
  }

  BYTE last_[256] = {};
};

}  // namespace

IDirectInputDevice8A* NewKeyboardDevice() { return new (std::nothrow) KeyboardDevice(); }
