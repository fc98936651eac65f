// The program's own resources as the running program sees them: the three
// early texts, both menus, the accelerator table, the nine dialog templates
// (created for real, with VA32RA.dll's "ovSpin" and an "ovSEdit" of the
// test's own), every icon and the five kind bitmaps.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }

bool HasStyle(HWND window, LONG_PTR bits) { return (StyleOf(window) & bits) == bits; }

// ---- texts -----------------------------------------------------------------

std::string OwnString(UINT id) {
  char text[512] = "";
  LoadStringA(Instance(), id, text, sizeof text);
  return text;
}

TEST(OwnStrings, HoldTheThreeEarlyTextsExactly) {
  EXPECT_EQ(OwnString(IDS_OWN_LANGUAGE_KEY), "Software\\Orvane Software\\Wendle\\Language");
  EXPECT_EQ(OwnString(IDS_OWN_NO_LANGUAGE),
            "Unable to locate a language resource DLL for Wendle.  File may be missing, corrupt, "
            "or the \"Wendle\\Language\" registry key is invalid.");
  EXPECT_EQ(OwnString(IDS_OWN_NO_MAIN_WINDOW),
            "Unable to create main window.  Possible low resource memory or bad EXE.");
}

// ---- menus -------------------------------------------------------------------

struct MenuEntry {
  UINT id;           // 0 for a separator
  const char* text;  // nullptr for a separator
};
const MenuEntry kSeparator = {0, nullptr};

struct MenuItem {
  UINT id = 0;
  UINT type = 0;
  UINT state = 0;
  std::string text;
  HMENU subMenu = nullptr;
};

MenuItem ItemAt(HMENU menu, int position) {
  MenuItem item;
  char text[256] = "";
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
  info.dwTypeData = text;
  info.cch = sizeof text;
  if (GetMenuItemInfoA(menu, position, TRUE, &info)) {
    item.id = info.wID;
    item.type = info.fType;
    item.state = info.fState;
    item.text = text;
    item.subMenu = info.hSubMenu;
  }
  return item;
}

// Compares one popup with its expected items; grayed lists the only ids
// that may be grayed.
void ExpectPopup(HMENU popup, const std::vector<MenuEntry>& expected, std::set<UINT> grayed = {}) {
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("item " + std::to_string(i));
    MenuItem item = ItemAt(popup, static_cast<int>(i));
    if (!expected[i].text) {
      EXPECT_TRUE(item.type & MFT_SEPARATOR);
      continue;
    }
    EXPECT_FALSE(item.type & MFT_SEPARATOR);
    EXPECT_EQ(item.subMenu, nullptr);
    EXPECT_EQ(item.id, expected[i].id);
    EXPECT_EQ(item.text, expected[i].text);
    EXPECT_EQ((item.state & MFS_GRAYED) != 0, grayed.count(expected[i].id) != 0);
  }
}

