// The ribbon, the play buttons, their drawing and help texts and the Play
// All labels, on a stand-in main window that creates and lays out these
// children as the main window does. The buttons are checked against the
// rules of their layout and the main menu, not against copied positions.
#include <gtest/gtest.h>

#include "bench/canvas.h"
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bench/program_sources.h"
#include "bench/test_env.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/buttons.h"
#include "support/globals.h"
#include "shell/shell_state.h"
#include "settings/settings_record.h"
#include "support/language.h"
#include "support/control_library.h"
#include "support/dpi.h"

namespace {

const char kHostClass[] = "WendleTestRibbonHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateRibbon(window);
      g_shell.statusBar = CreateWindowExA(0, STATUS_BAR_CLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 50, 10,
                                          window, nullptr, g_globals.instance, nullptr);
      StatusBarInit(g_shell.statusBar);
      SetStatusBar(g_shell.statusBar);
      CreateMainButtons(window);
      for (int id : {IDC_LABEL_COUNT, IDC_LABEL_ORDER})
        CreateWindowExA(0, "static", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 80, 16, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_globals.instance, nullptr);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) PostMessageA(g_shell.ribbon, WM_SIZE, wParam, lParam);
      break;
    case WM_DRAWITEM:
      DrawButton(static_cast<int>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), 2, 2, 2, 2, false);
      return TRUE;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window that makes the ribbon, status bar, play buttons and
// labels in its WM_CREATE and posts WM_SIZE to the ribbon on every resize.
class RibbonHost {
 public:
  RibbonHost() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static const bool registered = [instance] {
      LoadLibraryA("VA32RA.dll");  // registers "ovStatusBar"
      WNDCLASSA wc = {};
      wc.lpfnWndProc = HostProc;
      wc.hInstance = instance;
      wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
      wc.lpszClassName = kHostClass;
      return RegisterClassA(&wc) != 0 && RegisterRibbonClass(instance);
    }();
    EXPECT_TRUE(registered);
    g_globals.instance = instance;
    SetLanguageModule(bench::LanguageModule());
    g_shell.lastHelpCommand = -1;
    LoadButtonIcons(instance, DpiOf(nullptr));
    window_ = CreateWindowExA(0, kHostClass, "Wendle", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                              nullptr, instance, nullptr);
    g_globals.mainWindow = window_;
    bench::PumpMessages();
  }
  ~RibbonHost() {
    DestroyWindow(window_);
    SetStatusBar(nullptr);
    g_globals.mainWindow = g_shell.ribbon = g_shell.statusBar = nullptr;
    FreeButtonIcons();
    bench::PumpMessages();
  }
  RibbonHost(const RibbonHost&) = delete;
  RibbonHost& operator=(const RibbonHost&) = delete;

  HWND window() const { return window_; }

  std::string StatusText() const {
    char text[1024] = "";
    SendMessageA(g_shell.statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::string Label(int id) const { return bench::WindowText(GetDlgItem(window_, id)); }

  // The commands posted to the main window and not yet handled.
  std::vector<int> TakePostedCommands() {
    std::vector<int> commands;
    MSG msg;
    while (PeekMessageA(&msg, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
      EXPECT_EQ(msg.lParam, 0);
      commands.push_back(static_cast<int>(msg.wParam));
    }
    return commands;
  }

 private:
  HWND window_ = nullptr;
};

RECT RectInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// An owner-drawn, framed icon button, subclassed for its help (the old
// procedure kept in the user data).
void ExpectIconButton(HWND button) {
  ASSERT_TRUE(button);
  LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ButtonSubclassProc));
  EXPECT_NE(GetWindowLongPtrA(button, GWLP_USERDATA), 0);
}

