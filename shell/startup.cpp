#include "shell/startup.h"

#include <cstdio>
#include <cstring>

#include "playback/waiting.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "shell/button_ribbon.h"
#include "shell/command_line.h"
#include "shell/control_superclasses.h"
#include "shell/main_window.h"
#include "shell/recent_lists.h"
#include "support/dpi.h"
#include "support/globals.h"
#include "shell/shell_state.h"
#include "settings/settings_record.h"
#include "support/language.h"
#include "support/help.h"
#include "support/support_library.h"
#include "support/scoped_win.h"

namespace {

constexpr char kLanguageValue[] = "DLL";
constexpr char kDefaultLanguageModule[] = "wd_eng.dll";

// The program's own texts, the only ones there are before the language
// module is loaded.
void ShowOwnText(UINT id) {
  char text[kTextBufferSize] = "";
  LoadStringA(g_globals.instance, id, text, sizeof text);
  MessageBoxA(nullptr, text, "Wendle", MB_ICONHAND);
}

// How long a second start waits for the running Wendle to take its
// command line.
constexpr UINT kHandOverTimeoutMs = 5000;

// A second start's command line as the running Wendle can use it: the
// list's name made whole, since the running one may have another current
// folder. False when there is nothing to hand over.
bool HandOverLine(const char* commandLine, char* line, size_t size) {
  char name[kTextBufferSize];
  bool play = false;
  if (ParseCommandLine(commandLine, name, sizeof name, &play) != CommandLineResult::Name) return false;
  char full[kTextBufferSize];
  DWORD length = GetFullPathNameA(name, sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return false;
  int written = snprintf(line, size, "\"%s\"%s", full, play ? " /play" : "");
  return written > 0 && static_cast<size_t>(written) < size;
}

// A second start brings the running Wendle to the front and hands it the
// list, copied by the system (WM_COPYDATA): the running one opens it now,
// or as soon as what it plays or shows has ended. True when a Wendle runs;
// *exitCode then says whether it took the list (0) or not (1).
bool HandOverToPreviousInstance(const char* commandLine, int* exitCode) {
  *exitCode = 0;
  if (!FindPreviousInstance(kMainWindowClass, nullptr)) return false;
  HWND running = FindWindowA(kMainWindowClass, nullptr);
  if (!running) return true;
  char line[kTextBufferSize + 16];
  if (commandLine && HandOverLine(commandLine, line, sizeof line)) {
    COPYDATASTRUCT data = {COPYDATA_COMMAND_LINE, static_cast<DWORD>(strlen(line) + 1), line};
    DWORD_PTR taken = 0;
    if (!SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             kHandOverTimeoutMs, &taken) ||
        !taken)
      *exitCode = 1;
  }
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  // The front goes to what takes input there: a dialog the running Wendle
  // shows, else its main window.
  HWND front = GetLastActivePopup(running);
  SetForegroundWindow(front ? front : running);
  return true;
}

// The language module named under the LanguageKey; a first start names
// the English one there.
HINSTANCE LoadLanguageModule() {
  char keyPath[kTextBufferSize] = "";
  char module[kTextBufferSize] = "";
  LoadStringA(g_globals.instance, IDS_OWN_LANGUAGE_KEY, keyPath, sizeof keyPath);
  ScopedRegKey opened;
  DWORD disposition = 0;
  char keyClass[] = "REG_SZ";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, keyClass, 0, KEY_ALL_ACCESS, nullptr, opened.out(),
                      &disposition) != ERROR_SUCCESS)
    return nullptr;
  HKEY key = opened.get();
  if (disposition == REG_CREATED_NEW_KEY) {
    lstrcpynA(module, kDefaultLanguageModule, sizeof module);
    RegSetValueExA(key, kLanguageValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(module),
                   static_cast<DWORD>(sizeof kDefaultLanguageModule));
  } else {
    DWORD type = 0;
    DWORD size = sizeof module - 1;
    if (RegQueryValueExA(key, kLanguageValue, nullptr, &type, reinterpret_cast<BYTE*>(module), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      module[0] = '\0';
    module[size < sizeof module ? size : sizeof module - 1] = '\0';
  }
  return module[0] ? LoadLibraryA(module) : nullptr;
}

int RunMessageLoop() {
  MSG msg;
  BOOL result;
  // Messages are taken and dispatched as Unicode, so a typed character
  // reaches the Unicode controls whole (the system converts it for the
  // ANSI windows).
  while ((result = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (result == -1) break;
    if (HelpPreTranslateMessage(&msg)) continue;
    // Wendle's keys work in its main window; the help window, on this thread
    // too, keeps its keys (Enter, Delete) to itself.
    if ((msg.hwnd == g_globals.mainWindow || IsChild(g_globals.mainWindow, msg.hwnd)) &&
        TranslateAcceleratorW(g_globals.mainWindow, g_globals.accelerators, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return result == -1 ? 0 : static_cast<int>(msg.wParam);
}

}  // namespace

HWND CreateMainWindow(const RECT& place, ObjectList& list) {
  char title[kTextBufferSize];
  LanguageString(IDS_APP_CAPTION, title, sizeof title);
  // Without a saved place, the first size at the screen's DPI, where the
  // system places it.
  bool placed = !IsRectEmpty(&place);
  const int dpi = ScreenDpi();
  return CreateWindowExA(0, kMainWindowClass, title, WS_OVERLAPPEDWINDOW, placed ? place.left : CW_USEDEFAULT,
                         placed ? place.top : CW_USEDEFAULT, placed ? place.right : Scale(kFirstWidth, dpi),
                         placed ? place.bottom : Scale(kFirstHeight, dpi), nullptr, nullptr, g_globals.instance, &list);
}

bool RegisterMainWindowClass() {
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = g_globals.instance;
  // The title bar, the task bar and Alt+Tab show the program's own icon.
  wc.hIcon = LoadIconA(g_globals.instance, MAKEINTRESOURCEA(IDI_APP));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassA(&wc) != 0;
}

bool RegisterWindowClasses() {
  return RegisterMainWindowClass() && RegisterRibbonClass(g_globals.instance) &&
         RegisterEditSuperclass(g_globals.instance) && RegisterListBoxSuperclass(g_globals.instance);
}

int RunWendle(HINSTANCE instance, const char* commandLine, int show) {
  int handedOver = 0;
  if (HandOverToPreviousInstance(commandLine, &handedOver)) return handedOver;
  g_globals.instance = instance;
  if (!RegisterWindowClasses()) {
    ShowOwnText(IDS_OWN_NO_MAIN_WINDOW);
    return 0;
  }
  ScopedLibrary language(LoadLanguageModule());
  SetLanguageModule(language.get());
  if (!language) {
    ShowOwnText(IDS_OWN_NO_LANGUAGE);
    return 0;
  }
  LoadSettings();

  RECT place = {};
  int maximized = 0;
  if (!LoadWindowPlacement(LanguageText(IDS_REG_SETTINGS_KEY), LanguageText(IDS_REG_WINDOW_PLACEMENT), &place,
                           &maximized))
    SetRectEmpty(&place);
  g_globals.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));

  // The list outlives the main window and every thread that reads it: it
  // goes last, after the Play All worker has ended.
  ObjectList list;
  if (!CreateMainWindow(place, list)) {
    ShowOwnText(IDS_OWN_NO_MAIN_WINDOW);
    SetLanguageModule(nullptr);
    return 0;
  }
  ShowWindow(g_globals.mainWindow, maximized ? SW_SHOWMAXIMIZED : show);
  UpdateWindow(g_globals.mainWindow);
  SendMessageA(g_globals.mainWindow, WM_SETSTATUSTEXT, IDS_STATUS_STARTUP, 0);
  if (!commandLine || !*commandLine) {
    // Started without a list: the one of the last close, as it was.
    if (LastListCommandLine(g_shell.pendingCommandLine, kCommandLineSize, &g_shell.pendingSelection))
      PostMessageA(g_globals.mainWindow, WM_OPENCOMMANDLINE, 0, 0);
  } else {
    if (strnlen(commandLine, kCommandLineSize) < kCommandLineSize) {
      lstrcpynA(g_shell.pendingCommandLine, commandLine, kCommandLineSize);
      PostMessageA(g_globals.mainWindow, WM_OPENCOMMANDLINE, 0, 0);
    } else {
      // A cut line would open another file, or without its switch: none.
      ShowMessageWithCaption(g_globals.mainWindow, IDS_CANNOT_OPEN_FILE, LanguageText(IDS_APP_CAPTION),
                             MB_ICONEXCLAMATION);
    }
  }
  // After the command line: a media key held elsewhere is told once the
  // list has been read, so the reading does not hide it.
  TakeMediaKeys(g_globals.mainWindow);

  int exitCode = RunMessageLoop();
  // The worker may still use the language module's texts while it ends.
  WaitForWorkersToEnd();
  SetLanguageModule(nullptr);
  return exitCode;
}
