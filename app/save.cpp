// Save files on the platform's wide file calls (names converted from UTF-8). What
// a name may be and how a copy proves it is whole: save_check.cpp.
#include "app/save.h"

#include <shlobj.h>

#include "app/save_check.h"
#include "util/crc32.h"

// Beside each save "name" in its folder: ".name.new", the copy being written;
// ".name.previous", the copy before the newest; ".name.link", a second name of the
// newest while it becomes the previous copy. No save name begins with a dot, so
// none of them is ever another save.
enum { PATH_CHARS = 400 };  // the folder, a name of up to 64 characters and a suffix
struct SavePaths {
  WCHAR newest[PATH_CHARS], previous[PATH_CHARS], fresh[PATH_CHARS], link[PATH_CHARS];
};
enum CopyState { COPY_MISSING, COPY_DAMAGED, COPY_WHOLE };
static const DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

static HRESULT LastError() {
  DWORD error = GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// The game's folder as UTF-16, with its closing backslash; made when create is set.
static HRESULT FolderW(const char* game, WCHAR* folder, int create) {
  if (!IsSaveNameValid(game)) return E_INVALIDARG;
  // The roaming folder itself is made too, should a fresh profile lack it.
  HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder);
  if (hr != S_OK) return FAILED(hr) ? hr : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  int n = lstrlenW(folder);
  if (n > 0 && folder[n - 1] != L'\\') folder[n++] = L'\\';
  int added = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, game, -1, folder + n,
                                  PATH_CHARS - 1 - n);
  if (added == 0) return LastError();
  n += added - 1;
  if (create && !CreateDirectoryW(folder, nullptr)) {
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesW(folder);
    // Already there is fine if it is a folder; a file of that name is not.
    if (error != ERROR_ALREADY_EXISTS || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return HRESULT_FROM_WIN32(error);
    }
  }
  folder[n++] = L'\\';
  folder[n] = 0;
  return S_OK;
}

static HRESULT MakePath(WCHAR* path, const WCHAR* folder, const char* name, const WCHAR* prefix,
                        const WCHAR* suffix) {
  int n = lstrlenW(folder) + lstrlenW(prefix);
  int room = PATH_CHARS - n - lstrlenW(suffix);
  if (room <= 0) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  lstrcpyW(path, folder);
  lstrcatW(path, prefix);
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, path + n, room) == 0) {
    return LastError();
  }
  lstrcatW(path, suffix);
  return S_OK;
}

static HRESULT MakePaths(const char* game, const char* name, int create, SavePaths* paths) {
  if (!IsSaveNameValid(name)) return E_INVALIDARG;
  WCHAR folder[PATH_CHARS];
  HRESULT hr = FolderW(game, folder, create);
  if (SUCCEEDED(hr)) hr = MakePath(paths->newest, folder, name, L"", L"");
  if (SUCCEEDED(hr)) hr = MakePath(paths->previous, folder, name, L".", L".previous");
  if (SUCCEEDED(hr)) hr = MakePath(paths->fresh, folder, name, L".", L".new");
  if (SUCCEEDED(hr)) hr = MakePath(paths->link, folder, name, L".", L".link");
  return hr;
}

// Whole-buffer reads and writes in pieces the calls take; FALSE with the error set.
static BOOL WriteAll(HANDLE file, const void* data, DWORD count) {
  for (const BYTE* bytes = (const BYTE*)data; count > 0;) {
    DWORD piece = count < (1u << 20) ? count : 1u << 20, done = 0;
    if (!WriteFile(file, bytes, piece, &done, nullptr)) return FALSE;
    if (done == 0) return SetLastError(ERROR_WRITE_FAULT), FALSE;
    bytes += done;
    count -= done;
  }
  return TRUE;
}

static BOOL ReadAll(HANDLE file, void* data, DWORD count) {
  for (BYTE* bytes = (BYTE*)data; count > 0;) {
    DWORD piece = count < (1u << 20) ? count : 1u << 20, done = 0;
    if (!ReadFile(file, bytes, piece, &done, nullptr)) return FALSE;
    if (done == 0) return SetLastError(ERROR_HANDLE_EOF), FALSE;
    bytes += done;
    count -= done;
  }
  return TRUE;
}

// Checks an open copy, then reads it into data if data is given and it fits. The
// check goes through a small buffer, so nothing is allocated whatever the header
// claims, and data only ever gets a whole copy.
static CopyState CheckCopy(HANDLE file, void* data, DWORD capacity, DWORD* size) {
  LARGE_INTEGER fileSize, start = {};
  BYTE header[SAVE_HEADER_SIZE], piece[16384];
  uint32_t dataSize, crc, sum = 0;
  if (!GetFileSizeEx(file, &fileSize) || !ReadAll(file, header, sizeof header) ||
      !ReadSaveHeader(header, (uint64_t)fileSize.QuadPart, &dataSize, &crc)) {
    return COPY_DAMAGED;
  }
  for (DWORD left = dataSize, n; left > 0; left -= n) {
    n = left < sizeof piece ? left : sizeof piece;
    if (!ReadAll(file, piece, n)) return COPY_DAMAGED;
    sum = UpdateCrc32(sum, piece, (int32_t)n);
  }
  if (sum != crc) return COPY_DAMAGED;
  *size = dataSize;
  if (!data || dataSize > capacity) return COPY_WHOLE;
  start.QuadPart = SAVE_HEADER_SIZE;
  // Checked again as read: the file may have been written to in between.
  return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && ReadAll(file, data, dataSize) &&
                 UpdateCrc32(0, data, (int32_t)dataSize) == crc
             ? COPY_WHOLE
             : COPY_DAMAGED;
}

