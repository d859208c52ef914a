// The number of handles a process holds.
#pragma once
#include <windows.h>

// The platform's own count (GetProcessHandleCount); where that reports nothing
// (Wine 8 answers 0 for every process), the process's entries in the system
// handle table. Returns -1 when neither can be read.
long CountProcessHandles(HANDLE process, DWORD pid);
