// The program's own resources as the running program sees them, checked
// against the rules they follow rather than against copies of their texts:
// the early texts, both menus and the accelerators (keyboard letters, key
// hints, commands), the dialog templates (created for real, with
// VA32RA.dll's "ovSpin" and an "ovSEdit" of the test's own: controls the
// code names, classes, styles, layout, tab order), and every icon and kind
// bitmap that resources/ids.h names.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/program_sources.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "shell/command_state.h"
#include "playback/media_devices.h"
#include "playback/play_state.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }

bool HasStyle(HWND window, LONG_PTR bits) { return (StyleOf(window) & bits) == bits; }

// The values of the ids.h defines whose name begins with prefix.
std::set<long> IdValues(const std::string& prefix) {
  std::set<long> values;
  for (const bench::IdDefine& define : bench::IdDefinesNamed(prefix)) values.insert(define.value);
  return values;
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

// ---- texts -----------------------------------------------------------------

std::string OwnString(UINT id) {
  char text[512] = "";
  LoadStringA(Instance(), id, text, sizeof text);
  return text;
}

// The program shows these before its language module is loaded, so they are
// in its own string table: every IDS_OWN_ text its code names.
TEST(OwnStrings, HoldEveryEarlyTextTheProgramNames) {
  std::set<std::string> used = bench::NamesTheProgramUses("IDS_OWN_");
  EXPECT_FALSE(used.empty()) << "the program's sources were not read";
  for (const std::string& name : used) EXPECT_FALSE(OwnString(bench::IdValue(name)).empty()) << name;
}

// The language module's key lies beside the settings' keys, and the message
// for a missing module names it as the user finds it in the registry.
TEST(OwnStrings, TheLanguageKeyLiesBesideTheSettingsAndItsMessageNamesIt) {
  auto parent = [](const std::string& key) { return key.substr(0, key.rfind('\\')); };
  const std::string key = OwnString(IDS_OWN_LANGUAGE_KEY);
  const std::string settings = bench::LanguageString(IDS_REG_SETTINGS_KEY);
  ASSERT_NE(key.find('\\'), std::string::npos) << key;
  EXPECT_EQ(parent(key), parent(settings));
  const std::string lastTwo = key.substr(parent(parent(key)).size() + 1);  // "Wendle\Language"
  EXPECT_NE(OwnString(IDS_OWN_NO_LANGUAGE).find(lastTwo), std::string::npos) << lastTwo;
}

// ---- menus -------------------------------------------------------------------

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

std::vector<MenuItem> Items(HMENU menu) {
  std::vector<MenuItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) items.push_back(ItemAt(menu, i));
  return items;
}

bool IsSeparator(const MenuItem& item) { return (item.type & MFT_SEPARATOR) != 0; }

// What an item is called, without its keyboard letter's "&" and its key hint.
std::string NameOf(const std::string& text) {
  std::string name;
  for (size_t i = 0; i < text.size() && text[i] != '\t'; ++i) {
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
    name += text[i];
  }
  return name;
}

// The key hint after the tab ("F5", "Ctrl+P"), empty when there is none.
std::string HintOf(const std::string& text) {
  size_t tab = text.find('\t');
  return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// Both menus as loaded from the program's resources.
class Menus : public testing::Test {
 protected:
  void SetUp() override {
    main_ = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    list_ = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_POPUP_MENU));
    ASSERT_NE(main_, nullptr);
    ASSERT_NE(list_, nullptr);
    // The list's right-button menu is the first submenu (the program opens no other).
    ASSERT_NE(GetSubMenu(list_, 0), nullptr);
  }
  void TearDown() override {
    if (main_) DestroyMenu(main_);
    if (list_) DestroyMenu(list_);
  }
  // The main menu's popups, in order.
  std::vector<HMENU> Popups() const {
    std::vector<HMENU> popups;
    for (const MenuItem& title : Items(main_)) {
      EXPECT_NE(title.subMenu, nullptr) << title.text << ": the menu bar holds only popups";
      if (title.subMenu) popups.push_back(title.subMenu);
    }
    return popups;
  }
  // Every command item of the main menu.
  std::vector<MenuItem> Commands() const {
    std::vector<MenuItem> commands;
    for (HMENU popup : Popups())
      for (const MenuItem& item : Items(popup))
        if (!IsSeparator(item)) commands.push_back(item);
    return commands;
  }

  HMENU main_ = nullptr;
  HMENU list_ = nullptr;
};

