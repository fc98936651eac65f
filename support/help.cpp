#include "support/help.h"

#include <htmlhelp.h>

#include <atomic>
#include <cstring>
#include <cwchar>

#include "help_pages.h"
#include "resources/ids.h"
#include "support/language.h"
#include "support/scoped_win.h"

namespace {

constexpr wchar_t kHelpFileName[] = L"WD.CHM";
constexpr wchar_t kViewerFileName[] = L"\\hhctrl.ocx";
constexpr wchar_t kPageSeparator[] = L"::/";
// Room for the program's folder; a longer one falls back to the bare name.
constexpr size_t kPathCapacity = 1024;

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The viewer, this run's alone. Only the thread that started it uses it;
// its library stays loaded once it is (see CloseHelp).
struct Viewer {
  HtmlHelpFunction htmlHelp = nullptr;
  // A DWORD to the viewer; room for a pointer-sized one all the same.
  DWORD_PTR cookie = 0;
  bool initialized = false;
  bool opened = false;  // this run showed a help window
};
Viewer g_viewer;
// The thread that uses the viewer (0 while none does); every message loop
// of the program asks, the Play All worker's too.
std::atomic<DWORD> g_viewerThread{0};

// Appends text to the path of length *length, within capacity characters
// with its end; false (the path unchanged) when it does not fit.
bool Append(wchar_t* path, size_t capacity, size_t* length, const wchar_t* text) {
  size_t add = wcslen(text);
  if (*length + add + 1 > capacity) return false;
  memcpy(path + *length, text, (add + 1) * sizeof(wchar_t));
  *length += add;
  return true;
}

// The help file beside the program, so a file dialog that moved the current
// folder does not lose it; the bare name when that path does not fit.
void HelpFilePath(wchar_t* path, size_t capacity) {
  DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(capacity));
  wchar_t* slash = length > 0 && length < capacity ? wcsrchr(path, L'\\') : nullptr;
  size_t folder = slash ? static_cast<size_t>(slash + 1 - path) : 0;
  path[folder] = L'\0';
  if (!Append(path, capacity, &folder, kHelpFileName)) {
    folder = 0;
    path[0] = L'\0';
    Append(path, capacity, &folder, kHelpFileName);
  }
}

// The system's viewer, never a file of that name beside the program or in
// the current folder.
HMODULE LoadViewerLibrary() {
  wchar_t path[MAX_PATH + sizeof kViewerFileName / sizeof(wchar_t)];
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  size_t end = length;
  if (!Append(path, sizeof path / sizeof path[0], &end, kViewerFileName)) return nullptr;
  return LoadLibraryW(path);
}

bool StartViewer() {
  if (!g_viewer.htmlHelp) {
    ScopedLibrary library(LoadViewerLibrary());
    if (!library) return false;
    FARPROC entry = GetProcAddress(library.get(), "HtmlHelpW");
    if (!entry) return false;
    library.release();  // the viewer stays loaded while the program runs
    g_viewer.htmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void (*)()>(entry));
  }
  if (!g_viewer.initialized) {
    // The viewer then runs on this thread, whose message loops hand it
    // its messages first.
    g_viewer.htmlHelp(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&g_viewer.cookie));
    g_viewer.initialized = true;
    g_viewerThread.store(GetCurrentThreadId());
  }
  return true;
}

// A message owned by the window the user works in: the dialog whose Help
// button was pressed, or the main window.
void TellUser(HWND owner, UINT textId) {
  HWND active = GetActiveWindow();
  ShowMessage(active ? active : owner, textId, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

const wchar_t* HelpTopicPage(UINT context) {
  const wchar_t* contents = nullptr;
  for (const HelpPage& page : kHelpPages) {
    if (page.context == context) return page.page;
    if (page.context == HELPCTX_INDEX) contents = page.page;
  }
  return contents;
}

bool OpenHelp(HWND owner, UINT context) {
  if (!StartViewer()) {
    TellUser(owner, IDS_HELP_NO_VIEWER);
    return false;
  }
  wchar_t target[kPathCapacity + 64];
  HelpFilePath(target, kPathCapacity);
  DWORD attributes = GetFileAttributesW(target);
  size_t length = wcslen(target);
  HWND window = nullptr;
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      Append(target, sizeof target / sizeof target[0], &length, kPageSeparator) &&
      Append(target, sizeof target / sizeof target[0], &length, HelpTopicPage(context)))
    window = g_viewer.htmlHelp(owner, target, HH_DISPLAY_TOPIC, 0);
  if (!window) {
    TellUser(owner, IDS_HELP_NOT_OPENED);
    return false;
  }
  g_viewer.opened = true;
  // The viewer shows the page in its window of the run, open already or
  // not, but leaves an open one where it was.
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return true;
}

bool HelpPreTranslateMessage(MSG* message) {
  if (g_viewerThread.load() != GetCurrentThreadId() || !g_viewer.opened) return false;
  return g_viewer.htmlHelp(nullptr, nullptr, HH_PRETRANSLATEMESSAGE, reinterpret_cast<DWORD_PTR>(message)) != nullptr;
}

void CloseHelp() {
  if (!g_viewer.initialized) return;
  g_viewerThread.store(0);
  // The viewer's windows are this process's: another program's help stays.
  if (g_viewer.opened) g_viewer.htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
  g_viewer.htmlHelp(nullptr, nullptr, HH_UNINITIALIZE, g_viewer.cookie);
  g_viewer.initialized = false;
  g_viewer.opened = false;
  g_viewer.cookie = 0;
  // The library stays loaded until the process ends: the windows it closed
  // may still have messages on their way through this thread's loop.
}
