// Saves on the real file system under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/save.h"

// Every file has a short 8.3 name that opens it too: the short name of x's
// previous copy, given as a save name, neither reads nor replaces that copy.
TEST(Save, AShortNameReachesNoOtherSave) {
  const char* game = "LumaquillShortNames";
  char folder[MAX_PATH];
  ASSERT_EQ(S_OK, GetSaveFolder(game, folder, sizeof folder));
  ASSERT_EQ(S_OK, SaveGameFile(game, "x", "x one", 5));
  ASSERT_EQ(S_OK, SaveGameFile(game, "x", "x two", 5));
  WCHAR path[MAX_PATH], shortPath[MAX_PATH];
  MultiByteToWideChar(CP_UTF8, 0, folder, -1, path, MAX_PATH);
  lstrcatW(path, L".x.previous");
  ASSERT_GT(GetShortPathNameW(path, shortPath, MAX_PATH), 0u);
  char alias[MAX_PATH];
  WideCharToMultiByte(CP_UTF8, 0, wcsrchr(shortPath, L'\\') + 1, -1, alias, MAX_PATH, NULL, NULL);
  ASSERT_NE(nullptr, strchr(alias, '~')) << alias;

  char data[16] = {};
  DWORD size = 0;
  EXPECT_EQ(E_INVALIDARG, LoadGameFile(game, alias, data, sizeof data, &size)) << alias;
  EXPECT_EQ(E_INVALIDARG, SaveGameFile(game, alias, "other", 5)) << alias;
  // x's newest copy damaged: its own previous copy loads.
  lstrcpyW(wcsrchr(path, L'\\') + 1, L"x");
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, TRUNCATE_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  EXPECT_EQ(S_FALSE, LoadGameFile(game, "x", data, sizeof data, &size));
  EXPECT_EQ(std::string("x one"), std::string(data, size));
}