// Alt and a letter open a menu, a letter chooses an item: each menu title
// and each item of the main menu has a letter, unique within its menu. The
// texts the program gives the Pause item while it runs keep that so.
TEST_F(Menus, EveryItemOfTheMainMenuHasAKeyboardLetterUniqueWithinItsMenu) {
  auto expectLetters = [](const std::vector<std::string>& texts) {
    std::map<char, std::string> used;
    for (const std::string& text : texts) {
      char letter = Mnemonic(text);
      EXPECT_NE(letter, 0) << text << " has no keyboard letter";
      if (!letter) continue;
      EXPECT_EQ(used.count(letter), 0u) << "'" << letter << "' in " << text << " and " << used[letter];
      used[letter] = text;
    }
  };
  std::vector<std::string> titles;
  for (const MenuItem& title : Items(main_)) titles.push_back(title.text);
  expectLetters(titles);
  int pauseSeen = 0;
  for (HMENU popup : Popups()) {
    std::vector<std::string> texts;
    for (const MenuItem& item : Items(popup))
      if (!IsSeparator(item)) texts.push_back(item.text);
    expectLetters(texts);
    for (UINT runtimeText : {IDS_MENU_PAUSE, IDS_MENU_RESUME}) {
      std::vector<std::string> changed;
      for (const MenuItem& item : Items(popup)) {
        if (IsSeparator(item)) continue;
        if (item.id == IDM_SOUND_PAUSE) ++pauseSeen;
        changed.push_back(item.id == IDM_SOUND_PAUSE ? bench::LanguageString(runtimeText) : item.text);
      }
      SCOPED_TRACE(bench::LanguageString(runtimeText));
      expectLetters(changed);
    }
  }
  EXPECT_EQ(pauseSeen, 2);  // once for each of the two texts
}

// Separators stand between groups of items: never first, last or twice in a
// row, and no popup is empty.
TEST_F(Menus, SeparatorsStandOnlyBetweenItems) {
  std::vector<HMENU> popups = Popups();
  popups.push_back(GetSubMenu(list_, 0));
  for (HMENU popup : popups) {
    std::vector<MenuItem> items = Items(popup);
    ASSERT_FALSE(items.empty());
    EXPECT_FALSE(IsSeparator(items.front()));
    EXPECT_FALSE(IsSeparator(items.back()));
    for (size_t i = 1; i < items.size(); ++i)
      EXPECT_FALSE(IsSeparator(items[i - 1]) && IsSeparator(items[i])) << "at " << i;
  }
}

// A command is in the main menu once; the list's menu repeats some of them
// under the same name (without keyboard letters or keys, as a context menu).
TEST_F(Menus, EachCommandOnceInTheMainMenuAndTheListMenuCallsItsCommandsAlike) {
  std::map<UINT, std::string> names;
  for (const MenuItem& item : Commands()) {
    EXPECT_EQ(names.count(item.id), 0u) << item.text << " and " << names[item.id] << " send the same command";
    names[item.id] = NameOf(item.text);
  }
  for (const MenuItem& item : Items(GetSubMenu(list_, 0))) {
    if (IsSeparator(item)) continue;
    EXPECT_EQ(item.subMenu, nullptr);
    auto same = names.find(item.id);
    if (same != names.end()) {
      EXPECT_EQ(item.text, same->second);
    }
  }
}

