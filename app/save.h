// Saves: a folder per game under the user's roaming application data, and save
// files that a crash, a kill or a full disk in the middle of a save cannot lose.
// Every call works before and without InitApplication, from any thread. Two saves
// of the same name at once take turns or one fails; neither tears the other.
//
// game and name are UTF-8: 1 to 64 bytes, no control character, none of
// \ / : * ? " < > |, not beginning or ending with a space or a dot, and no device
// name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with or without an
// extension, any case), and no '~' in a name of the short 8.3 form (up to 8
// characters, a dot and up to 3: "X~1.PRE" opens whatever file has that short
// name). Anything else is E_INVALIDARG, with nothing touched on disk.
#pragma once
#include <windows.h>

// The game's save folder, %APPDATA%\game\ (made when missing), as UTF-8 with the
// closing backslash and the NUL: 0; HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)
// when size bytes cannot hold it (path then holds an empty text); else the
// failing status.
HRESULT GetSaveFolder(const char* game, char* path, DWORD size);

// Replaces the save name with size bytes of data (0 to 64 MB; more is
// E_INVALIDARG). The new copy is written beside the save, flushed to disk and
// moved over it in one step; the copy it replaces is kept as the previous one.
// 0 once the new copy is in place; else the failing status, and the earlier save
// still loads.
HRESULT SaveGameFile(const char* game, const char* name, const void* data, DWORD size);

// Reads the newest whole copy of the save name into data and its size into *size:
//   0                  the newest copy;
//   S_FALSE            the newest copy was missing or damaged: this is the previous
//                      one (tell the player the last save was lost);
//   HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)  the copy needs more than
//                      capacity bytes: *size says how many, data is untouched;
//   HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)       never saved;
//   E_FAIL             neither copy is whole;
//   E_INVALIDARG       a null pointer or a bad name.
// data is written only with a whole copy, and only with a result of 0 or S_FALSE.
HRESULT LoadGameFile(const char* game, const char* name, void* data, DWORD capacity,
                     DWORD* size);
