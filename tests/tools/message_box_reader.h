// Answers the message boxes a test provokes: while a reader lives, every message
// box shown on this thread is recorded (text and caption) and closed with OK.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Drops whatever earlier steps left in this thread's queue.
inline void DrainQueue() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {}
}

struct CapturedBox {
  std::string text;
  std::string caption;
};

class MessageBoxReader {
 public:
  MessageBoxReader();
  ~MessageBoxReader();
  MessageBoxReader(const MessageBoxReader&) = delete;
  MessageBoxReader& operator=(const MessageBoxReader&) = delete;

  const std::vector<CapturedBox>& Boxes() const { return boxes_; }
  std::vector<std::string> Texts() const;
  void Clear() { boxes_.clear(); }

  // While set, creating a top-level window of this class fails (the hook vetoes
  // it), so that a test can reach the failure path of CreateWindowExA.
  void RefuseWindowClass(const char* className) { refusedClass_ = className ? className : ""; }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  HHOOK hook_ = NULL;
  std::string refusedClass_;
  std::vector<CapturedBox> boxes_;
};