// The menu as loaded shows the state of a program that plays nothing: the
// items that are grey are the commands the program does not allow then.
// (Paste follows the clipboard, which no resource can know: grey until the
// program has looked.)
TEST_F(Menus, TheMainMenuGreysWhatTheProgramRefusesWhileNothingPlays) {
  g_playback.playing = 0;
  g_playback.playAllRunning = 0;
  g_playback.paused = 0;
  g_mediaCaps = CdAudio;  // a CD drive, so its commands are allowed
  for (const MenuItem& item : Commands()) {
    if (item.id == IDM_EDIT_PASTE) continue;
    SCOPED_TRACE(item.text);
    EXPECT_EQ((item.state & MFS_GRAYED) != 0, !CommandAvailable(static_cast<int>(item.id)));
  }
  g_mediaCaps = 0;
}

// ---- accelerators ------------------------------------------------------------

std::vector<ACCEL> Accelerators() {
  std::vector<ACCEL> entries;
  HACCEL table = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  EXPECT_NE(table, nullptr);
  if (!table) return entries;
  entries.resize(CopyAcceleratorTableA(table, nullptr, 0));
  CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
  DestroyAcceleratorTable(table);
  return entries;
}

const BYTE kModifiers = FCONTROL | FALT | FSHIFT;

// A key hint as the accelerator it stands for: "F5", "Ctrl+P", "Alt+Enter",
// "Del". False for a hint this test cannot read.
bool ParseHint(std::string hint, BYTE* modifiers, WORD* key) {
  *modifiers = 0;
  const std::pair<const char*, BYTE> prefixes[] = {{"Ctrl+", FCONTROL}, {"Alt+", FALT}, {"Shift+", FSHIFT}};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [prefix, bit] : prefixes) {
      if (hint.compare(0, strlen(prefix), prefix) != 0) continue;
      *modifiers |= bit;
      hint.erase(0, strlen(prefix));
      found = true;
    }
  }
  const std::pair<const char*, WORD> named[] = {
      {"Del", VK_DELETE}, {"Enter", VK_RETURN}, {"Ins", VK_INSERT}, {"Esc", VK_ESCAPE}, {"Space", VK_SPACE},
      {"Tab", VK_TAB},    {"Home", VK_HOME},    {"End", VK_END},    {"Up", VK_UP},      {"Down", VK_DOWN}};
  for (const auto& [name, code] : named)
    if (hint == name) return *key = code, true;
  if (hint.size() == 1 && isalnum(static_cast<unsigned char>(hint[0])))
    return *key = static_cast<WORD>(toupper(static_cast<unsigned char>(hint[0]))), true;
  if (hint.size() >= 2 && hint[0] == 'F') {
    int number = atoi(hint.c_str() + 1);
    if (number >= 1 && number <= 24 && std::to_string(number) == hint.substr(1))
      return *key = static_cast<WORD>(VK_F1 + number - 1), true;
  }
  return false;
}

// The key a menu item of either menu names after its tab is an accelerator
// of its own command, with the same modifiers; the texts the program gives
// the Pause item name the same key.
TEST_F(Menus, EveryKeyHintIsAnAcceleratorOfItsCommand) {
  std::vector<ACCEL> table = Accelerators();
  int hints = 0;
  std::vector<MenuItem> items = Commands();
  for (const MenuItem& item : Items(GetSubMenu(list_, 0)))
    if (!IsSeparator(item)) items.push_back(item);
  for (const MenuItem& item : items) {
    std::string hint = HintOf(item.text);
    if (hint.empty()) continue;
    ++hints;
    SCOPED_TRACE(item.text);
    BYTE modifiers = 0;
    WORD key = 0;
    ASSERT_TRUE(ParseHint(hint, &modifiers, &key)) << "a hint that names no key: " << hint;
    bool found = false;
    for (const ACCEL& entry : table)
      if (entry.key == key && (entry.fVirt & kModifiers) == modifiers) {
        found = true;
        EXPECT_EQ(entry.cmd, item.id) << hint << " runs another command";
      }
    EXPECT_TRUE(found) << hint << " is no accelerator";
    if (item.id == IDM_SOUND_PAUSE) {
      EXPECT_EQ(HintOf(bench::LanguageString(IDS_MENU_PAUSE)), hint);
      EXPECT_EQ(HintOf(bench::LanguageString(IDS_MENU_RESUME)), hint);
    }
  }
  EXPECT_GT(hints, 0);
}