std::vector<HWND> RibbonButtons() {
  std::vector<HWND> buttons;  // in creation order
  for (HWND child = GetWindow(g_shell.ribbon, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    buttons.push_back(child);
  return buttons;
}

// The command ids of one popup of the program's main menu (-1: all), in order.
std::vector<int> MenuCommands(int popupIndex) {
  std::vector<int> commands;
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
  EXPECT_NE(menu, nullptr);
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    HMENU popup = GetSubMenu(menu, i);
    if (popupIndex >= 0 && i != popupIndex) continue;
    for (int j = 0; popup && j < GetMenuItemCount(popup); ++j) {
      UINT id = GetMenuItemID(popup, j);
      if (id != 0 && id != static_cast<UINT>(-1)) commands.push_back(static_cast<int>(id));
    }
  }
  if (menu) DestroyMenu(menu);
  return commands;
}

std::set<int> MenuCommands() {
  std::vector<int> all = MenuCommands(-1);
  return std::set<int>(all.begin(), all.end());
}

// Square buttons of one size in a row along the top, as far from the
// ribbon's left edge as from its top and bottom; neighbours touch, or leave
// one button's room between two groups. The first group holds the File
// menu's commands, in the menu's order.
TEST(Ribbon, ButtonsRunInARowOfGroupsAlongTheTop) {
  RibbonHost host;
  ASSERT_TRUE(g_shell.ribbon);
  EXPECT_EQ(GetParent(g_shell.ribbon), host.window());
  std::vector<HWND> buttons = RibbonButtons();
  ASSERT_GE(buttons.size(), 2u);
  RECT ribbon;
  GetClientRect(g_shell.ribbon, &ribbon);
  const RECT first = RectInParent(buttons[0]);
  const LONG size = first.right - first.left;
  EXPECT_EQ(first.bottom - first.top, size);
  EXPECT_GT(first.top, 0);
  EXPECT_EQ(first.left, first.top);
  EXPECT_EQ(ribbon.bottom - first.bottom, first.top) << "the margins above and below the buttons differ";
  int gaps = 0;
  std::vector<int> firstGroup;
  for (size_t i = 0; i < buttons.size(); ++i) {
    SCOPED_TRACE("button " + std::to_string(GetDlgCtrlID(buttons[i])));
    ExpectIconButton(buttons[i]);
    EXPECT_TRUE(IsWindowVisible(buttons[i]));
    RECT r = RectInParent(buttons[i]);
    EXPECT_EQ(r.top, first.top);
    EXPECT_EQ(r.right - r.left, size);
    EXPECT_EQ(r.bottom - r.top, size);
    if (i > 0) {
      LONG step = r.left - RectInParent(buttons[i - 1]).left;
      EXPECT_TRUE(step == size || step == 2 * size) << "step " << step;
      gaps += step == 2 * size;
    }
    if (gaps == 0) firstGroup.push_back(ButtonCommand(GetDlgCtrlID(buttons[i])));
  }
  EXPECT_GT(gaps, 0) << "the buttons come in groups";
  std::vector<int> file;
  for (int command : MenuCommands(0))
    for (HWND button : buttons)
      if (ButtonCommand(GetDlgCtrlID(button)) == command) file.push_back(command);
  EXPECT_EQ(firstGroup, file);
}

TEST(Ribbon, KeepsToTheClientWidthPlusTwoShowingOnlyItsBottomBorder) {
  RibbonHost host;
  const LONG height = RectInParent(g_shell.ribbon).bottom - RectInParent(g_shell.ribbon).top;
  for (int width : {640, 300, 900}) {
    SetWindowPos(host.window(), nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(host.window(), &client);
    ASSERT_TRUE(bench::PumpUntil([&] {
      RECT r = RectInParent(g_shell.ribbon);
      return r.right - r.left == client.right + 2;
    }));
    RECT r = RectInParent(g_shell.ribbon);
    EXPECT_EQ(r.left, -1);
    EXPECT_EQ(r.top, -1);
    EXPECT_EQ(r.bottom - r.top, height);
  }
  // A minimize leaves the ribbon as it was.
  RECT before = RectInParent(g_shell.ribbon);
  SendMessageA(g_shell.ribbon, WM_SIZE, SIZE_MINIMIZED, 0);
  RECT after = RectInParent(g_shell.ribbon);
  EXPECT_TRUE(EqualRect(&before, &after));
}

// A click on a ribbon button posts its command, a command of the main menu
// that no other button sends.
TEST(Ribbon, EveryButtonPostsAMenuCommandOfItsOwn) {
  RibbonHost host;
  const std::set<int> menu = MenuCommands();
  std::set<int> sent;
  for (HWND button : RibbonButtons()) {
    const int id = GetDlgCtrlID(button);
    SCOPED_TRACE("button " + std::to_string(id));
    SendMessageA(button, BM_CLICK, 0, 0);
    std::vector<int> posted = host.TakePostedCommands();
    ASSERT_EQ(posted, std::vector<int>{ButtonCommand(id)});
    EXPECT_EQ(menu.count(posted[0]), 1u) << "a command that is in no menu";
    EXPECT_TRUE(sent.insert(posted[0]).second) << "another button sends it too";
  }

  // A quick second click arrives as a double click: a command all the same.
  HWND save = GetDlgItem(g_shell.ribbon, IDC_BTN_SAVE);
  SendMessageA(g_shell.ribbon, WM_COMMAND, MAKEWPARAM(IDC_BTN_SAVE, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(save));
  EXPECT_EQ(host.TakePostedCommands(), std::vector<int>{IDM_FILE_SAVE});
  // The play buttons are not the ribbon's: it sends nothing for their ids.
  SendMessageA(g_shell.ribbon, WM_COMMAND, MAKEWPARAM(IDC_BTN_PLAY, BN_CLICKED), 0);
  EXPECT_TRUE(host.TakePostedCommands().empty());
}

std::vector<std::pair<HWND, int>> g_visited;
void Visit(HWND parent, int id) { g_visited.push_back({parent, id}); }

// The ids.h name of a value among the names that begin with prefix.
std::string IdName(long value, const std::string& prefix) {
  for (const bench::IdDefine& define : bench::IdDefinesNamed(prefix))
    if (define.value == value) return define.name;
  return std::string();
}

// Each button, ribbon and play buttons alike, sends the command it is named
// after (IDC_BTN_SAVE sends IDM_FILE_SAVE), but for the two whose command
// says more: Help opens the help's index, Play plays the selected item.
TEST(Buttons, EachStandsForTheCommandItIsNamedAfter) {
  RibbonHost host;
  g_visited.clear();
  ForEachButton(host.window(), Visit);
  ASSERT_FALSE(g_visited.empty());
  for (const auto& [parent, id] : g_visited) {
    const std::string button = IdName(id, "IDC_BTN_");
    const std::string command = IdName(ButtonCommand(id), "IDM_");
    SCOPED_TRACE(button + " sends " + command);
    ASSERT_NE(button, "");
    ASSERT_NE(command, "");
    const std::string what = button.substr(8);  // IDC_BTN_SAVE -> SAVE
    if (what == "HELP") {
      EXPECT_EQ(command, "IDM_HELP_INDEX");
    } else if (what == "PLAY") {
      EXPECT_EQ(command, "IDM_SOUND_PLAY_SELECTED");
    } else {
      ASSERT_GT(command.size(), what.size());
      EXPECT_EQ(command.substr(command.size() - what.size() - 1), "_" + what);
    }
  }
}

// The play buttons stand in a column below the ribbon, one under the other;
// Play All and Stop Play All share one place, and one of them shows. Each
// stands for a menu command of its own.
TEST(PlayButtons, StandInAColumnWithPlayAllAndStopPlayAllInOnePlace) {
  RibbonHost host;
  HWND w = host.window();
  g_visited.clear();
  ForEachButton(w, Visit);
  std::vector<HWND> column;
  for (const auto& [parent, id] : g_visited)
    if (parent == w) column.push_back(GetDlgItem(w, id));
  ASSERT_GE(column.size(), 2u);
  const std::set<int> menu = MenuCommands();
  std::set<int> commands;
  const RECT ribbonButton = RectInParent(RibbonButtons().at(0));
  const RECT ribbon = RectInParent(g_shell.ribbon);
  std::map<LONG, int> rows;  // top -> visible buttons there
  for (HWND button : column) {
    const int id = GetDlgCtrlID(button);
    SCOPED_TRACE("button " + std::to_string(id));
    ExpectIconButton(button);
    EXPECT_EQ(menu.count(ButtonCommand(id)), 1u) << "a command that is in no menu";
    EXPECT_TRUE(commands.insert(ButtonCommand(id)).second);
    RECT r = RectInParent(button);
    EXPECT_EQ(r.left, RectInParent(column[0]).left);
    EXPECT_EQ(r.right - r.left, ribbonButton.right - ribbonButton.left);
    EXPECT_EQ(r.bottom - r.top, ribbonButton.bottom - ribbonButton.top);
    EXPECT_GE(r.top, ribbon.bottom);
    rows[r.top] += IsWindowVisible(button) ? 1 : 0;
  }
  LONG size = ribbonButton.bottom - ribbonButton.top, last = -1;
  for (const auto& [top, visible] : rows) {
    EXPECT_EQ(visible, 1) << "at " << top;
    if (last >= 0) {
      EXPECT_EQ(top - last, size) << "a gap or an overlap above " << top;
    }
    last = top;
  }
  EXPECT_EQ(RectInParent(GetDlgItem(w, IDC_BTN_PLAY_ALL)).top, RectInParent(GetDlgItem(w, IDC_BTN_STOP_PLAY_ALL)).top);

  ShowPlayAllButton(w, true);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, IDC_BTN_PLAY_ALL)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, IDC_BTN_STOP_PLAY_ALL)));
  ShowPlayAllButton(w, false);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, IDC_BTN_PLAY_ALL)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, IDC_BTN_STOP_PLAY_ALL)));
}