TEST(MainMenu, HasFourPopupsWithEveryCommandInOrder) {
  HMENU menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  const char* titles[] = {"&File", "&Sound", "&Options", "&Help"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ItemAt(menu, i).text, titles[i]);
  }

  ExpectPopup(GetSubMenu(menu, 0), {{IDM_FILE_NEW, "&New"},
                                    kSeparator,
                                    {IDM_FILE_OPEN, "&Open..."},
                                    {IDM_FILE_INSERT, "&Insert..."},
                                    {IDM_FILE_APPEND, "A&ppend..."},
                                    kSeparator,
                                    {IDM_FILE_SAVE, "&Save"},
                                    {IDM_FILE_SAVE_AS, "Save &As..."},
                                    kSeparator,
                                    {IDM_FILE_EXIT, "E&xit"}});
  ExpectPopup(GetSubMenu(menu, 1),
              {{IDM_SOUND_PLAY_SELECTED, "&Play Selected Item\tF2"},
               {IDM_SOUND_STOP_SKIP, "&Stop/Skip Current Sound\tF3"},
               {IDM_SOUND_PAUSE, "Pa&use\tCtrl+P"},
               kSeparator,
               {IDM_SOUND_PLAY_ALL, "Play A&ll"},
               {IDM_SOUND_STOP_PLAY_ALL, "St&op Play All"},
               {IDM_SOUND_STOP_AFTER, "Stop After &This One"},
               kSeparator,
               {IDM_SOUND_MUTE, "Mut&e\tCtrl+M"},
               {IDM_SOUND_VOLUME_UP, "&Volume Up\tCtrl+Up"},
               {IDM_SOUND_VOLUME_DOWN, "Volume Dow&n\tCtrl+Down"},
               kSeparator,
               {IDM_SOUND_BROWSE, "&Browse..."},
               {IDM_SOUND_ADD, "&Add Sound Object...\tF4"},
               {IDM_SOUND_REMOVE, "&Remove Sound Object\tF5"},
               {IDM_SOUND_MODIFY, "&Modify Sound Object...\tF6"}},
              {IDM_SOUND_STOP_PLAY_ALL, IDM_SOUND_PAUSE, IDM_SOUND_STOP_AFTER});
  ExpectPopup(GetSubMenu(menu, 2), {{IDM_OPT_PLAY_ALL_MODE, "Play All &Mode..."},
                                    {IDM_OPT_HOT_KEYS, "Modify &Hot Keys..."},
                                    {IDM_OPT_SET_FAVORITE, "Set Fa&vorite Selection..."},
                                    kSeparator,
                                    {IDM_OPT_ADD_ALL_CD_TRACKS, "A&dd All CD Tracks\tF7"},
                                    {IDM_OPT_CATALOG_CD, "C&atalog Active CD...\tF8"},
                                    kSeparator,
                                    {IDM_OPT_SET_EDITOR, "&Set Sound File Editor..."},
                                    {IDM_OPT_RUN_EDITOR, "E&xecute Sound File Editor"},
                                    kSeparator,
                                    {IDM_OPT_PREFERENCES, "&Preferences..."},
                                    {IDM_OPT_CONFIRMATIONS, "&Confirmations..."},
                                    kSeparator,
                                    {IDM_OPT_SAVE_WINDOW_POS, "Save &Window Position"}});
  ExpectPopup(GetSubMenu(menu, 3), {{IDM_HELP_INDEX, "&Index\tF1"},
                                    {IDM_HELP_OVERVIEW, "&Overview"},
                                    {IDM_HELP_PROCEDURES, "&Procedures"},
                                    {IDM_HELP_USING_HELP, "&Using Help"},
                                    kSeparator,
                                    {IDM_HELP_DISTRIBUTION, "&Distribution"},
                                    kSeparator,
                                    {IDM_HELP_ABOUT, "&About..."}});
  DestroyMenu(menu);
}

TEST(PopupMenu, FirstSubmenuHoldsTheListCommands) {
  HMENU menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_POPUP_MENU));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  ExpectPopup(GetSubMenu(menu, 0), {{IDM_MOVE_TOP, "Move to Top"},
                                    {IDM_MOVE_UP, "Move Up"},
                                    {IDM_MOVE_DOWN, "Move Down"},
                                    {IDM_MOVE_BOTTOM, "Move to Bottom"},
                                    kSeparator,
                                    {IDM_SOUND_MODIFY, "Modify Sound Object..."},
                                    {IDM_SOUND_REMOVE, "Remove Sound Object"}});
  DestroyMenu(menu);
}

// ---- accelerators ------------------------------------------------------------

TEST(Accelerators, AreTheFifteenVirtualKeysInOrder) {
  HACCEL table = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  ACCEL entries[16] = {};
  ASSERT_EQ(CopyAcceleratorTableA(table, entries, 16), 15);
  const BYTE plain = FVIRTKEY | FNOINVERT;
  const ACCEL expected[] = {
      {plain, VK_DELETE, IDM_SOUND_REMOVE},
      {plain, VK_F1, IDM_HELP_INDEX},
      {plain, VK_F2, IDM_SOUND_PLAY_SELECTED},
      {plain, VK_F3, IDM_SOUND_STOP_SKIP},
      {static_cast<BYTE>(plain | FCONTROL), 'P', IDM_SOUND_PAUSE},
      {static_cast<BYTE>(plain | FCONTROL), 'M', IDM_SOUND_MUTE},
      {static_cast<BYTE>(plain | FCONTROL), VK_UP, IDM_SOUND_VOLUME_UP},
      {static_cast<BYTE>(plain | FCONTROL), VK_DOWN, IDM_SOUND_VOLUME_DOWN},
      {plain, VK_F4, IDM_SOUND_ADD},
      {plain, VK_F5, IDM_SOUND_REMOVE},
      {plain, VK_F6, IDM_SOUND_MODIFY},
      {plain, VK_F7, IDM_OPT_ADD_ALL_CD_TRACKS},
      {plain, VK_F8, IDM_OPT_CATALOG_CD},
      {plain, VK_RETURN, IDM_SOUND_PLAY_SELECTED},
      {static_cast<BYTE>(plain | FALT), VK_RETURN, IDM_SOUND_MODIFY},
  };
  for (int i = 0; i < 15; ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    EXPECT_EQ(entries[i].fVirt, expected[i].fVirt);
    EXPECT_EQ(entries[i].key, expected[i].key);
    EXPECT_EQ(entries[i].cmd, expected[i].cmd);
  }
  DestroyAcceleratorTable(table);
}

