#include "support/help.h"

#include <cstring>

#include "state/main_window_state.h"

namespace {

constexpr char kHelpFileName[] = "WD.HLP";

// The help file's full path; the bare name when the program's own path is
// too long to hold it.
void HelpFilePath(char* path, DWORD size) {
  DWORD length = GetModuleFileNameA(nullptr, path, size);
  char* slash = length > 0 && length < size ? strrchr(path, '\\') : nullptr;
  if (slash && static_cast<size_t>(slash + 1 - path) + sizeof kHelpFileName <= size) {
    memcpy(slash + 1, kHelpFileName, sizeof kHelpFileName);
    return;
  }
  lstrcpynA(path, kHelpFileName, static_cast<int>(size));
}

}  // namespace

BOOL OpenHelp(HWND window, UINT command, ULONG_PTR data) {
  // The viewer is the desktop's: quitting one this run never opened would
  // close the help another program shows.
  if (command == HELP_QUIT && !g_state.helpOpened) return TRUE;
  if (command != HELP_QUIT) g_state.helpOpened = 1;
  // MAX_PATH characters, which in UTF-8 take up to three bytes each (a
  // character beyond them is two UTF-16 units of the limit, and four bytes).
  char path[3 * MAX_PATH + sizeof kHelpFileName];
  HelpFilePath(path, sizeof path);
  return WinHelpA(window, path, command, data);
}
