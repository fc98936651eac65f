// The ribbon ("FrameRibbonClass"): a raised strip along the top of the main
// window that holds thirteen icon buttons and turns their clicks into the
// main window's menu commands. Also the four play buttons left of the list.
#include "shell/button_ribbon.h"

#include <commctrl.h>

#include <cstdio>

#include "resources/ids.h"
#include "shell/buttons.h"
#include "support/dpi.h"
#include "support/globals.h"
#include "shell/shell_state.h"
#include "support/support_library.h"
#include "support/scoped_win.h"

namespace {

const char kRibbonClass[] = "FrameRibbonClass";

// In pixels at 96 DPI; the layout scales them to the window's DPI.
constexpr int kButtonSize = 38;
constexpr int kRibbonButtonTop = 3;
constexpr int kRibbonHeight = 46;
constexpr int kPlayButtonLeft = 10;
// The longest menu text a button's name is taken from.
constexpr int kButtonTextLength = 64;

struct ButtonPlace {
  int id;
  int position;  // x on the ribbon, y beside the list
};

// In creation order; the gaps at x 193 and 421 split the ribbon into groups.
const ButtonPlace kRibbonButtons[] = {
    {IDC_BTN_NEW, 3},      {IDC_BTN_OPEN, 41},      {IDC_BTN_INSERT, 79},      {IDC_BTN_APPEND, 117},
    {IDC_BTN_SAVE, 155},   {IDC_BTN_BROWSE, 231},   {IDC_BTN_ADD, 269},        {IDC_BTN_REMOVE, 307},
    {IDC_BTN_MODIFY, 345}, {IDC_BTN_HOT_KEYS, 383}, {IDC_BTN_CATALOG_CD, 459}, {IDC_BTN_PLAY_ALL_MODE, 497},
    {IDC_BTN_HELP, 535},
};

const ButtonPlace kPlayButtons[] = {
    {IDC_BTN_PLAY, 125},
    {IDC_BTN_STOP_SKIP, 163},
    {IDC_BTN_PLAY_ALL, 201},
    {IDC_BTN_STOP_PLAY_ALL, 201},  // hidden until Play All runs
};

HWND CreateIconButton(HWND parent, int id, int x, int y, bool visible) {
  DWORD style = WS_CHILD | WS_BORDER | BS_OWNERDRAW | (visible ? WS_VISIBLE : 0);
  HWND button = CreateWindowExA(0, "button", nullptr, style, x, y, kButtonSize, kButtonSize, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_globals.instance, nullptr);
  SubclassButton(button);
  return button;
}

// The ribbon's own buttons send the main window their command.
bool IsRibbonButton(int id) {
  for (const ButtonPlace& place : kRibbonButtons)
    if (place.id == id) return true;
  return false;
}

// A button at (x, y) at 96 DPI, placed at dpi: its edges are scaled, not
// its size, so buttons that touch at 96 DPI touch at every DPI.
void PlaceButton(HWND parent, int id, int x, int y, int dpi) {
  int left = Scale(x, dpi), top = Scale(y, dpi);
  SetWindowPos(GetDlgItem(parent, id), nullptr, left, top, Scale(x + kButtonSize, dpi) - left,
               Scale(y + kButtonSize, dpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnRibbonSize(HWND ribbon) {
  RECT client = {};
  GetClientRect(GetParent(ribbon), &client);
  const int dpi = DpiOf(ribbon);
  for (const ButtonPlace& place : kRibbonButtons) PlaceButton(ribbon, place.id, place.position, kRibbonButtonTop, dpi);
  // Placed at (-1, -1) and two pixels wider than the client area, the
  // ribbon shows only its bottom border.
  SetWindowPos(ribbon, nullptr, 0, 0, client.right - client.left + 2, Scale(kRibbonHeight, dpi),
               SWP_NOMOVE | SWP_NOZORDER);
  InvalidateRect(ribbon, nullptr, TRUE);
}

void OnRibbonPaint(HWND ribbon) {
  ScopedPaint paint(ribbon);
  RECT client = {};
  GetClientRect(ribbon, &client);
  Draw3DPanel(paint.dc(), &client, TRUE, 1);
}

// A menu item's text as a button's name and its key: the mnemonic's "&"
// and a closing "..." dropped, the key after the tab. Both bounded.
void SplitMenuText(const char* text, char* name, size_t nameSize, char* key, size_t keySize) {
  size_t n = 0;
  const char* p = text;
  for (; *p && *p != '\t'; ++p)
    if (*p != '&' && n + 1 < nameSize) name[n++] = *p;
  while (n > 0 && name[n - 1] == '.') --n;
  name[n] = '\0';
  snprintf(key, keySize, "%s", *p == '\t' ? p + 1 : "");
}

void NameButton(HWND parent, int id) {
  HWND button = GetDlgItem(parent, id);
  HMENU menu = GetMenu(g_globals.mainWindow);
  int command = ButtonCommand(id);
  char text[kButtonTextLength] = "";
  if (!button || !menu || !command ||
      !GetMenuStringA(menu, static_cast<UINT>(command), text, sizeof text, MF_BYCOMMAND))
    return;
  char name[kButtonTextLength], key[kButtonTextLength];
  SplitMenuText(text, name, sizeof name, key, sizeof key);
  // The Help button opens the help's index: "Index" alone would say little,
  // so the Help menu's own title goes before it ("Help Index").
  char menuTitle[kButtonTextLength] = "";
  if (command == IDM_HELP_INDEX &&
      GetMenuStringA(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), menuTitle, sizeof menuTitle, MF_BYPOSITION)) {
    char title[kButtonTextLength], unused[kButtonTextLength], both[2 * kButtonTextLength];
    SplitMenuText(menuTitle, title, sizeof title, unused, sizeof unused);
    snprintf(both, sizeof both, "%s %s", title, name);
    snprintf(name, sizeof name, "%s", both);
  }
  SetWindowTextA(button, name);
  char tip[2 * kButtonTextLength + 8];
  snprintf(tip, sizeof tip, key[0] ? "%s (%s)" : "%s", name, key);
  if (!g_shell.buttonTips) return;
  // The version-5 size: a test process without the manifest has the
  // common controls of version 5, which refuse the larger structure.
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = tip;
  SendMessageA(g_shell.buttonTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

void NameButtons(HWND mainWindow) {
  // Owned by the main window, the tooltip window goes with it.
  g_shell.buttonTips =
      CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mainWindow, nullptr, g_globals.instance, nullptr);
  ForEachButton(mainWindow, NameButton);
}

bool RegisterRibbonClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = RibbonProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = kRibbonClass;
  return RegisterClassA(&wc) != 0;
}

HWND CreateRibbon(HWND mainWindow) {
  g_shell.ribbon = CreateWindowExA(0, kRibbonClass, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, -1, -1, 0, 0,
                                   mainWindow, nullptr, g_globals.instance, nullptr);
  return g_shell.ribbon;
}

void CreateRibbonButtons(HWND ribbon) {
  for (const ButtonPlace& place : kRibbonButtons)
    CreateIconButton(ribbon, place.id, place.position, kRibbonButtonTop, true);
}

void CreateMainButtons(HWND mainWindow) {
  for (const ButtonPlace& place : kPlayButtons)
    CreateIconButton(mainWindow, place.id, kPlayButtonLeft, place.position, place.id != IDC_BTN_STOP_PLAY_ALL);
}

void PlaceMainButtons(HWND mainWindow, int dpi) {
  for (const ButtonPlace& place : kPlayButtons) PlaceButton(mainWindow, place.id, kPlayButtonLeft, place.position, dpi);
}

void ShowPlayAllButton(HWND mainWindow, bool running) {
  // Show the new button before hiding the old one: the place is never empty.
  HWND playAll = GetDlgItem(mainWindow, IDC_BTN_PLAY_ALL);
  HWND stopPlayAll = GetDlgItem(mainWindow, IDC_BTN_STOP_PLAY_ALL);
  ShowWindow(running ? stopPlayAll : playAll, SW_SHOW);
  ShowWindow(running ? playAll : stopPlayAll, SW_HIDE);
}

void ForEachButton(HWND mainWindow, void (*visit)(HWND parent, int id)) {
  for (const ButtonPlace& place : kRibbonButtons) visit(g_shell.ribbon, place.id);
  for (const ButtonPlace& place : kPlayButtons) visit(mainWindow, place.id);
}

LRESULT CALLBACK RibbonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateRibbonButtons(window);
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) break;
      OnRibbonSize(window);
      return 0;
    case WM_PAINT:
      OnRibbonPaint(window);
      break;
    case WM_DRAWITEM:
      if (DrawButton(static_cast<int>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), 2, 2, 3, 3, true))
        return TRUE;
      break;
    case WM_COMMAND: {
      // Every notification counts: a quick second click arrives as a
      // double click and is a second command all the same.
      int id = LOWORD(wParam);
      if (!IsRibbonButton(id)) break;
      PostMessageA(GetParent(window), WM_COMMAND, static_cast<WPARAM>(ButtonCommand(id)), 0);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
