// The main window's life: its children and threads when it is created, and
// its close: the one question about unsaved changes, then the orderly end.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "playback/icon_animation.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "playback/play_all.h"
#include "playback/waiting.h"
#include "resources/ids.h"
#include "settings/hot_keys.h"
#include "shell/button_ribbon.h"
#include "shell/buttons.h"
#include "shell/command_state.h"
#include "shell/main_window.h"
#include "shell/recent_lists.h"
#include "shell/taskbar_button.h"
#include "shell/volume_control.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "shell/shell_state.h"
#include "settings/settings_record.h"
#include "support/dpi.h"
#include "support/list_rows.h"
#include "support/control_library.h"
#include "support/help.h"
#include "support/language.h"

namespace {

// How long a closing program waits for the Play All worker to finish its
// run (it closes the devices it asked for) before it ends regardless.
constexpr DWORD kWorkerEndTimeoutMs = 5000;
// How long the end waits for the device thread to close its devices.
constexpr DWORD kDeviceThreadEndMs = 2000;
// How long the end waits for the icon animation to stop drawing.
constexpr DWORD kAnimationEndMs = 1000;

// Set once the orderly end has begun: a close that arrives while the end
// waits for the threads (its waits run sent messages) changes nothing.
bool g_ending = false;

// The title names the list's file: it follows the list.
class TitleKeeper : public ObjectListListener {
 public:
  void OnListChange(const ListChange& change) override {
    if (change.kind == ListChangeKind::FileChanged && HasMainView())
      UpdateWindowTitle(g_globals.mainWindow, MainView().list());
  }
};
TitleKeeper g_titleKeeper;

// In pixels at 96 DPI, as the layout's sizes.
struct LabelPlace {
  int id;
  DWORD style;
  UINT textId;  // 0: filled later
  int x, width;
};
const LabelPlace kLabels[] = {
    {IDC_LABEL_COUNT_CAPTION, SS_RIGHT, IDS_LABEL_PLAY_COUNT, 90, 80},
    {IDC_LABEL_COUNT, 0, 0, 180, 80},
    {IDC_LABEL_ORDER_CAPTION, SS_RIGHT, IDS_LABEL_PLAY_ORDER, 290, 90},
    {IDC_LABEL_ORDER, 0, 0, 390, 128},
};
constexpr int kLabelTop = 52;
constexpr int kLabelHeight = 16;

void LoadPictures(int dpi) {
  g_shell.popupMenu.reset(LoadMenuA(g_globals.instance, MAKEINTRESOURCEA(IDR_POPUP_MENU)));
  LoadButtonIcons(g_globals.instance, dpi);
  LoadRowLook(g_globals.instance);
}

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                 int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_globals.instance, nullptr);
}

// Placed and given their font by the layout.
void CreateLabels(HWND window) {
  for (const LabelPlace& place : kLabels) {
    CreateChild(window, "static", place.textId ? LanguageText(place.textId).c_str() : "", place.style, 0, 0, 10, 10,
                place.id);
    if (place.id == IDC_LABEL_COUNT) ShowPlayListCount(window, g_settings.playListCount);
    if (place.id == IDC_LABEL_ORDER) ShowPlayOrder(window, g_settings.playOrder);
  }
}

// The position bar of what plays and its time, below the list (placed by
// the layout); the bar is usable while media plays.
void CreatePositionBar(HWND window) {
  CreateChild(window, TRACKBAR_CLASSA, LanguageText(IDS_POSITION_BAR_NAME).c_str(),
              WS_TABSTOP | WS_DISABLED | TBS_HORZ | TBS_NOTICKS | TBS_BOTH, 0, 0, 10, 10, IDC_POSITION_BAR);
  CreateChild(window, "static", "", SS_RIGHT, 0, 0, 10, 10, IDC_POSITION_TIME);
}

HANDLE CreateIdleThread(LPTHREAD_START_ROUTINE body, void* parameter = nullptr) {
  HANDLE thread = CreateThread(nullptr, 0, body, parameter, CREATE_SUSPENDED, nullptr);
  if (thread) {
    SetThreadPriority(thread, THREAD_PRIORITY_IDLE);
    // Each thread blocks on its own events until it has work.
    ResumeThread(thread);
  }
  return thread;
}

// A Yes at the close question while something plays: the list is saved
// once the playing has stopped and the worker has ended its run. The
// worker's last word is a message to this thread, which wakes the wait.
void StopEverythingPlaying() {
  StopPlayAllRun();
  StopPlayback();
  ULONGLONG end = MonotonicMs() + kWorkerEndTimeoutMs;
  for (ULONGLONG now; g_playback.playAllRunning && PumpThreadMessages() && (now = MonotonicMs()) < end;)
    BlockForMessagesOr(nullptr, 0, static_cast<DWORD>(end - now));
}

// Waits for a thread to end, running meanwhile the messages other threads
// send this one (the Play All worker hands its requests to this thread).
void WaitForThreadEnd(HANDLE thread, DWORD boundMs) {
  if (!thread) return;
  ULONGLONG end = MonotonicMs() + boundMs;
  for (ULONGLONG now; (now = MonotonicMs()) < end;) {
    DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, static_cast<DWORD>(end - now), QS_SENDMESSAGE);
    if (result != WAIT_OBJECT_0 + 1) return;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // runs the sent messages only
  }
}

