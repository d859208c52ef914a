#include "tools/message_box_reader.h"

static MessageBoxReader* gReader = nullptr;

MessageBoxReader::MessageBoxReader() {
  gReader = this;
  hook_ = SetWindowsHookExA(WH_CBT, HookProc, NULL, GetCurrentThreadId());
}

MessageBoxReader::~MessageBoxReader() {
  if (hook_ != NULL) UnhookWindowsHookEx(hook_);
  hook_ = NULL;
  if (gReader == this) gReader = nullptr;
}

std::vector<std::string> MessageBoxReader::Texts() const {
  std::vector<std::string> texts;
  for (const CapturedBox& box : boxes_) texts.push_back(box.text);
  return texts;
}

LRESULT CALLBACK MessageBoxReader::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  MessageBoxReader* self = gReader;
  if (self != nullptr && code == HCBT_CREATEWND && !self->refusedClass_.empty()) {
    const CBT_CREATEWNDA* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
    const char* cls = create->lpcs->lpszClass;
    if (!IS_INTRESOURCE(cls) && self->refusedClass_ == cls) return 1;  // veto
  }
  if (self != nullptr && code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char cls[64] = "";
    GetClassNameA(box, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && GetPropA(box, "lq.seen") == NULL) {
      SetPropA(box, "lq.seen", reinterpret_cast<HANDLE>(1));  // activation may repeat
      char text[1024] = "", caption[256] = "";
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static control
      GetWindowTextA(box, caption, sizeof caption);
      self->boxes_.push_back({text, caption});
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(NULL, code, wParam, lParam);
}
