// "ovSEdit" and "ovSListBox": the 3-D frame painted into the parent, and
// the list's right-button menu, Space and Escape, on a stand-in main window
// that holds an "ovSListBox" as the Object List.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "bench/list_host.h"
#include "bench/test_env.h"
#include "shell/list_view.h"
#include "model/object_list.h"
#include "resources/ids.h"
#include "shell/command_state.h"
#include "shell/control_superclasses.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "shell/shell_state.h"

namespace {

const char kHostClass[] = "WendleTestSuperclassHost";
const COLORREF kParentColour = RGB(10, 20, 30);
constexpr int kRowHeight = 20;

// What the stand-in main window saw of the list's menu.
struct MenuSeen {
  int opened = 0;
  HMENU menu = nullptr;
  int selectionWhenOpened = -2;
  UINT moveStates[4] = {};  // Move to Top, Up, Down, to Bottom
  RECT popupRect = {};
};
MenuSeen g_menu;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
      return TRUE;
    case WM_DRAWITEM:
      return TRUE;
    case WM_INITMENUPOPUP: {
      // As the main window does: grey the items that do not apply.
      HMENU menu = reinterpret_cast<HMENU>(wParam);
      UpdateMenuItems(menu);
      ++g_menu.opened;
      g_menu.menu = menu;
      g_menu.selectionWhenOpened = SelectedIndex();
      for (int i = 0; i < 4; ++i)
        g_menu.moveStates[i] = GetMenuState(menu, IDM_MOVE_TOP + i, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED);
      return 0;
    }
    case WM_ENTERIDLE:
      // The menu is up: note where, then close it without a choice.
      if (wParam == MSGF_MENU) {
        GetWindowRect(reinterpret_cast<HWND>(lParam), &g_menu.popupRect);
        EndMenu();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
  static const bool registered = [] {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(kParentColour);
    wc.lpszClassName = kHostClass;
    return RegisterClassA(&wc) && RegisterEditSuperclass(instance) && RegisterListBoxSuperclass(instance);
  }();
  ASSERT_TRUE(registered);
}

class SuperclassTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    g_globals.instance = instance;
    g_playback.playing = 0;
    g_playback.playAllRunning = 0;
    g_shell.popupMenu.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_POPUP_MENU)));
    window_ = CreateWindowExA(WS_EX_TOPMOST, kHostClass, "Wendle", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 600, 420,
                              nullptr, nullptr, instance, nullptr);
    view_.reset(new ObjectListView(objects_, window_));
    list_ = view_->window();
    SetWindowPos(list_, nullptr, 60, 80, 400, 200, SWP_NOZORDER);
    SetMainView(view_.get());
    g_globals.mainWindow = window_;
    g_menu = MenuSeen();
    bench::PumpMessages();
  }
  void TearDown() override {
    SetMainView(nullptr);
    view_.reset();
    DestroyWindow(window_);
    g_shell.popupMenu.reset();
    g_globals.mainWindow = nullptr;
    g_playback.playing = 0;
    g_playback.playAllRunning = 0;
    bench::PumpMessages();
  }

  void AddItems(int count) {
    for (int i = 0; i < count; ++i) objects_.Insert(-1, MakeFileObject(Wave, "A.WAV", 0));
  }
  int Selected() const { return bench::SelectedRow(list_); }
  // A right click at a point of the list, as the mouse delivers it.
  void RightClick(int x, int y) {
    PostMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    bench::PumpMessages();
    PostMessageA(list_, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    bench::PumpMessages();
  }
  std::vector<int> TakePostedCommands() {
    std::vector<int> commands;
    MSG msg;
    while (PeekMessageA(&msg, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      commands.push_back(static_cast<int>(msg.wParam));
    return commands;
  }

  ObjectList objects_;
  std::unique_ptr<ObjectListView> view_;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(SuperclassTest, FrameIsPaintedIntoTheParentAroundTheEdit) {
  HWND field = CreateWindowExA(0, "ovSEdit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 100, 300, 120, 24, window_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(field);
  // The system EDIT behind it works as ever (its window bytes were kept).
  SendMessageA(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("12"));
  EXPECT_EQ(bench::WindowText(field), "12");
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // Control at x 100..219, y 300..323: the frame runs from (98, 298) to (220, 324).
  struct Pixel {
    int x, y;
    COLORREF colour;
  };
  const Pixel expected[] = {
      {98, 310, light},         {150, 298, light},  // outer line, left and top
      {220, 310, dark},         {150, 324, dark},   // outer line, right and bottom
      {99, 310, face},          {150, 299, face},   // inner line
      {97, 310, kParentColour}, {150, 297, kParentColour}, {221, 310, kParentColour}, {150, 325, kParentColour},
  };
  // Painted whenever the control erases, also after it was covered.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = GetDC(window_);
    for (const Pixel& p : expected) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.colour) << p.x << "," << p.y;
    ReleaseDC(window_, dc);
  }
}

TEST_F(SuperclassTest, RightClickSelectsTheItemAndOpensTheListMenuThere) {
  AddItems(3);
  bench::SelectRow(list_, 0);
  RightClick(150, 2 * kRowHeight + 5);  // on the last item
  EXPECT_EQ(Selected(), 2);
  ASSERT_EQ(g_menu.opened, 1);
  EXPECT_EQ(g_menu.menu, GetSubMenu(g_shell.popupMenu.get(), 0));
  // The item was selected before the menu opened: the Move items fit it.
  EXPECT_EQ(g_menu.selectionWhenOpened, 2);
  EXPECT_EQ(g_menu.moveStates[0], 0u);
  EXPECT_EQ(g_menu.moveStates[1], 0u);
  EXPECT_NE(g_menu.moveStates[2], 0u);
  EXPECT_NE(g_menu.moveStates[3], 0u);
  // Centred on the mouse.
  POINT mouse = {150, 2 * kRowHeight + 5};
  ClientToScreen(list_, &mouse);
  EXPECT_NEAR((g_menu.popupRect.left + g_menu.popupRect.right) / 2, mouse.x, 1);
  EXPECT_EQ(g_menu.popupRect.top, mouse.y);
}

TEST_F(SuperclassTest, NoMenuWhileAnythingPlaysOrInAnEmptyList) {
  AddItems(3);
  bench::SelectRow(list_, 0);
  g_playback.playing = 1;
  RightClick(150, 2 * kRowHeight + 5);
  EXPECT_EQ(Selected(), 0);
  g_playback.playing = 0;
  g_playback.playAllRunning = 1;
  RightClick(150, 1 * kRowHeight + 5);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(g_menu.opened, 0);
  g_playback.playAllRunning = 0;

  objects_.Clear();
  RightClick(150, 5);
  EXPECT_EQ(Selected(), LB_ERR);
  EXPECT_EQ(g_menu.opened, 0);
}

TEST_F(SuperclassTest, SpaceOpensTheMenuBelowTheSelectedItem) {
  AddItems(3);
  struct Case {
    int selected;
    int y;
  };
  for (const Case& c : {Case{0, kRowHeight}, Case{1, 2 * kRowHeight}, Case{-1, 0}}) {
    SCOPED_TRACE(c.selected);
    bench::SelectRow(list_, c.selected);
    SendMessageA(list_, WM_KEYUP, VK_SPACE, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, list_, WM_RBUTTONUP, WM_RBUTTONUP, PM_NOREMOVE));
    EXPECT_EQ(LOWORD(msg.lParam), 150);
    EXPECT_EQ(HIWORD(msg.lParam), c.y);
    int before = g_menu.opened;
    bench::PumpMessages();
    EXPECT_EQ(g_menu.opened, before + 1);
  }
}

// A press on a selected row and a move make a drag: the selection lands at
// the insertion mark, as one edit; a press without a move is a click.
TEST_F(SuperclassTest, ASelectionDraggedWithTheMouseMovesWhereTheMarkIs) {
  for (const char* name : {"A.WAV", "B.WAV", "C.WAV", "D.WAV", "E.WAV", "F.WAV"})
    objects_.Insert(-1, MakeFileObject(Wave, name, 0));
  objects_.ForgetHistory();
  auto rows = [&] {
    std::string text;
    for (int i = 0; i < objects_.Count(); ++i) {
      char row[64] = "";
      SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
      text += row[0];
    }
    return text;
  };
  auto at = [](int y) { return static_cast<LPARAM>(MAKELPARAM(150, y)); };
  view_->SelectRows({0, 1});
  SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, at(5));
  EXPECT_EQ(GetCapture(), list_);
  SendMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, at(2 * kRowHeight));
  SendMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, at(4 * kRowHeight + 2));  // the gap before E
  SendMessageA(list_, WM_LBUTTONUP, 0, at(4 * kRowHeight + 2));
  EXPECT_NE(GetCapture(), list_);
  EXPECT_EQ(rows(), "CDABEF");
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int>{2, 3}));
  ASSERT_TRUE(objects_.Undo());
  EXPECT_EQ(rows(), "ABCDEF");
  EXPECT_FALSE(objects_.CanUndo());

  // Up, from two places, to the top.
  view_->SelectRows({2, 4});
  SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, at(4 * kRowHeight + 5));
  SendMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, at(2));
  SendMessageA(list_, WM_LBUTTONUP, 0, at(2));
  EXPECT_EQ(rows(), "CEABDF");

  // A press and release on a selected row selects it alone, as ever.
  view_->SelectRows({0, 1});
  SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, at(kRowHeight + 5));
  SendMessageA(list_, WM_LBUTTONUP, 0, at(kRowHeight + 5));
  EXPECT_EQ(view_->SelectedRows(), std::vector<int>{1});

  // Nothing is dragged while something plays.
  view_->SelectRows({0, 1});
  g_playback.playing = 1;
  SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, at(5));
  SendMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, at(4 * kRowHeight + 2));
  SendMessageA(list_, WM_LBUTTONUP, 0, at(4 * kRowHeight + 2));
  g_playback.playing = 0;
  EXPECT_EQ(rows(), "CEABDF");
}

TEST_F(SuperclassTest, EscapeStopsPlayAllOrTheSoundThatPlays) {
  AddItems(1);
  SendMessageA(list_, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_EQ(TakePostedCommands(), std::vector<int>{IDM_SOUND_STOP_SKIP});
  g_playback.playAllRunning = 1;
  SendMessageA(list_, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_EQ(TakePostedCommands(), std::vector<int>{IDM_SOUND_STOP_PLAY_ALL});
  // Other keys post nothing.
  SendMessageA(list_, WM_KEYUP, VK_RETURN, 0);
  EXPECT_TRUE(TakePostedCommands().empty());
}

}  // namespace