// The orderly end, in the order things depend on each other: hot keys
// released; the threads told to end and waited for, while the window they
// talk to still stands; every device closed; the help closed; then the
// window destroyed.
void Shutdown(HWND window) {
  if (g_ending) return;
  g_ending = true;
  // The next start may open this list again.
  if (HasMainView()) RememberLastList(MainView().list(), SelectedIndex());
  UnregisterHotKeys(window);
  UnregisterMediaKeys(window);
  StopPlayAllRun();
  StopPlayback();
  StopSidePlay();
  WaitForWorkersToEnd();
  CloseHelp();
  CloseVolumeControls();
  CloseTaskbarButton();
  DestroyWindow(window);
}

}  // namespace

void PlaceLabels(HWND window, int dpi) {
  for (const LabelPlace& place : kLabels)
    SetWindowPos(GetDlgItem(window, place.id), nullptr, Scale(place.x, dpi), Scale(kLabelTop, dpi),
                 Scale(place.width, dpi), Scale(kLabelHeight, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetTextFonts(HWND window, int dpi) {
  WPARAM font = reinterpret_cast<WPARAM>(VariablePitchFont(dpi));
  for (const LabelPlace& place : kLabels) SendDlgItemMessageA(window, place.id, WM_SETFONT, font, TRUE);
  SendDlgItemMessageA(window, IDC_POSITION_TIME, WM_SETFONT, font, TRUE);
  SendDlgItemMessageA(window, IDC_MUTE_BUTTON, WM_SETFONT, font, TRUE);
}

LRESULT OnCreate(HWND window, ObjectList* list) {
  g_globals.mainWindow = window;
  g_ending = false;
  const int dpi = DpiOf(window);
  LoadPictures(dpi);

  CreateRibbon(window);
  SendMessageA(g_shell.ribbon, WM_SIZE, 0, 0);  // its height, before the first layout
  g_shell.statusBar = CreateChild(window, STATUS_BAR_CLASS, nullptr, WS_BORDER, 0, 0, 50, 10, 0);
  StatusBarInit(g_shell.statusBar);
  // A window made on a monitor of another DPI than the system's.
  if (dpi != ScreenDpi()) SetStatusBarFont(dpi);
  SetStatusBar(g_shell.statusBar);
  CreateMainButtons(window);
  NameButtons(window);
  CreateLabels(window);
  CreatePositionBar(window);
  CreateVolumeControls(window);
  SetTextFonts(window, dpi);
  // The list's view; the list itself is the caller's and outlives the
  // window.
  SetMainView(new ObjectListView(*list, window));
  list->Listen(&g_titleKeeper);

  if (RegisterHotKeys(window) != -1) ShowMessage(window, IDS_HOTKEY_START_FAILED, MB_ICONEXCLAMATION);

  g_shell.animationThread.reset(CreateIdleThread(IconAnimationThread));
  g_shell.playAllThread.reset(CreateIdleThread(PlayAllWorker, list));

  // The device types are looked for on a thread of their own: a driver
  // that does not answer costs the start a few seconds, never the program.
  StartMediaProbe();
  WaitForDeviceTypes(kDeviceAnswerMs);
  if (g_mediaCaps == 0) {
    ShowMessage(window, IDS_NO_MEDIA_DEVICES, MB_ICONHAND);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  ShowRecentLists(window);
  UpdateCommandStates(window);
  DragAcceptFiles(window, TRUE);
  SelectListRow(0);
  SetFocus(MainView().window());
  // The focus is always shown, in every child (see OnUiState).
  SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  return 0;
}

bool MayClose(HWND) { return !HasMainView() || AskToSaveChanges(MainView().list(), StopEverythingPlaying); }

void OnClose(HWND window) {
  // A modal window is open: the command that opened it still runs and
  // works on the list, which must outlive it. As Windows does for a window
  // whose dialog is open, the dialog comes to the front, and the close
  // waits for the person to answer it.
  if (ModalWindowOpen()) {
    HWND modal = GetLastActivePopup(window);
    if (modal && modal != window) SetForegroundWindow(modal);
    return;
  }
  if (MayClose(window)) Shutdown(window);
}

// The session may end only when nothing unsaved would be lost and no
// dialog waits for an answer; the window closes when WM_ENDSESSION
// confirms the end.
LRESULT OnQueryEndSession(HWND window) { return !ModalWindowOpen() && MayClose(window) ? TRUE : FALSE; }

void OnEndSession(HWND window, bool ending) {
  if (ending) Shutdown(window);
}

void OnDestroy(HWND) {
  FreeRowLook();
  FreeButtonIcons();
  g_shell.statusFont.reset();
  SetStatusBar(nullptr);
  UnregisterClassA("ovSEdit", g_globals.instance);
  if (HasMainView()) {
    HWND listBox = MainView().window();
    MainView().list().StopListening(&g_titleKeeper);
    delete &MainView();
    SetMainView(nullptr);
    if (g_shell.listBoxClassProc)
      SetWindowLongPtrW(listBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_shell.listBoxClassProc));
  }
  g_shell.popupMenu.reset();
  g_shell.buttonTips = nullptr;  // an owned window: it goes with this one
  PostQuitMessage(0);
}

void WaitForWorkersToEnd() {
  g_playback.animationStop = 1;
  g_playback.playAllStop = 1;
  SetEvent(g_globals.quit.handle());
  WaitForThreadEnd(g_shell.playAllThread.get(), kWorkerEndTimeoutMs);
  g_shell.playAllThread.reset();
  WaitForThreadEnd(g_shell.animationThread.get(), kAnimationEndMs);
  g_shell.animationThread.reset();
  // The devices close on their own thread; one stuck in a driver is left
  // behind, and the program ends all the same.
  EndMediaPlayback(kDeviceThreadEndMs);
  ReleaseMediaProbe();  // no one waits for it now
}