static CopyState ReadCopy(const WCHAR* path, void* data, DWORD capacity, DWORD* size) {
  // Shared all ways: a save that has just moved its copy in may still hold it open.
  HANDLE file = CreateFileW(path, GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? COPY_MISSING
                                                                          : COPY_DAMAGED;
  }
  CopyState state = CheckCopy(file, data, capacity, size);
  CloseHandle(file);
  return state;
}

// The new copy, header first, on disk (flushed).
static HRESULT WriteNewCopy(HANDLE file, const void* data, DWORD size) {
  BYTE header[SAVE_HEADER_SIZE];
  WriteSaveHeader(header, data, size);
  return WriteAll(file, header, sizeof header) && WriteAll(file, data, size) &&
                 FlushFileBuffers(file)
             ? S_OK
             : LastError();
}

// The newest copy, if whole, becomes the previous one (a damaged newest never
// replaces a whole previous copy). A second name of the newest is moved over the
// previous copy, so the newest stays in place throughout; a file system without
// second names gets a rename, after which, until the new copy is moved in, the
// previous copy is the one that loads.
static HRESULT KeepPrevious(const SavePaths* paths) {
  DWORD size;
  if (ReadCopy(paths->newest, nullptr, 0, &size) != COPY_WHOLE) return S_OK;
  DeleteFileW(paths->link);  // left by a killed save, if any
  if (!CreateHardLinkW(paths->link, paths->newest, nullptr)) {
    return MoveFileExW(paths->newest, paths->previous, kMoveFlags) ? S_OK : LastError();
  }
  HRESULT hr = MoveFileExW(paths->link, paths->previous, kMoveFlags) ? S_OK : LastError();
  // Gone once moved, except where the previous copy already was the newest (a kill
  // between these steps and the last): moving a file onto itself leaves both names.
  DeleteFileW(paths->link);
  return hr;
}

HRESULT GetSaveFolder(const char* game, char* path, DWORD size) {
  if (!path) return E_INVALIDARG;
  WCHAR folder[PATH_CHARS];
  HRESULT hr = FolderW(game, folder, 1);
  if (FAILED(hr)) return hr;
  int needed = WideCharToMultiByte(CP_UTF8, 0, folder, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return LastError();
  if ((DWORD)needed > size) {
    if (size > 0) path[0] = 0;
    return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  }
  WideCharToMultiByte(CP_UTF8, 0, folder, -1, path, needed, nullptr, nullptr);
  return S_OK;
}

HRESULT SaveGameFile(const char* game, const char* name, const void* data, DWORD size) {
  if (size > SAVE_SIZE_MAX || (!data && size > 0)) return E_INVALIDARG;
  SavePaths paths;
  HRESULT hr = MakePaths(game, name, 1, &paths);
  if (FAILED(hr)) return hr;
  // CREATE_ALWAYS empties what a killed save left. The copy is held open until it
  // is in place, shared for reading and its move but not for writing: a second save
  // of the same name at the same time fails here rather than empty this copy.
  HANDLE file = CreateFileW(paths.fresh, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError();
  hr = WriteNewCopy(file, data, size);
  if (SUCCEEDED(hr)) hr = KeepPrevious(&paths);
  if (SUCCEEDED(hr) && !MoveFileExW(paths.fresh, paths.newest, kMoveFlags)) hr = LastError();
  if (FAILED(hr)) DeleteFileW(paths.fresh);  // this save's own: it is still open
  CloseHandle(file);
  return hr;
}

HRESULT LoadGameFile(const char* game, const char* name, void* data, DWORD capacity,
                     DWORD* size) {
  if (!data || !size) return E_INVALIDARG;
  SavePaths paths;
  HRESULT hr = MakePaths(game, name, 0, &paths);
  if (FAILED(hr)) return hr;
  DWORD needed = 0;
  CopyState newest = ReadCopy(paths.newest, data, capacity, &needed);
  if (newest != COPY_WHOLE) {
    CopyState previous = ReadCopy(paths.previous, data, capacity, &needed);
    if (previous != COPY_WHOLE) {
      *size = 0;
      return newest == COPY_MISSING && previous == COPY_MISSING
                 ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
                 : E_FAIL;
    }
    hr = S_FALSE;
  }
  *size = needed;
  return needed > capacity ? HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) : hr;
}
