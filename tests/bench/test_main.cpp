// Entry point of every test executable. HKEY_CURRENT_USER is redirected to a
// key of this process's own, so tests start from an empty registry, cannot
// disturb each other when ctest runs them in parallel, and leave nothing.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>

#include "bench/test_env.h"
#include "playback/media_control.h"

namespace bench {
extern HKEY g_sandboxKey;
}

namespace {

// A crash ends the test process with a trace instead of waiting for a
// debugger: the faulting address, and the return addresses on the stack,
// which addr2line turns into source lines of this executable.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  fprintf(stderr, "\nCRASH: exception 0x%08lx at %p (thread %lu), image base %p\n", record->ExceptionCode,
          record->ExceptionAddress, GetCurrentThreadId(), static_cast<void*>(GetModuleHandleA(nullptr)));
#ifdef _WIN64
  const DWORD64* stack = reinterpret_cast<const DWORD64*>(info->ContextRecord->Rsp);
  for (int i = 0; i < 16; ++i) fprintf(stderr, "  stack[%d] %016llx\n", i, static_cast<unsigned long long>(stack[i]));
#endif
  fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

// A stray write into freed memory can land in the process's environment
// block, which Windows keeps on the heap; the variables every process has
// then vanish. Checked after each test, so such a write is caught by the
// test that made it rather than by a later one that reads a variable.
class EnvironmentWatch : public testing::EmptyTestEventListener {
 public:
  bool overwritten() const { return overwritten_; }

 private:
  static bool Intact() {
    char value[8];
    return GetEnvironmentVariableA("SystemRoot", value, sizeof value) > 0 &&
           GetEnvironmentVariableA("PATH", value, sizeof value) > 0;
  }
  void OnTestEnd(const testing::TestInfo& test) override {
    if (overwritten_ || Intact()) return;
    overwritten_ = true;
    fprintf(stderr, "\nENVIRONMENT OVERWRITTEN: the process's environment lost its variables during %s.%s\n",
            test.test_suite_name(), test.name());
  }
  bool overwritten_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  SetUnhandledExceptionFilter(ReportCrash);

  char sandboxPath[128];
  snprintf(sandboxPath, sizeof sandboxPath, "Software\\WendleTestSandbox\\%lu", GetCurrentProcessId());
  SHDeleteKeyA(HKEY_CURRENT_USER, sandboxPath);
  if (RegCreateKeyExA(HKEY_CURRENT_USER, sandboxPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &bench::g_sandboxKey,
                      nullptr) != ERROR_SUCCESS ||
      RegOverridePredefKey(HKEY_CURRENT_USER, bench::g_sandboxKey) != ERROR_SUCCESS) {
    fprintf(stderr, "cannot set up the registry sandbox\n");
    return 2;
  }

  auto* environment = new EnvironmentWatch;  // the listener list owns it
  testing::UnitTest::GetInstance()->listeners().Append(environment);
  int result = RUN_ALL_TESTS();
  if (environment->overwritten()) result = 1;
  // The devices the tests left open close before the process ends, as the
  // program closes them at its end: a media device still open while the
  // process tears its libraries down can hang that teardown under Wine.
  EndMediaPlayback(2000);

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
