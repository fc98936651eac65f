// Entry point of every test executable. HKEY_CURRENT_USER is redirected to a
// key of this process's own, so tests start from an empty registry, cannot
// disturb each other when ctest runs them in parallel, and leave nothing.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>

#include "bench/test_env.h"

namespace bench {
extern HKEY g_sandboxKey;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);

  char sandboxPath[128];
  snprintf(sandboxPath, sizeof sandboxPath, "Software\\WendleTestSandbox\\%lu", GetCurrentProcessId());
  SHDeleteKeyA(HKEY_CURRENT_USER, sandboxPath);
  if (RegCreateKeyExA(HKEY_CURRENT_USER, sandboxPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &bench::g_sandboxKey, nullptr) != ERROR_SUCCESS ||
      RegOverridePredefKey(HKEY_CURRENT_USER, bench::g_sandboxKey) != ERROR_SUCCESS) {
    fprintf(stderr, "cannot set up the registry sandbox\n");
    return 2;
  }

  int result = RUN_ALL_TESTS();

  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(bench::g_sandboxKey);
  SHDeleteKeyA(HKEY_CURRENT_USER, sandboxPath);
  // Remove the scratch folder (only its files: tests make no subfolders).
  WIN32_FIND_DATAA found;
  std::string pattern = bench::TempDir() + "\\*";
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") DeleteFileA(bench::TempPath(name).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(bench::TempDir().c_str());
  return result;
}
