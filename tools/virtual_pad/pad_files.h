// Files the virtual controller's DLLs read and write, named by the environment.
#pragma once
#include <windows.h>
#include <stdarg.h>

#include <string>

// A path from the environment: a Unix path (leading '/') is read through Wine's Z: drive.
bool EnvPath(const char* name, char* path, DWORD size);

// The text of the file named by the variable name (at most 8 MB); false when the
// variable is set but the file cannot be read. path receives the path.
bool ReadEnvFile(const char* name, std::string* text, char* path, DWORD size);

// Appends one line to the file named by the variable name, if set; opened per
// line, so it can be read while the program runs.
void LogLineTo(const char* name, const char* format, va_list args);