// ---- dialogs -------------------------------------------------------------------

enum Kind { Label, Group, Explanation, Field, Spin, Push, Check, Radio, List, Combo, Icon };

struct Control {
  int id;
  Kind kind;
  const char* text;  // nullptr: not checked (fields, spins, explanations)
  int buddy;         // spins: the field they step
};

// A dialog template as it must come out of the resources: its title and
// its controls in tab order.
struct ExpectedDialog {
  int id;
  const char* title;
  std::vector<Control> controls;
};

const char* ExpectedClass(Kind kind) {
  switch (kind) {
    case Label:
    case Explanation:
    case Icon:
      return "Static";
    case Field:
      return "ovSEdit";
    case Spin:
      return "ovSpin";
    case List:
      return "ListBox";
    case Combo:
      return "ComboBox";
    default:
      return "Button";
  }
}

const std::vector<ExpectedDialog>& Dialogs() {
  static const std::vector<ExpectedDialog> dialogs = {
      {IDD_PLAY_ALL_MODE,
       "Play All Mode",
       {{IDC_EXPLANATION, Explanation, nullptr, 0},
        {IDC_STATIC, Label, "Play List &Count:", 0},
        {IDC_PLAY_LIST_COUNT, Field, nullptr, 0},
        {IDC_SPIN_COUNT, Spin, nullptr, IDC_PLAY_LIST_COUNT},
        {IDC_NON_STOP, Check, "&Non-stop", 0},
        {IDC_STATIC, Group, "Play &Order:", 0},
        {IDC_ORDER_SEQUENTIAL, Radio, "Sequencial", 0},
        {IDC_ORDER_RANDOM, Radio, "Random", 0},
        {IDC_EXCLUSIVE, Check, "E&xclusive", 0},
        {IDC_OK, Push, "OK", 0},
        {IDCANCEL, Push, "Cancel", 0},
        {IDC_SAVE, Push, "&Save", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_PREFERENCES,
       "Preferences",
       {{IDC_PREF_MINIMIZE, Check, "Minimize on Play All", 0},
        {IDC_PREF_TITLE, Check, "Show current song title when minimized", 0},
        {IDC_PREF_BUTTON_HELP, Check, "Show button help on Status Bar", 0},
        {IDC_PREF_ABSOLUTE_PATHS, Check, "Use absolute paths in CD catalog", 0},
        {IDC_PREF_MEDIA_KEYS, Check, "Media keys work in every program", 0},
        {IDC_PREF_PAUSE, Check, "Pause between all Sound Objects:", 0},
        {IDC_PREF_PAUSE_SECONDS, Field, nullptr, 0},
        {IDC_SPIN_PAUSE, Spin, nullptr, IDC_PREF_PAUSE_SECONDS},
        {IDC_STATIC, Label, "sec.", 0},
        {IDC_OK, Push, "OK", 0},
        {IDCANCEL, Push, "Cancel", 0},
        {IDC_SAVE, Push, "&Save", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_CONFIRMATIONS,
       "Confirmations",
       {{IDC_CONFIRM_OBJECT, Check, "Confirm on Sound Object delete", 0},
        {IDC_CONFIRM_FILE, Check, "Confirm on file detele", 0},
        {IDC_OK, Push, "OK", 0},
        {IDCANCEL, Push, "Cancel", 0},
        {IDC_SAVE, Push, "&Save", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_ADD_SOUND_OBJECT,
       "Add Sound Object to List",
       {{IDC_EXPLANATION, Explanation, nullptr, 0},
        {IDC_STATIC, Group, "Insertion &Method:", 0},
        {IDC_INSERT_AT_TOP, Radio, "Insert at top", 0},
        {IDC_INSERT_AT_CURRENT, Radio, "Insert at current location", 0},
        {IDC_INSERT_APPEND, Radio, "Append to list", 0},
        {IDC_STATIC, Label, "&Sound Objects:", 0},
        {IDC_KIND_LIST, List, nullptr, 0},
        {IDOK, Push, "OK", 0},
        {IDCANCEL, Push, "Cancel", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_SOUND_OBJECT,
       "Modify Sound Object",
       {{IDC_STATIC, Icon, nullptr, 0},
        {IDC_EXPLANATION, Explanation, nullptr, 0},
        {IDC_STATIC, Label, "Sound &File:", 0},
        {IDC_SOUND_FILE, Field, nullptr, 0},
        {IDC_BROWSE, Push, "...", 0},
        {IDC_STATIC, Label, "&Description:", 0},
        {IDC_DESCRIPTION, Field, nullptr, 0},
        {IDC_STATIC, Group, "Perform these actions during Play All:", 0},
        {IDC_STATIC, Label, "&Repeat Count:", 0},
        {IDC_REPEAT_COUNT, Field, nullptr, 0},
        {IDC_SPIN_REPEAT, Spin, nullptr, IDC_REPEAT_COUNT},
        {IDC_STATIC, Label, "Post &Time Delay:", 0},
        {IDC_POST_DELAY, Field, nullptr, 0},
        {IDC_SPIN_DELAY, Spin, nullptr, IDC_POST_DELAY},
        {IDC_STATIC, Label, "sec.", 0},
        {IDC_ADD, Push, "&Add", 0},
        {IDC_OK, Push, "&OK", 0},
        {IDCANCEL, Push, "&Close", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_CD_TRACK,
       "Modify CD Track",
       {{IDC_STATIC, Icon, nullptr, 0},
        {IDC_EXPLANATION, Explanation, nullptr, 0},
        {IDC_STATIC, Label, "CD Track &Number:", 0},
        {IDC_TRACK_NUMBER, Field, nullptr, 0},
        {IDC_SPIN_TRACK, Spin, nullptr, IDC_TRACK_NUMBER},
        {IDC_TEST, Push, "T&est", 0},
        {IDC_STOP, Push, "&Stop", 0},
        {IDC_STATIC, Label, "&Description:", 0},
        {IDC_DESCRIPTION, Field, nullptr, 0},
        {IDC_ADD_ALL_CD_TRACKS, Push, "Add A&LL CD Tracks", 0},
        {IDC_STATIC, Group, "Perform these actions during Play All:", 0},
        {IDC_STATIC, Label, "&Repeat Count:", 0},
        {IDC_REPEAT_COUNT, Field, nullptr, 0},
        {IDC_SPIN_REPEAT, Spin, nullptr, IDC_REPEAT_COUNT},
        {IDC_STATIC, Label, "Post &Time Delay:", 0},
        {IDC_POST_DELAY, Field, nullptr, 0},
        {IDC_SPIN_DELAY, Spin, nullptr, IDC_POST_DELAY},
        {IDC_STATIC, Label, "sec.", 0},
        {IDC_ADD, Push, "&Add", 0},
        {IDC_OK, Push, "&OK", 0},
        {IDCANCEL, Push, "&Close", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_PAUSE_OBJECT,
       "Modify Pause Object",
       {{IDC_EXPLANATION, Explanation, nullptr, 0},
        {IDC_STATIC, Label, "Duration:", 0},
        {IDC_PAUSE_DURATION, Field, nullptr, 0},
        {IDC_SPIN_DELAY, Spin, nullptr, IDC_PAUSE_DURATION},
        {IDC_STATIC, Label, "sec.", 0},
        {IDC_OK, Push, "OK", 0},
        {IDCANCEL, Push, "Cancel", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_HOT_KEYS,
       "Modify Hot Keys",
       {{IDC_EXPLANATION, Explanation, nullptr, 0},
        {IDC_STATIC, Group, "&View Hot Key", 0},
        {IDC_HOTKEY_PLAY_NEXT, Radio, "Play Next Sound Object", 0},
        {IDC_HOTKEY_PLAY_ALL, Radio, "Start/Stop Play All Session", 0},
        {IDC_HOTKEY_FAVORITE, Radio, "Play Favorite Selection", 0},
        {IDC_HOTKEY_PAUSE, Radio, "Pause/Resume", 0},
        {IDC_STATIC, Label, "Virtual &Key:", 0},
        {IDC_VIRTUAL_KEY, Combo, nullptr, 0},
        {IDC_KEY_CONTROL, Check, "Control", 0},
        {IDC_KEY_ALT, Check, "Alt", 0},
        {IDC_OK, Push, "Change", 0},
        {IDCANCEL, Push, "Close", 0},
        {IDC_RESET, Push, "Reset", 0},
        {IDC_SAVE, Push, "&Save", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
      {IDD_SOUND_EDITOR,
       "Set Sound File Editor",
       {{IDC_EXPLANATION, Explanation, nullptr, 0},
        {IDC_EDITOR_MIDI, Radio, "MIDI File Editor", 0},
        {IDC_EDITOR_WAV, Radio, "WAV File Editor", 0},
        {IDC_STATIC, Label, "Command &Line:", 0},
        {IDC_COMMAND_LINE, Field, nullptr, 0},
        {IDC_BROWSE, Push, "...", 0},
        {IDC_OK, Push, "OK", 0},
        {IDCANCEL, Push, "Cancel", 0},
        {IDC_HELP_BUTTON, Push, "&Help", 0}}},
  };
  return dialogs;
}

WNDPROC g_editProc;

LRESULT CALLBACK EditSuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(g_editProc, window, message, wParam, lParam);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Creates each template hidden and modeless, owned by a window of the test,
// with VA32RA.dll providing "ovSpin" and the test an "ovSEdit" of its own.
class DialogTemplates : public testing::TestWithParam<size_t> {
 protected:
  static void SetUpTestSuite() {
    controlLibrary_ = LoadLibraryA("VA32RA.dll");
    WNDCLASSA edit = {};
    if (GetClassInfoA(nullptr, "EDIT", &edit)) {
      g_editProc = edit.lpfnWndProc;
      edit.lpfnWndProc = EditSuperclassProc;
      edit.hInstance = Instance();
      edit.lpszClassName = "ovSEdit";
      edit.style |= CS_GLOBALCLASS;
      editRegistered_ = RegisterClassA(&edit) != 0;
    }
    owner_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr, Instance(),
                             nullptr);
  }
  static void TearDownTestSuite() {
    if (owner_) DestroyWindow(owner_);
    if (editRegistered_) UnregisterClassA("ovSEdit", Instance());
    if (controlLibrary_) FreeLibrary(controlLibrary_);
  }

  void SetUp() override {
    ASSERT_NE(controlLibrary_, nullptr) << "VA32RA.dll";
    ASSERT_TRUE(editRegistered_);
    ASSERT_NE(owner_, nullptr);
    expected_ = &Dialogs()[GetParam()];
    dialog_ = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(expected_->id), owner_, QuietDialogProc, 0);
    ASSERT_NE(dialog_, nullptr) << "dialog " << expected_->id << " error " << GetLastError();
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
  }

  // Children in template order (which is the tab order).
  std::vector<HWND> Children() const {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      children.push_back(child);
    return children;
  }

  // Rectangle of a child in the dialog's client coordinates.
  RECT RectOf(HWND child) const {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  static HMODULE controlLibrary_;
  static bool editRegistered_;
  static HWND owner_;
  const ExpectedDialog* expected_ = nullptr;
  HWND dialog_ = nullptr;
};

HMODULE DialogTemplates::controlLibrary_;
bool DialogTemplates::editRegistered_;
HWND DialogTemplates::owner_;

bool IsStaticId(HWND child) { return (GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF; }

Kind KindOf(HWND child) {
  std::string cls = bench::ClassName(child);
  LONG_PTR style = StyleOf(child);
  if (lstrcmpiA(cls.c_str(), "Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        return Group;
      case BS_AUTORADIOBUTTON:
      case BS_RADIOBUTTON:
        return Radio;
      case BS_AUTOCHECKBOX:
      case BS_CHECKBOX:
        return Check;
      default:
        return Push;
    }
  }
  if (lstrcmpiA(cls.c_str(), "Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) return Icon;
    return GetDlgCtrlID(child) == IDC_EXPLANATION ? Explanation : Label;
  }
  if (lstrcmpiA(cls.c_str(), "ovSEdit") == 0) return Field;
  if (lstrcmpiA(cls.c_str(), "ovSpin") == 0) return Spin;
  if (lstrcmpiA(cls.c_str(), "ListBox") == 0) return List;
  return Combo;
}

// The keyboard letter of a text ("&Save" -> 'S'), 0 when it has none.
char Mnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

TEST_P(DialogTemplates, HasTitleStyleAndStaysHidden) {
  EXPECT_EQ(bench::WindowText(dialog_), expected_->title);
  EXPECT_TRUE(HasStyle(dialog_, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
  EXPECT_FALSE(IsWindowVisible(dialog_));
}

TEST_P(DialogTemplates, HoldsEveryControlInOrderWithClassAndText) {
  std::vector<HWND> children = Children();
  ASSERT_EQ(children.size(), expected_->controls.size());
  for (size_t i = 0; i < children.size(); ++i) {
    const Control& want = expected_->controls[i];
    HWND child = children[i];
    SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(want.id));
    if (want.id == IDC_STATIC) {
      EXPECT_TRUE(IsStaticId(child));
    } else {
      EXPECT_EQ(GetDlgCtrlID(child), want.id);
    }
    EXPECT_EQ(lstrcmpiA(bench::ClassName(child).c_str(), ExpectedClass(want.kind)), 0) << bench::ClassName(child);
    EXPECT_EQ(KindOf(child), want.kind);
    if (want.text) {
      EXPECT_EQ(bench::WindowText(child), want.text);
    }
    if (want.kind == Explanation) {
      EXPECT_GT(bench::WindowText(child).size(), 40u);
    }
    if (want.kind == Field) {
      EXPECT_EQ(bench::WindowText(child), "");
    }
  }
}

TEST_P(DialogTemplates, ControlsHaveTheirStyles) {
  for (const Control& want : expected_->controls) {
    if (want.id == IDC_STATIC && want.kind != Icon) continue;
    HWND child = want.kind == Icon ? nullptr : GetDlgItem(dialog_, want.id);
    if (want.kind == Icon) {
      for (HWND c : Children())
        if (KindOf(c) == Icon) {
          child = c;
        }
      ASSERT_NE(child, nullptr);
      EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0) << "icon of the dialog";
      continue;
    }
    SCOPED_TRACE("id " + std::to_string(want.id));
    ASSERT_NE(child, nullptr);
    // Only the Add button starts hidden; the dialog shows it in add mode.
    EXPECT_EQ(HasStyle(child, WS_VISIBLE), want.id != IDC_ADD);
    switch (want.kind) {
      case Field:
      case Push:
      case Check:
      case List:
      case Combo:
        EXPECT_TRUE(HasStyle(child, WS_TABSTOP));
        break;
      case Spin: {
        EXPECT_TRUE(HasStyle(child, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS));
        // Right after its buddy, so that the buddy is the field it steps.
        EXPECT_EQ(GetWindow(GetDlgItem(dialog_, want.buddy), GW_HWNDNEXT), child);
        break;
      }
      default:
        break;
    }
  }
  if (HWND list = GetDlgItem(dialog_, IDC_KIND_LIST)) {
    EXPECT_TRUE(HasStyle(list, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT));
    EXPECT_FALSE(StyleOf(list) & LBS_SORT);
  }
  if (HWND keys = GetDlgItem(dialog_, IDC_VIRTUAL_KEY)) {
    EXPECT_EQ(StyleOf(keys) & 3, CBS_DROPDOWNLIST);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      char text[2] = {letter, 0};
      SendMessageA(keys, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    ASSERT_TRUE(GetComboBoxInfo(keys, &parts));
    EXPECT_TRUE(HasStyle(parts.hwndList, WS_VSCROLL)) << "26 letters scroll";
    RECT dropped;
    SendMessageA(keys, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_GE(dropped.bottom - dropped.top, 150) << "room for several letters";
  }
  if (HWND ok = GetDlgItem(dialog_, IDC_OK)) {
    EXPECT_EQ(StyleOf(ok) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  }
}

TEST_P(DialogTemplates, RadioGroupsAreMarkedAndTabOrderRunsTopToBottom) {
  std::vector<HWND> children = Children();
  for (size_t i = 0; i < children.size(); ++i) {
    bool radio = KindOf(children[i]) == Radio;
    bool afterRadio = i > 0 && KindOf(children[i - 1]) == Radio;
    SCOPED_TRACE("control " + std::to_string(i));
    if (radio) {
      // A group starts at its first radio, which alone is a tab stop.
      EXPECT_EQ(HasStyle(children[i], WS_GROUP), !afterRadio);
      EXPECT_EQ(HasStyle(children[i], WS_TABSTOP), !afterRadio);
    } else if (afterRadio) {
      EXPECT_TRUE(HasStyle(children[i], WS_GROUP)) << "ends the radio group";
    }
  }
  // Tab stops in template order: rows from top to bottom, left to right
  // within a row (centres within 4 pixels count as one row).
  RECT last = {-1000, -1000, -1000, -1000};
  for (HWND child : children) {
    if (!HasStyle(child, WS_TABSTOP)) continue;
    RECT rect = RectOf(child);
    if (KindOf(child) == Combo) rect.bottom = rect.top + 14;
    int centre = (rect.top + rect.bottom) / 2, lastCentre = (last.top + last.bottom) / 2;
    SCOPED_TRACE("id " + std::to_string(GetDlgCtrlID(child)));
    EXPECT_GE(centre, lastCentre - 4);
    if (abs(centre - lastCentre) <= 4) {
      EXPECT_GT(rect.left, last.left);
    }
    last = rect;
  }
}

TEST_P(DialogTemplates, KeyboardLettersAreUniqueAndLabelsLeadToAnInput) {
  std::map<char, std::string> used;
  std::vector<HWND> children = Children();
  for (size_t i = 0; i < children.size(); ++i) {
    std::string text = KindOf(children[i]) == Icon ? "" : bench::WindowText(children[i]);
    char letter = Mnemonic(text);
    if (!letter) continue;
    EXPECT_EQ(used.count(letter), 0u) << "'" << letter << "' in " << text << " and " << used[letter];
    used[letter] = text;
    Kind kind = KindOf(children[i]);
    if (kind == Label || kind == Group) {
      ASSERT_LT(i + 1, children.size());
      EXPECT_TRUE(HasStyle(children[i + 1], WS_TABSTOP)) << text << " names the next control";
    }
  }
}

TEST_P(DialogTemplates, LayoutFitsTheDialogWithoutOverlapsAndTextsFit) {
  RECT client;
  GetClientRect(dialog_, &client);
  std::vector<HWND> children = Children();
  HDC dc = GetDC(dialog_);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0)));
  for (size_t i = 0; i < children.size(); ++i) {
    HWND child = children[i];
    Kind kind = KindOf(child);
    RECT rect = RectOf(child);
    if (kind == Combo) rect.bottom = rect.top + 14;
    SCOPED_TRACE("control " + std::to_string(i) + " " + bench::WindowText(child));
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, client.right);
    EXPECT_LE(rect.bottom, client.bottom);

    // Texts are not cut: one line for labels and buttons, the explanation
    // wrapped within its box.
    std::string text = kind == Icon ? "" : bench::WindowText(child);
    if (!text.empty() && kind != Field) {
      RECT need = {0, 0, rect.right - rect.left, 0};
      UINT flags = DT_CALCRECT | (kind == Explanation ? DT_WORDBREAK : DT_SINGLELINE);
      DrawTextA(dc, text.c_str(), -1, &need, flags);
      int room = rect.right - rect.left - ((kind == Check || kind == Radio) ? 16 : 0) - (kind == Push ? 4 : 0);
      if (kind == Explanation) {
        EXPECT_LE(need.bottom, rect.bottom - rect.top);
      } else if (kind != Group) {
        EXPECT_LE(need.right, room);
      }
    }

    // Group boxes frame other controls and each spin sits on its own field;
    // nothing else overlaps.
    if (kind == Group || kind == Spin) continue;
    for (size_t j = i + 1; j < children.size(); ++j) {
      Kind other = KindOf(children[j]);
      if (other == Group || other == Spin) continue;
      RECT b = RectOf(children[j]), overlap;
      if (other == Combo) b.bottom = b.top + 14;
      EXPECT_FALSE(IntersectRect(&overlap, &rect, &b))
          << "overlaps " << bench::WindowText(children[j]) << " id " << GetDlgCtrlID(children[j]);
    }
  }
  SelectObject(dc, oldFont);
  ReleaseDC(dialog_, dc);
}

std::string DialogName(const testing::TestParamInfo<size_t>& info) {
  return "Dialog" + std::to_string(Dialogs()[info.param].id);
}

INSTANTIATE_TEST_SUITE_P(All, DialogTemplates, testing::Range<size_t>(0, 9), DialogName);

// ---- icons ---------------------------------------------------------------------

const int kIconIds[] = {IDI_APP,           IDI_ADD,           IDI_APPEND,       IDI_BROWSE,       IDI_HOT_KEYS,
                        IDI_CATALOG_CD,    IDI_HELP,          IDI_INSERT,       IDI_KIND_MIDI,    IDI_MODIFY,
                        IDI_NEW,           IDI_OPEN,          IDI_KIND_PAUSE,   IDI_PLAY_ALL,     IDI_PLAY,
                        IDI_PLAY_ALL_MODE, IDI_REMOVE,        IDI_SAVE,         IDI_STOP_SKIP,    IDI_KIND_WAVE,
                        IDI_STOP_PLAY_ALL, IDI_KIND_CD_TRACK, IDI_ANIM_INTRO_1, IDI_ANIM_INTRO_2, IDI_ANIM_INTRO_3,
                        IDI_ANIM_IDLE,     IDI_ANIM_CYCLE_1,  IDI_ANIM_CYCLE_2, IDI_ANIM_CYCLE_3, IDI_ANIM_CYCLE_4,
                        IDI_KIND_VIDEO,    IDI_KIND_AUDIO};

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// The sizes that the icon resource itself holds (not what LoadImage scales to).
std::set<int> StoredIconSizes(int id) {
  std::set<int> sizes;
  HRSRC found = FindResourceA(Instance(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
  if (!found) return sizes;
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(Instance(), found)));
  WORD count = *reinterpret_cast<const WORD*>(data + 4);
  const GroupIconEntry* entries = reinterpret_cast<const GroupIconEntry*>(data + 6);
  for (WORD i = 0; i < count; ++i)
    if (entries[i].width == entries[i].height) {
      sizes.insert(entries[i].width ? entries[i].width : 256);
    }
  return sizes;
}

// The icon drawn over a grey square, as 32 x 32 pixels.
std::vector<DWORD> DrawnIcon(HICON icon) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 32;
  info.bmiHeader.biHeight = -32;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<DWORD> pixels;
  if (surface) {
    HGDIOBJ old = SelectObject(dc, surface);
    RECT all = {0, 0, 32, 32};
    HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
    FillRect(dc, &all, grey);
    DeleteObject(grey);
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 32 * 32);
    SelectObject(dc, old);
    DeleteObject(surface);
  }
  DeleteDC(dc);
  return pixels;
}

TEST(Icons, EveryIdHoldsA16And32PixelPictureThatLoads) {
  for (int id : kIconIds) {
    SCOPED_TRACE("icon " + std::to_string(id));
    std::set<int> sizes = StoredIconSizes(id);
    EXPECT_TRUE(sizes.count(16) && sizes.count(32));
    for (int size : {16, 32}) {
      HICON icon = static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
      EXPECT_NE(icon, nullptr) << size;
      if (icon) DestroyIcon(icon);
    }
    EXPECT_NE(LoadIconA(Instance(), MAKEINTRESOURCEA(id)), nullptr);
  }
  EXPECT_EQ(FindResourceA(Instance(), MAKEINTRESOURCEA(1523), MAKEINTRESOURCEA(14)), nullptr)
      << "1523 is the pop-up menu, not an icon";
}

TEST(Icons, EveryPictureIsDistinctAndFillsItsButton) {
  std::map<std::vector<DWORD>, int> seen;
  for (int id : kIconIds) {
    SCOPED_TRACE("icon " + std::to_string(id));
    std::vector<DWORD> pixels = DrawnIcon(LoadIconA(Instance(), MAKEINTRESOURCEA(id)));
    ASSERT_EQ(pixels.size(), 32u * 32u);
    int painted = 0;
    for (DWORD p : pixels) painted += (p & 0xFFFFFF) != 0xC0C0C0;
    EXPECT_GE(painted, 32 * 32 / 8) << "too little to see";
    EXPECT_EQ(seen.count(pixels), 0u) << "same picture as " << seen[pixels];
    seen[pixels] = id;
  }
}

// ---- kind bitmaps ----------------------------------------------------------------

TEST(KindBitmaps, Are18By16With16ColoursAndBlueWhereClear) {
  for (int id : {IDB_KIND_WAVE, IDB_KIND_MIDI, IDB_KIND_PAUSE, IDB_KIND_CD_TRACK, IDB_KIND_VIDEO, IDB_KIND_AUDIO}) {
    SCOPED_TRACE("bitmap " + std::to_string(id));
    // As the main window loads it.
    HBITMAP loaded = LoadBitmapA(Instance(), MAKEINTRESOURCEA(id));
    ASSERT_NE(loaded, nullptr);
    BITMAP plain = {};
    GetObjectA(loaded, sizeof plain, &plain);
    EXPECT_EQ(plain.bmWidth, 18);
    EXPECT_EQ(plain.bmHeight, 16);
    DeleteObject(loaded);

    // The stored format.
    HBITMAP section =
        static_cast<HBITMAP>(LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(section, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectA(section, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBmih.biBitCount, 4);
    EXPECT_EQ(dib.dsBm.bmWidth, 18);
    EXPECT_EQ(dib.dsBm.bmHeight, 16);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 18;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    DWORD pixels[18 * 16] = {};
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(dc, section, 0, 16, pixels, &info, DIB_RGB_COLORS), 16);
    ReleaseDC(nullptr, dc);
    DeleteObject(section);
    int clear = 0;
    for (DWORD p : pixels) clear += (p & 0xFFFFFF) == 0x0000FF;  // pure blue, as BGRA
    EXPECT_GE(clear, 2 * 16) << "transparent surround";
    EXPECT_GT(18 * 16 - clear, 18 * 16 / 4) << "enough picture to read";
  }
}

}  // namespace
