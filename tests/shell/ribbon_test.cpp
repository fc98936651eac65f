// The ribbon, the play buttons, their drawing and help texts, the selected
// object's details on the status bar and the Play All labels, on a stand-in
// main window that creates and lays out these children as the main window
// does.
#include <gtest/gtest.h>

#include "bench/canvas.h"
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

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
    LoadButtonIcons(instance);
    window_ = CreateWindowExA(0, kHostClass, "Wendle", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                              nullptr, instance, nullptr);
    g_globals.mainWindow = window_;
    bench::PumpMessages();
  }
  ~RibbonHost() {
    DestroyWindow(window_);
    SetStatusBar(nullptr);
    g_globals.mainWindow = g_shell.ribbon = g_shell.statusBar = nullptr;
    for (HICON& icon : g_shell.buttonIcons) icon = nullptr;  // shared icons
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

struct Placed {
  int id;
  int x;
  int y;
};

void ExpectIconButton(HWND button, const Placed& place, bool visible) {
  SCOPED_TRACE(place.id);
  ASSERT_TRUE(button);
  RECT r = RectInParent(button);
  EXPECT_EQ(r.left, place.x);
  EXPECT_EQ(r.top, place.y);
  EXPECT_EQ(r.right - r.left, 38);
  EXPECT_EQ(r.bottom - r.top, 38);
  LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_EQ(IsWindowVisible(button) != FALSE, visible);
  // Subclassed, the old procedure kept in the user data.
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ButtonSubclassProc));
  EXPECT_NE(GetWindowLongPtrA(button, GWLP_USERDATA), 0);
}

TEST(Ribbon, ThirteenButtonsInGroupsAlongTheTop) {
  RibbonHost host;
  ASSERT_TRUE(g_shell.ribbon);
  EXPECT_EQ(GetParent(g_shell.ribbon), host.window());
  const Placed expected[] = {{1511, 3, 3},   {1512, 41, 3},  {1508, 79, 3},  {1503, 117, 3}, {1518, 155, 3},
                             {1504, 231, 3}, {1502, 269, 3}, {1517, 307, 3}, {1510, 345, 3}, {1505, 383, 3},
                             {1506, 459, 3}, {1516, 497, 3}, {1507, 535, 3}};
  // Children in creation order.
  std::vector<HWND> buttons;
  for (HWND child = GetWindow(g_shell.ribbon, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    buttons.push_back(child);
  ASSERT_EQ(buttons.size(), 13u);
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(GetDlgCtrlID(buttons[i]), expected[i].id);
    ExpectIconButton(buttons[i], expected[i], true);
  }
}

TEST(Ribbon, KeepsToTheClientWidthPlusTwoAndFortySixHigh) {
  RibbonHost host;
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
    EXPECT_EQ(r.bottom - r.top, 46);
  }
  // A minimize leaves the ribbon as it was.
  RECT before = RectInParent(g_shell.ribbon);
  SendMessageA(g_shell.ribbon, WM_SIZE, SIZE_MINIMIZED, 0);
  RECT after = RectInParent(g_shell.ribbon);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(Ribbon, ClicksPostTheButtonsCommandsToTheMainWindow) {
  RibbonHost host;
  const int expected[] = {100, 101, 102, 103, 104, 119, 120, 121, 122, 137, 140, 132, 148};
  std::vector<int> sent;
  for (HWND child = GetWindow(g_shell.ribbon, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageA(child, BM_CLICK, 0, 0);
    for (int command : host.TakePostedCommands()) sent.push_back(command);
  }
  EXPECT_EQ(sent, std::vector<int>(std::begin(expected), std::end(expected)));

  // A quick second click arrives as a double click: a command all the same.
  HWND save = GetDlgItem(g_shell.ribbon, IDC_BTN_SAVE);
  SendMessageA(g_shell.ribbon, WM_COMMAND, MAKEWPARAM(IDC_BTN_SAVE, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(save));
  EXPECT_EQ(host.TakePostedCommands(), std::vector<int>{IDM_FILE_SAVE});
  // The play buttons are not the ribbon's: it sends nothing for their ids.
  SendMessageA(g_shell.ribbon, WM_COMMAND, MAKEWPARAM(IDC_BTN_PLAY, BN_CLICKED), 0);
  EXPECT_TRUE(host.TakePostedCommands().empty());
}

TEST(PlayButtons, FourBesideTheListAndOneOfPlayAllAndStopPlayAll) {
  RibbonHost host;
  HWND w = host.window();
  ExpectIconButton(GetDlgItem(w, IDC_BTN_PLAY), {IDC_BTN_PLAY, 10, 125}, true);
  ExpectIconButton(GetDlgItem(w, IDC_BTN_STOP_SKIP), {IDC_BTN_STOP_SKIP, 10, 163}, true);
  ExpectIconButton(GetDlgItem(w, IDC_BTN_PLAY_ALL), {IDC_BTN_PLAY_ALL, 10, 201}, true);
  ExpectIconButton(GetDlgItem(w, IDC_BTN_STOP_PLAY_ALL), {IDC_BTN_STOP_PLAY_ALL, 10, 201}, false);

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

TEST(DrawButton, HeldButtonIsPressedWithItsIconTwoPixelsLowerAndFurtherRight) {
  const COLORREF red = RGB(255, 0, 0);
  const int iconSize = GetSystemMetrics(SM_CXICON);
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
    int shift;
    COLORREF corner;
  };
  const Case cases[] = {
      {ODA_DRAWENTIRE, 0, 0, GetSysColor(COLOR_BTNHIGHLIGHT)},
      {ODA_DRAWENTIRE, ODS_SELECTED, 0, GetSysColor(COLOR_BTNHIGHLIGHT)},  // a whole draw is always raised
      {ODA_SELECT, ODS_SELECTED, 2, GetSysColor(COLOR_BTNSHADOW)},
      {ODA_SELECT, 0, 0, GetSysColor(COLOR_BTNHIGHLIGHT)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "action " << c.action << " state " << c.state);
    Canvas canvas(40, 40);
    item.hDC = canvas.dc();
    item.itemAction = c.action;
    item.itemState = c.state;
    EXPECT_EQ(DrawButton(IDC_BTN_OPEN, &item, 2, 2, 2, 2, false), 1);
    int first = 2 + c.shift;
    int last = first + iconSize - 1;
    EXPECT_EQ(canvas.At(0, 0), c.corner);
    EXPECT_EQ(canvas.At(first, first), red);
    EXPECT_EQ(canvas.At(last, last), red);
    EXPECT_NE(canvas.At(first - 1, first - 1), red);
    EXPECT_NE(canvas.At(last + 1, last + 1), red);
  }

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