using bench::Canvas;

// An opaque icon of one colour, as large as the system draws icons.
HICON SolidIcon(COLORREF colour) {
  int size = GetSystemMetrics(SM_CXICON);
  Canvas image(size, size);
  RECT all = {0, 0, size, size};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(image.dc(), &all, brush);
  DeleteObject(brush);
  HBITMAP colourBitmap = static_cast<HBITMAP>(GetCurrentObject(image.dc(), OBJ_BITMAP));
  std::vector<BYTE> zeros(size * size / 8, 0);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
  ICONINFO info = {TRUE, 0, 0, mask, colourBitmap};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  return icon;
}

// Where the icon landed on a canvas: the box of its colour.
RECT ColourBox(const Canvas& canvas, int size, COLORREF colour) {
  RECT box = {size, size, -1, -1};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (canvas.At(x, y) == colour) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

// A held button looks pressed: its edge turns to shadow and its icon moves
// down and right by the same few pixels. A whole draw and a release show it
// raised, with the icon where the caller placed it.
TEST(DrawButton, AHeldButtonLooksPressedWithItsIconMovedDownAndRight) {
  const COLORREF red = RGB(255, 0, 0);
  const int iconSize = GetSystemMetrics(SM_CXICON);
  const int iconX = 2, iconY = 3;
  HICON icon = SolidIcon(red);
  ASSERT_TRUE(icon);
  g_shell.buttonIcons[ButtonIconSlot(IDC_BTN_OPEN)] = icon;
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = IDC_BTN_OPEN;
  SetRect(&item.rcItem, 0, 0, 38, 38);

  struct Case {
    UINT action;
    UINT state;
    bool pressed;
  };
  const Case cases[] = {
      {ODA_DRAWENTIRE, 0, false},
      {ODA_DRAWENTIRE, ODS_SELECTED, false},  // a whole draw is always raised
      {ODA_SELECT, ODS_SELECTED, true},
      {ODA_SELECT, 0, false},
  };
  const RECT raised = {iconX, iconY, iconX + iconSize, iconY + iconSize};
  LONG shift = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "action " << c.action << " state " << c.state);
    Canvas canvas(40, 40);
    item.hDC = canvas.dc();
    item.itemAction = c.action;
    item.itemState = c.state;
    EXPECT_EQ(DrawButton(IDC_BTN_OPEN, &item, iconX, iconY, 2, 2, false), 1);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(c.pressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
    RECT box = ColourBox(canvas, 40, red);
    if (!c.pressed) {
      EXPECT_TRUE(EqualRect(&box, &raised)) << box.left << "," << box.top << " " << box.right << "," << box.bottom;
      continue;
    }
    shift = box.left - raised.left;
    EXPECT_GT(shift, 0);
    EXPECT_LT(shift, 5) << "a few pixels";
    EXPECT_EQ(box.top - raised.top, shift);
    EXPECT_EQ(box.right - box.left, iconSize);
    EXPECT_EQ(box.bottom - box.top, iconSize);
  }
  EXPECT_GT(shift, 0) << "no pressed drawing was seen";

  g_shell.buttonIcons[ButtonIconSlot(IDC_BTN_OPEN)] = nullptr;
  DestroyIcon(icon);
}

