#include "playback/waiting.h"

#include "support/globals.h"
#include "support/help.h"

bool PumpThreadMessages() {
  MSG msg;
  // As Unicode, as the main loop takes them (startup.cpp).
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (HelpPreTranslateMessage(&msg)) continue;
    // The menu shows F3 for Stop/Skip: it must work while a sound plays.
    if (g_globals.accelerators && g_globals.mainWindow && msg.hwnd &&
        (msg.hwnd == g_globals.mainWindow || IsChild(g_globals.mainWindow, msg.hwnd)) &&
        TranslateAcceleratorW(g_globals.mainWindow, g_globals.accelerators, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void BlockForMessagesOr(const HANDLE* events, DWORD count, DWORD timeoutMs) {
  MsgWaitForMultipleObjectsEx(count, events, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

ULONGLONG MonotonicMs() { return GetTickCount64(); }
