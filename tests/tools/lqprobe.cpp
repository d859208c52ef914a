// A small Windows program that end-to-end scripts run beside the program under
// test (same Wine server) to read what a person would see:
//   lqprobe window TITLE SECONDS   waits for a visible top-level window, prints
//                                  "client W H", "origin X Y" (client origin on
//                                  screen), "window X Y" (outer corner), "screen W H"
//   lqprobe boxes COUNT SECONDS    waits for COUNT message boxes, prints each as
//                                  "box CAPTION|TEXT" (line feeds as \n) and presses OK
//   lqprobe gone TITLE SECONDS     waits until no window has that title
//   lqprobe front TITLE            makes that window the foreground window
//   lqprobe foreground             names the foreground window
//   lqprobe memory TITLE SECONDS COUNT
//                                  samples the process owning that window COUNT
//                                  times, SECONDS apart: "sample T KB HANDLES"
//                                  (elapsed seconds, working set, handle count)
// Exit status 0 when what was waited for happened, 1 on time-out.
#include <windows.h>
#include <psapi.h>

#include "tools/handle_count.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void PrintEscaped(const char* s) {
  for (; *s; ++s) {
    if (*s == '\n') fputs("\\n", stdout);
    else if (*s == '\r') fputs("\\r", stdout);
    else fputc(*s, stdout);
  }
}

static int WaitWindow(const char* title, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND w = FindWindowA(NULL, title);
    if (w != NULL && IsWindowVisible(w)) {
      RECT rc;
      GetClientRect(w, &rc);
      POINT origin = {0, 0};
      ClientToScreen(w, &origin);
      RECT outer;
      GetWindowRect(w, &outer);
      printf("client %ld %ld\norigin %ld %ld\nwindow %ld %ld\nscreen %d %d\n",
             rc.right - rc.left, rc.bottom - rc.top, origin.x, origin.y, outer.left,
             outer.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
      return 0;
    }
    Sleep(100);
  }
  return 1;
}

// Brings the window to the front, as a click on it would: a window in the
// background gets no input from devices that read only in the foreground.
static int Front(const char* title) {
  HWND w = FindWindowA(NULL, title);
  if (w == NULL) return 1;
  SetForegroundWindow(w);
  for (int i = 0; i < 20 && GetForegroundWindow() != w; ++i) Sleep(50);
  return GetForegroundWindow() == w ? 0 : 1;
}

static BOOL CALLBACK ListWindow(HWND w, LPARAM) {
  char cls[128] = "", title[256] = "";
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, title, sizeof title);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  printf("  window %s|%s|%lu|%s\n", cls, title, pid, IsWindowVisible(w) ? "visible" : "hidden");
  return TRUE;
}

// Names the foreground window: "foreground CLASS|TITLE|PROCESS-ID" (or "none").
static int Foreground() {
  HWND w = GetForegroundWindow();
  if (w == NULL) {
    printf("foreground none\n");
    EnumWindows(ListWindow, 0);
    return 0;
  }
  char cls[128] = "", title[256] = "";
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, title, sizeof title);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  printf("foreground %s|%s|%lu\n", cls, title, pid);
  // Every top-level window, to tell who took the foreground.
  EnumWindows(ListWindow, 0);
  return 0;
}

static int WaitGone(const char* title, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (FindWindowA(NULL, title) == NULL) return 0;
    Sleep(100);
  }
  return 1;
}

static int AnswerBoxes(int count, int seconds) {
  int seen = 0;
  for (int i = 0; i < seconds * 10 && seen < count; ++i) {
    HWND box = FindWindowA("#32770", NULL);
    if (box != NULL && IsWindowVisible(box)) {
      char caption[256] = "", text[2048] = "";
      GetWindowTextA(box, caption, sizeof caption);
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      printf("box ");
      PrintEscaped(caption);
      printf("|");
      PrintEscaped(text);
      printf("\n");
      fflush(stdout);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      ++seen;
      // Wait until this box is gone so that it is not read twice.
      for (int j = 0; j < 50 && IsWindow(box); ++j) Sleep(100);
      continue;
    }
    Sleep(100);
  }
  return seen == count ? 0 : 1;
}

// Fails (1) when the window is not there or the process ends before the last sample.
static int SampleMemory(const char* title, int seconds, int count) {
  HWND w = FindWindowA(NULL, title);
  DWORD pid = 0;
  if (w != NULL) GetWindowThreadProcessId(w, &pid);
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : NULL;
  if (process == NULL) {
    printf("no process for %s\n", title);
    return 1;
  }
  int result = 0;
  DWORD start = GetTickCount();
  for (int i = 0; i < count; ++i) {
    if (i > 0) Sleep(seconds * 1000);
    DWORD code = 0;
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    long handles = CountProcessHandles(process, pid);
    if (!GetExitCodeProcess(process, &code) || code != STILL_ACTIVE ||
        !GetProcessMemoryInfo(process, &memory, sizeof memory) || handles < 0) {
      printf("gone\n");
      result = 1;
      break;
    }
    printf("sample %.1f %lu %ld\n", (GetTickCount() - start) / 1000.0,
           (unsigned long)(memory.WorkingSetSize / 1024), handles);
    fflush(stdout);
  }
  CloseHandle(process);
  return result;
}

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "window") == 0) return WaitWindow(argv[2], atoi(argv[3]));
  if (argc == 3 && strcmp(argv[1], "front") == 0) return Front(argv[2]);
  if (argc == 2 && strcmp(argv[1], "foreground") == 0) return Foreground();
  if (argc == 4 && strcmp(argv[1], "gone") == 0) return WaitGone(argv[2], atoi(argv[3]));
  if (argc == 4 && strcmp(argv[1], "boxes") == 0) return AnswerBoxes(atoi(argv[2]), atoi(argv[3]));
  if (argc == 5 && strcmp(argv[1], "memory") == 0)
    return SampleMemory(argv[2], atoi(argv[3]), atoi(argv[4]));
  fprintf(stderr, "usage: lqprobe window TITLE SECONDS | boxes COUNT SECONDS | gone TITLE SECONDS | front TITLE | foreground | memory TITLE SECONDS COUNT\n");
  return 2;
}