TEST(ButtonHelp, ShowsEachButtonsCommandHelpOnceWhileTheMouseMoves) {
  RibbonHost host;
  g_settings.preferenceFlags = StatusBarButtonHelp;
  HWND newButton = GetDlgItem(g_shell.ribbon, IDC_BTN_NEW);
  HWND openButton = GetDlgItem(g_shell.ribbon, IDC_BTN_OPEN);
  StatusBarSetText(g_shell.statusBar, "start");

  SendMessageA(newButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(host.StatusText(), bench::LanguageString(CommandHelpString(IDM_FILE_NEW)));
  // Further moves over New do not load the text again, even after another
  // text replaced it.
  StatusBarSetText(g_shell.statusBar, "other");
  SendMessageA(newButton, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  SendMessageA(newButton, WM_MOUSEMOVE, 0, MAKELPARAM(7, 7));
  EXPECT_EQ(host.StatusText(), "other");
  SendMessageA(openButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(host.StatusText(), bench::LanguageString(CommandHelpString(IDM_FILE_OPEN)));
  SendMessageA(newButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(host.StatusText(), bench::LanguageString(CommandHelpString(IDM_FILE_NEW)));
  // Play buttons show the help of the command they stand for.
  SendMessageA(GetDlgItem(host.window(), IDC_BTN_STOP_SKIP), WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(host.StatusText(), bench::LanguageString(CommandHelpString(IDM_SOUND_STOP_SKIP)));

  // Without the preference the status bar is left alone.
  g_settings.preferenceFlags = 0;
  StatusBarSetText(g_shell.statusBar, "quiet");
  SendMessageA(openButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(host.StatusText(), "quiet");
}

TEST(PlayAllLabels, ShowCountOrNonStopAndTheOrder) {
  RibbonHost host;
  ShowPlayListCount(host.window(), 0);
  EXPECT_EQ(host.Label(IDC_LABEL_COUNT), bench::LanguageString(IDS_NON_STOP));
  ShowPlayListCount(host.window(), 3);
  EXPECT_EQ(host.Label(IDC_LABEL_COUNT), "3");
  ShowPlayListCount(host.window(), 65535);
  EXPECT_EQ(host.Label(IDC_LABEL_COUNT), "65535");

  g_settings.preferenceFlags = 0;
  ShowPlayOrder(host.window(), PlayOrderSequential);
  EXPECT_EQ(host.Label(IDC_LABEL_ORDER), bench::LanguageString(IDS_ORDER_SEQUENTIAL));
  ShowPlayOrder(host.window(), PlayOrderRandom);
  EXPECT_EQ(host.Label(IDC_LABEL_ORDER), bench::LanguageString(IDS_ORDER_RANDOM));
  ShowPlayOrder(host.window(), 999);  // any other value plays at random
  EXPECT_EQ(host.Label(IDC_LABEL_ORDER), bench::LanguageString(IDS_ORDER_RANDOM));
  g_settings.preferenceFlags = RandomExclusive;
  ShowPlayOrder(host.window(), PlayOrderRandom);
  EXPECT_EQ(host.Label(IDC_LABEL_ORDER), bench::LanguageString(IDS_ORDER_RANDOM_EXCL));
  ShowPlayOrder(host.window(), PlayOrderSequential);
  EXPECT_EQ(host.Label(IDC_LABEL_ORDER), bench::LanguageString(IDS_ORDER_SEQUENTIAL));
  g_settings.preferenceFlags = 0;
}

}  // namespace