// Every accelerator runs a command of the main menu or the list's menu,
// whose item shows one of its keys; accelerators are virtual keys, and no
// key runs two commands.
TEST_F(Menus, EveryAcceleratedCommandShowsAKeyAndNoKeyRunsTwoCommands) {
  std::map<UINT, std::string> hints;
  for (const MenuItem& item : Items(GetSubMenu(list_, 0)))
    if (!IsSeparator(item)) hints[item.id] = HintOf(item.text);
  for (const MenuItem& item : Commands()) hints[item.id] = HintOf(item.text);
  std::vector<ACCEL> table = Accelerators();
  ASSERT_FALSE(table.empty());
  std::map<std::pair<BYTE, WORD>, WORD> keys;
  for (const ACCEL& entry : table) {
    SCOPED_TRACE(testing::Message() << "key " << entry.key << " command " << entry.cmd);
    EXPECT_EQ(entry.fVirt & ~kModifiers, FVIRTKEY | FNOINVERT);
    auto hint = hints.find(entry.cmd);
    ASSERT_NE(hint, hints.end()) << "a command that is in no menu";
    EXPECT_NE(hint->second, "") << "its menu item shows no key";
    auto key = std::make_pair(static_cast<BYTE>(entry.fVirt & kModifiers), entry.key);
    EXPECT_EQ(keys.count(key), 0u) << "the key also runs command " << keys[key];
    // Control with Alt is left to the global hot keys.
    EXPECT_NE(entry.fVirt & (FCONTROL | FALT), FCONTROL | FALT) << "a key of the hot keys' kind";
    keys[key] = entry.cmd;
  }
}

// ---- dialogs -------------------------------------------------------------------

enum Kind { Label, Group, Explanation, Field, Spin, Push, Check, Radio, List, Combo, Icon };

// Every dialog template that ids.h names.
std::vector<bench::IdDefine> DialogIds() { return bench::IdDefinesNamed("IDD_"); }

WNDPROC g_editProc;

LRESULT CALLBACK EditSuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(g_editProc, window, message, wParam, lParam);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Creates each template hidden and modeless, owned by a window of the test,
// with VA32RA.dll providing "ovSpin" and the test an "ovSEdit" of its own.
class DialogTemplates : public testing::TestWithParam<bench::IdDefine> {
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
    id_ = static_cast<int>(GetParam().value);
    dialog_ = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(id_), owner_, QuietDialogProc, 0);
    ASSERT_NE(dialog_, nullptr) << GetParam().name << " error " << GetLastError();
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

  // Rectangle of a child in the dialog's client coordinates; a combo box
  // counts without its drop-down list.
  RECT RectOf(HWND child) const {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    if (lstrcmpiA(bench::ClassName(child).c_str(), "ComboBox") == 0) rect.bottom = rect.top + 14;
    return rect;
  }

  static HMODULE controlLibrary_;
  static bool editRegistered_;
  static HWND owner_;
  int id_ = 0;
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
  EXPECT_EQ(lstrcmpiA(cls.c_str(), "ComboBox"), 0) << "a control of class " << cls;
  return Combo;
}

