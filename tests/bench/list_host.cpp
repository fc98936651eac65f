#include "bench/list_host.h"

#include <commctrl.h>

#include "bench/test_env.h"
#include "shell/list_view.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "shell/playback_view.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "shell/shell_state.h"
#include "support/language.h"
#include "support/list_rows.h"
#include "support/control_library.h"

namespace bench {

namespace {

const char kHostClass[] = "WendleTestListHost";

void RegisterHostClass() {
  WNDCLASSA wc = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kHostClass, &wc)) return;
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window below
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = kHostClass;
  RegisterClassA(&wc);
}

}  // namespace

ListHost::ListHost(const char* listClass) {
  RegisterHostClass();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // The main menu, as the main window has it, so menu states can be seen.
  window_ = CreateWindowExA(0, kHostClass, "Wendle", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                            LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU)), instance, nullptr);
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
  view_.reset(new ObjectListView(objects_, window_, listClass));
  list_ = view_->window();
  SetWindowPos(list_, nullptr, 60, 74, 500, 300, SWP_NOZORDER);
  SetMainView(view_.get());
  // The control library registers "ovStatusBar" when it loads.
  LoadLibraryA("VA32RA.dll");
  statusBar_ = CreateWindowExA(0, STATUS_BAR_CLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 440, 640, 20,
                               window_, nullptr, instance, nullptr);
  if (statusBar_) StatusBarInit(statusBar_);

  g_globals.instance = instance;
  SetLanguageModule(bench::LanguageModule());
  g_globals.mainWindow = window_;
  g_shell.statusBar = statusBar_;
  SetStatusBar(statusBar_);
  g_playback.playing = 0;
  g_playback.playAllRunning = 0;
  LoadRowLook(instance);
}

ListHost::~ListHost() {
  SetMainView(nullptr);
  view_.reset();
  DestroyWindow(window_);
  FreeRowLook();
  SetStatusBar(nullptr);
  g_globals.mainWindow = g_shell.statusBar = nullptr;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

LRESULT CALLBACK ListHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PLAYALLENDED:
      OnPlayAllEnded();
      return 0;
    case WM_MEASUREITEM:
      if (wParam == IDC_OBJECT_LIST) reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 20;
      break;
    case WM_DRAWITEM:
      return TRUE;
    case WM_PLAYBACKEVENT:
      OnPlaybackEvent(window, wParam, lParam);
      return 0;
    case WM_TIMER:
      if (wParam != IDT_PLAY_TIME) break;
      OnPlayTimeTick(window);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int ListHost::Count() const { return static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0)); }
int ListHost::Selected() const { return SelectedRow(list_); }

void SelectRow(HWND list, int index) {
  SendMessageA(list, LB_SETSEL, FALSE, -1);
  if (index < 0) return;
  SendMessageA(list, LB_SETSEL, TRUE, index);
  SendMessageA(list, LB_SETANCHORINDEX, static_cast<WPARAM>(index), 0);
  SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

int SelectedRow(HWND list) {
  // Item by item: the list may be another process's, where no buffer of
  // LB_GETSELITEMS reaches.
  LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
  if (caret >= 0 && SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(caret), 0) > 0) return static_cast<int>(caret);
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) return static_cast<int>(i);
  return -1;
}

std::string ListHost::Title() const {
  char text[1024] = "";
  GetWindowTextA(window_, text, sizeof text);
  return text;
}

std::string ListHost::StatusText() const {
  char text[1024] = "";
  if (statusBar_) SendMessageA(statusBar_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

std::vector<std::pair<int, LPARAM>> ListHost::TakePostedCommands() {
  std::vector<std::pair<int, LPARAM>> commands;
  MSG msg;
  while (PeekMessageA(&msg, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE))
    commands.emplace_back(LOWORD(msg.wParam), msg.lParam);
  return commands;
}

}  // namespace bench

SoundObjectHandle ObjectAt(int index) { return HasMainView() ? MainView().list().At(index) : nullptr; }

void ClearObjectList() {
  if (HasMainView()) MainView().list().Clear();
}