TEST_P(DialogTemplates, IsAHiddenModalFrameWithATitle) {
  EXPECT_NE(bench::WindowText(dialog_), "");
  EXPECT_TRUE(HasStyle(dialog_, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
  EXPECT_FALSE(IsWindowVisible(dialog_));
}

// What a dialog's code names (the source files that name its template) is
// in the template; ids are unique but for the labels'.
TEST_P(DialogTemplates, HoldsEveryControlItsCodeNamesOnce) {
  std::set<int> ids;
  for (HWND child : Children()) {
    if (IsStaticId(child)) continue;
    EXPECT_TRUE(ids.insert(GetDlgCtrlID(child)).second) << "id " << GetDlgCtrlID(child) << " twice";
  }
  std::set<std::string> controlNames;
  for (const bench::IdDefine& define : bench::IdDefinesNamed("IDC_")) controlNames.insert(define.name);
  int files = 0;
  for (const bench::SourceFile& file : bench::ProgramSources()) {
    std::set<std::string> templates = bench::NamesIn(file.text, "IDD_");
    // A file that serves several templates may name a control of any one.
    if (templates != std::set<std::string>{GetParam().name}) continue;
    ++files;
    for (const std::string& name : bench::NamesIn(file.text, "IDC_")) {
      if (!controlNames.count(name) || name == "IDC_STATIC") continue;
      EXPECT_NE(GetDlgItem(dialog_, static_cast<int>(bench::IdValue(name))), nullptr)
          << file.path << " names " << name << ", which the template lacks";
    }
  }
  EXPECT_GT(files, 0) << "no source shows " << GetParam().name;
}

// Fields are the program's framed "ovSEdit", each number field is followed by
// its "ovSpin" placed over the field's right end, and every input takes the
// keyboard.
TEST_P(DialogTemplates, ControlsAreOfTheProgramsClassesWithTheirStyles) {
  std::vector<HWND> children = Children();
  for (size_t i = 0; i < children.size(); ++i) {
    HWND child = children[i];
    Kind kind = KindOf(child);
    SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(GetDlgCtrlID(child)));
    // Only the Add button starts hidden; the dialog shows it in add mode.
    EXPECT_EQ(HasStyle(child, WS_VISIBLE), GetDlgCtrlID(child) != IDC_ADD);
    switch (kind) {
      case Field:
        EXPECT_EQ(bench::WindowText(child), "");
        [[fallthrough]];
      case Push:
      case Check:
      case List:
      case Combo:
        EXPECT_TRUE(HasStyle(child, WS_TABSTOP));
        break;
      case Spin: {
        EXPECT_TRUE(HasStyle(child, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS));
        ASSERT_GT(i, 0u);
        // Right after its buddy, so that the buddy is the field it steps.
        ASSERT_EQ(KindOf(children[i - 1]), Field);
        // Over the field's right end (within the rounding of dialog units).
        RECT spin = RectOf(child), field = RectOf(children[i - 1]);
        EXPECT_NEAR(spin.right, field.right, 2);
        EXPECT_GT(spin.left, field.left);
        EXPECT_EQ(spin.top, field.top);
        break;
      }
      case Explanation:
        EXPECT_NE(bench::WindowText(child), "");
        break;
      case Icon:
        EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0) << "icon of the dialog";
        break;
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
}

// The command buttons end the tab order in one row below every other
// control: the one default button (the dialog's OK), a Cancel or Close, and
// Help among them.
TEST_P(DialogTemplates, EndsWithOneRowOfCommandButtonsWithDefaultCancelAndHelp) {
  std::vector<HWND> children = Children();
  auto isPush = [&](size_t i) { return KindOf(children[i]) == Push; };
  auto isDefault = [&](size_t i) { return isPush(i) && (StyleOf(children[i]) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; };
  size_t defaultButton = children.size();
  for (size_t i = 0; i < children.size(); ++i) {
    if (!isDefault(i)) continue;
    EXPECT_EQ(defaultButton, children.size()) << "two default buttons";
    defaultButton = i;
  }
  ASSERT_LT(defaultButton, children.size()) << "no default button";
  const int defaultId = GetDlgCtrlID(children[defaultButton]);
  EXPECT_TRUE(defaultId == IDC_OK || defaultId == IDOK) << defaultId;
  const LONG top = RectOf(children[defaultButton]).top;
  size_t first = children.size();
  while (first > 0 && isPush(first - 1) && RectOf(children[first - 1]).top == top) --first;
  EXPECT_LE(first, defaultButton) << "the buttons after the default one leave its row";
  std::set<int> row;
  for (size_t i = first; i < children.size(); ++i) row.insert(GetDlgCtrlID(children[i]));
  EXPECT_TRUE(row.count(IDCANCEL));
  EXPECT_TRUE(row.count(IDC_HELP_BUTTON));
  for (size_t i = 0; i < first; ++i)
    EXPECT_LE(RectOf(children[i]).bottom, top) << "id " << GetDlgCtrlID(children[i]) << " below the buttons";
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
      EXPECT_FALSE(IntersectRect(&overlap, &rect, &b))
          << "overlaps " << bench::WindowText(children[j]) << " id " << GetDlgCtrlID(children[j]);
    }
  }
  SelectObject(dc, oldFont);
  ReleaseDC(dialog_, dc);
}

std::string DialogName(const testing::TestParamInfo<bench::IdDefine>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(All, DialogTemplates, testing::ValuesIn(DialogIds()), DialogName);

// ---- the resources as a whole --------------------------------------------------

BOOL CALLBACK AddResourceId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::set<long>*>(ids)->insert(static_cast<long>(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

std::set<long> ResourceIds(LPCSTR type) {
  std::set<long> ids;
  EnumResourceNamesA(Instance(), type, AddResourceId, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

// The program holds exactly the icons, bitmaps, dialogs, menus and
// accelerators that ids.h names: none is missing, none left over or under
// another kind's id.
TEST(Resources, AreExactlyThoseIdsHNames) {
  EXPECT_EQ(ResourceIds(RT_GROUP_ICON), IdValues("IDI_"));
  EXPECT_EQ(ResourceIds(RT_BITMAP), IdValues("IDB_"));
  EXPECT_EQ(ResourceIds(RT_DIALOG), IdValues("IDD_"));
  std::set<long> menusAndKeys = ResourceIds(RT_MENU);
  for (long id : ResourceIds(RT_ACCELERATOR)) menusAndKeys.insert(id);
  EXPECT_EQ(menusAndKeys, IdValues("IDR_"));
}

// A button's icon has the button's id, a kind's icon the kind's, and each
// kind has its bitmap for the list's rows (ids.h says so).
TEST(Resources, EveryButtonAndKindHasItsIconAndEveryKindItsBitmap) {
  std::set<long> icons = IdValues("IDI_");
  for (const bench::IdDefine& button : bench::IdDefinesNamed("IDC_BTN_"))
    EXPECT_EQ(icons.count(button.value), 1u) << button.name << " has no icon";
  std::vector<bench::IdDefine> kinds = bench::IdDefinesNamed("IDK_");
  EXPECT_FALSE(kinds.empty());
  for (const bench::IdDefine& kind : kinds) {
    std::string name = kind.name.substr(4);  // IDK_WAVE -> WAVE
    EXPECT_EQ(bench::IdValue("IDI_KIND_" + name), kind.value) << kind.name;
    EXPECT_NE(bench::IdValue("IDB_KIND_" + name), -1) << kind.name;
  }
}

// ---- icons ---------------------------------------------------------------------

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
  for (long id : IdValues("IDI_")) {
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
}

// The row pictures are the kinds' pictures again at row sizes (a Pause row
// shows the Pause kind's picture), so only the others must differ.
TEST(Icons, EveryPictureIsDistinctAndFillsItsButton) {
  std::map<std::vector<DWORD>, long> seen;
  for (long id : IdValues("IDI_")) {
    if (id >= IDI_ROW_WAVE && id <= IDI_ROW_AUDIO) continue;
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
  for (long id : IdValues("IDB_")) {
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
