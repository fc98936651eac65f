// The real main window inside the test process, for what no person's key
// or click can give from outside: files dropped as the desktop shell hands
// them over, and the window's size at a first start.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "shell/button_ribbon.h"
#include "shell/command_state.h"
#include "shell/control_superclasses.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "shell/shell_state.h"
#include "playback/media_devices.h"
#include "support/language.h"
#include "storage/list_file.h"

namespace {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    g_globals.instance = GetModuleHandleA(nullptr);
    SetLanguageModule(bench::LanguageModule());
    g_playback.playAllStop = 0;
    g_playback.animationStop = 0;
    ResetEvent(g_globals.quit.handle());
    LoadSettings();
    // Other tests of this process may have registered some classes already.
    WNDCLASSA existing;
    HINSTANCE instance = g_globals.instance;
    if (!GetClassInfoA(instance, kMainWindowClass, &existing)) {
      ASSERT_TRUE(RegisterMainWindowClass());
    }
    if (!GetClassInfoA(instance, "FrameRibbonClass", &existing)) {
      ASSERT_TRUE(RegisterRibbonClass(instance));
    }
    if (!GetClassInfoA(instance, "ovSEdit", &existing)) {
      ASSERT_TRUE(RegisterEditSuperclass(instance));
    }
    if (!GetClassInfoA(instance, "ovSListBox", &existing)) {
      ASSERT_TRUE(RegisterListBoxSuperclass(instance));
    }
    RECT noPlace = {};
    window_ = CreateMainWindow(noPlace, list_);
    ASSERT_TRUE(window_);
    ShowWindow(window_, SW_SHOWNORMAL);
  }
  void TearDown() override {
    list_.SetModified(false);
    if (IsWindow(window_)) SendMessageA(window_, WM_CLOSE, 0, 0);
    WaitForWorkersToEnd();
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the window's end of the message loop
    EXPECT_EQ(modals_.Failures(), 0);
  }

  ObjectList list_;
  HWND window_ = nullptr;
  bench::ModalScript modals_;
};

// A drop as the desktop shell builds it: DROPFILES, then the names, each
// ended by a NUL, and one more NUL.
HDROP MakeDrop(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += name + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GHND | GMEM_SHARE, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(MainWindowTest, DroppedSoundFilesAreAppendedAndCounted) {
  std::string folder = bench::TempDir();
  PostMessageA(window_, WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({folder + "\\one.wav", folder + "\\two.mid", folder + "\\notes.txt",
                                                  folder + "\\list.wdl", folder + "\\three.wav"})),
               0);
  modals_.AnswerMessageBox(IDOK);
  bench::PumpUntil([&] { return !modals_.Records().empty() && modals_.Pending() == 0; });
  ASSERT_EQ(modals_.Records().size(), 1u);
  EXPECT_EQ(modals_.Records()[0].text, "Files added to the list: 3");
  EXPECT_EQ(modals_.Records()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONASTERISK));
  ASSERT_EQ(SendMessageA(MainView().window(), LB_GETCOUNT, 0, 0), 3);
  LockedBlock<SoundObject> last(list_.At(2));
  char name[kTextBufferSize] = "";
  CopyTextBlock(last->fileName, name, sizeof name);
  EXPECT_NE(std::string(name).find("\\THREE.WAV"), std::string::npos) << name;  // upper-cased, as kept
  EXPECT_TRUE(MainView().list().Modified());
}

// The desktop shell hands dropped names over in wide characters: names in
// any script arrive whole, upper-cased as every name is kept; a name too
// long for the program's buffers is left out, and the user told.
TEST_F(MainWindowTest, DroppedNamesInAnyScriptArriveWholeAndOverlongOnesAreRefused) {
  std::wstring folder;
  for (char c : bench::TempDir()) folder += static_cast<wchar_t>(c);
  const std::vector<std::wstring> names = {L"мелодия.wav", L"ωδη.wav", L"旋律.wav", L"🎵 tune.mid",
                                           std::wstring(300, L'ж') + L".wav"};
  std::wstring list;
  for (const std::wstring& name : names) list += folder + L"\\" + name + L'\0';
  list += L'\0';
  size_t bytes = list.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND | GMEM_SHARE, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), bytes);
  GlobalUnlock(memory);
  PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  modals_.AnswerMessageBox(IDOK);
  modals_.AnswerMessageBox(IDOK);
  bench::PumpUntil([&] { return modals_.Records().size() == 2 && modals_.Pending() == 0; });
  ASSERT_EQ(modals_.Records().size(), 2u);
  EXPECT_EQ(modals_.Records()[0].text, bench::LanguageString(IDS_NAME_TOO_LONG));
  EXPECT_EQ(modals_.Records()[1].text, "Files added to the list: 4");
  const std::vector<std::wstring> rows = {L"МЕЛОДИЯ.WAV", L"ΩΔΗ.WAV", L"旋律.WAV", L"🎵 TUNE.MID"};
  ASSERT_EQ(SendMessageW(MainView().window(), LB_GETCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {
    wchar_t row[600] = L"";
    SendMessageW(MainView().window(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
    std::wstring text = row;
    ASSERT_GE(text.size(), rows[static_cast<size_t>(i)].size());
    EXPECT_EQ(text.substr(text.size() - rows[static_cast<size_t>(i)].size()), rows[static_cast<size_t>(i)]) << i;
  }
}

// A sort and its Undo rebuild every row: each row then reads (as a screen
// reader reads it) its own object's text in any script, the same objects
// stay selected, and the focus and the anchor of Shift go to the first of
// them.
TEST_F(MainWindowTest, AfterASortEveryRowReadsItsObjectAndTheSelectionFollowsItsObjects) {
  const std::vector<std::string> descriptions = {"delta", "Ωμέγα", "alpha", "жук", "beta", "旋律", "gamma", "epsilon"};
  for (const std::string& text : descriptions) {
    SoundObjectHandle handle = MakeFileObject(Wave, "C:\\A.WAV", 0);
    std::string_view description(text);
    SoundObject values = {};
    values.flags = Wave;
    std::string_view path("C:\\A.WAV");
    ASSERT_TRUE(StoreSoundObject(handle, values, &description, &path));
    list_.Insert(-1, handle);
  }
  auto rowsReadTheirObjects = [&] {
    for (int i = 0; i < list_.Count(); ++i) {
      char text[512] = "";
      {
        LockedBlock<SoundObject> record(list_.At(i));
        ObjectRowText(*record, text, sizeof text);
      }
      wchar_t expected[512] = L"", row[512] = L"";
      MultiByteToWideChar(CP_ACP, 0, text, -1, expected, 512);
      SendMessageW(MainView().window(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
      EXPECT_EQ(std::wstring(row), std::wstring(expected)) << "row " << i;
    }
  };
  // Two runs of rows and one row alone.
  MainView().SelectRows({1, 2, 3, 5, 7});
  std::vector<SoundObjectHandle> chosen;
  for (int row : MainView().SelectedRows()) chosen.push_back(list_.At(row));
  for (int command : {IDM_SORT_DESCRIPTION, IDM_SORT_DESCRIPTION + 1}) {
    OnCommand(window_, command, 0);
    rowsReadTheirObjects();
    std::vector<int> expected;
    for (SoundObjectHandle handle : chosen) expected.push_back(list_.IndexOf(handle));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(MainView().SelectedRows(), expected) << command;
    HWND rows = MainView().window();
    EXPECT_EQ(SendMessageA(rows, LB_GETCARETINDEX, 0, 0), expected.front()) << command;
    EXPECT_EQ(SendMessageA(rows, LB_GETANCHORINDEX, 0, 0), expected.front()) << command;
  }
  OnCommand(window_, IDM_EDIT_UNDO, 0);
  OnCommand(window_, IDM_EDIT_UNDO, 0);
  rowsReadTheirObjects();
  LockedBlock<SoundObject> first(list_.At(0));
  char text[64] = "";
  ObjectRowText(*first, text, sizeof text);
  EXPECT_STREQ(text, "delta");
}

// After a save the status bar describes the selected object again, not
// the save's progress.
TEST_F(MainWindowTest, AfterASaveTheStatusBarDescribesTheSelectedObject) {
  const std::string list = bench::TempPath("status.wdl");
  ASSERT_TRUE(bench::WriteFileBytes(list, "WDv1.0\nfirst\nC:\\A.WAV\n1 0 0 0\nsecond\nC:\\B.WAV\n1 2 0 0\n"));
  ASSERT_TRUE(LoadList(window_, list_, list.c_str(), ListLoadOpen));
  bench::SelectRow(MainView().window(), 1);
  OnCommand(window_, IDM_FILE_SAVE, 0);
  EXPECT_EQ(bench::ReadFileBytes(list), "WDv1.0\nfirst\nC:\\A.WAV\n1 0 0 0\nsecond\nC:\\B.WAV\n1 2 0 0\n");
  EXPECT_EQ(bench::SelectedRow(MainView().window()), 1);
  char status[256] = "";
  SendMessageA(g_shell.statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_EQ(std::string(status), "Repeat:2  Pause:0   C:\\B.WAV");
}

// What a screen reader reads on the icon-only buttons: each one's window
// text is its name, and its tooltip adds the key.
TEST_F(MainWindowTest, EveryIconButtonHasANameAndATooltip) {
  struct Expected {
    int id;
    const char* name;
    const char* tip;
  };
  const Expected names[] = {
      {IDC_BTN_NEW, "New", "New (Ctrl+N)"},
      {IDC_BTN_OPEN, "Open", "Open (Ctrl+O)"},
      {IDC_BTN_INSERT, "Insert", "Insert"},
      {IDC_BTN_APPEND, "Append", "Append"},
      {IDC_BTN_SAVE, "Save", "Save (Ctrl+S)"},
      {IDC_BTN_BROWSE, "Browse", "Browse"},
      {IDC_BTN_ADD, "Add Sound Object", "Add Sound Object (F4)"},
      {IDC_BTN_REMOVE, "Remove Sound Object", "Remove Sound Object (F5)"},
      {IDC_BTN_MODIFY, "Modify Sound Object", "Modify Sound Object (F6)"},
      {IDC_BTN_HOT_KEYS, "Modify Hot Keys", "Modify Hot Keys"},
      {IDC_BTN_CATALOG_CD, "Catalog Active CD", "Catalog Active CD (F8)"},
      {IDC_BTN_PLAY_ALL_MODE, "Play All Mode", "Play All Mode"},
      {IDC_BTN_HELP, "Help Index", "Help Index (F1)"},
      {IDC_BTN_PLAY, "Play Selected Item", "Play Selected Item (F2)"},
      {IDC_BTN_STOP_SKIP, "Stop/Skip Current Sound", "Stop/Skip Current Sound (F3)"},
      {IDC_BTN_PLAY_ALL, "Play All", "Play All"},
      {IDC_BTN_STOP_PLAY_ALL, "Stop Play All", "Stop Play All"},
  };
  ASSERT_TRUE(g_shell.buttonTips);
  EXPECT_EQ(SendMessageA(g_shell.buttonTips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(names)));
  for (const auto& [id, name, expected] : names) {
    HWND button = GetDlgItem(g_shell.ribbon, id);
    if (!button) button = GetDlgItem(window_, id);
    ASSERT_TRUE(button) << id;
    EXPECT_EQ(bench::WindowText(button), name) << id;
    char tip[128] = "";
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = GetParent(button);
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = tip;
    SendMessageA(g_shell.buttonTips, TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::string(tip), expected) << id;
  }
}

TEST_F(MainWindowTest, AFirstStartGetsItsFirstSizeAndItCanBeMadeSmallerWhileTheButtonsFit) {
  RECT rect;
  GetWindowRect(window_, &rect);
  EXPECT_EQ(rect.right - rect.left, kFirstWidth);
  EXPECT_EQ(rect.bottom - rect.top, kFirstHeight);

  // As small as the window lets itself be made: smaller than the first
  // size, and every button is still seen whole in the client area.
  SetWindowPos(window_, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  bench::PumpMessages();
  GetWindowRect(window_, &rect);
  EXPECT_LT(rect.right - rect.left, kFirstWidth);
  EXPECT_LT(rect.bottom - rect.top, kFirstHeight);
  RECT client, status;
  GetClientRect(window_, &client);
  GetWindowRect(g_shell.statusBar, &status);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&status), 2);
  for (HWND button : {GetDlgItem(g_shell.ribbon, IDC_BTN_HELP), GetDlgItem(window_, IDC_BTN_PLAY_ALL)}) {
    RECT place;
    GetWindowRect(button, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_LE(place.right, client.right);
    EXPECT_LE(place.bottom, status.top);
  }
}

TEST_F(MainWindowTest, BusyCommandsAreRefusedAndOthersRun) {
  g_playback.playing = 1;
  SendMessageA(window_, WM_COMMAND, IDM_SOUND_ADD, 0);  // refused: no dialog opens
  SendMessageA(window_, WM_COMMAND, IDM_FILE_NEW, 0);
  EXPECT_TRUE(modals_.Records().empty());
  g_playback.playing = 0;

  modals_.AnswerMessageBox(IDOK);  // Modify with nothing selected says so
  bench::SelectRow(MainView().window(), -1);
  SendMessageA(window_, WM_COMMAND, IDM_SOUND_MODIFY, 0);
  ASSERT_EQ(modals_.Records().size(), 1u);
  EXPECT_EQ(modals_.Records()[0].text, bench::LanguageString(IDS_NOTHING_SELECTED));
}

bool PopupEnabled(HWND window, int position) {
  return !(GetMenuState(GetMenu(window), position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
}
bool ItemEnabled(HWND window, UINT id) {
  return !(GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}
bool ButtonEnabled(HWND parent, int id) { return IsWindowEnabled(GetDlgItem(parent, id)) != FALSE; }

// The one predicate behind every way in: the menu bar, the menu items and
// the buttons show what the playing state allows.
TEST_F(MainWindowTest, MenusAndButtonsFollowThePlayingState) {
  g_playback.playing = 1;
  UpdateCommandStates(window_);
  EXPECT_FALSE(PopupEnabled(window_, 0));  // File
  EXPECT_TRUE(PopupEnabled(window_, 1));   // Edit: Select All, Find
  EXPECT_TRUE(PopupEnabled(window_, 2));   // Sound: Stop/Skip
  EXPECT_FALSE(PopupEnabled(window_, 3));  // Options
  EXPECT_TRUE(PopupEnabled(window_, 4));   // Help
  for (UINT id : {IDM_EDIT_UNDO, IDM_EDIT_REDO, IDM_EDIT_CUT, IDM_EDIT_PASTE, IDM_SORT_DESCRIPTION, IDM_SORT_KIND_DOWN,
                  IDM_EDIT_SHUFFLE})
    EXPECT_FALSE(ItemEnabled(window_, id)) << id;
  EXPECT_TRUE(ItemEnabled(window_, IDM_EDIT_SELECT_ALL));
  for (UINT id : {IDM_SOUND_PLAY_SELECTED, IDM_SOUND_PLAY_ALL, IDM_SOUND_BROWSE, IDM_SOUND_ADD, IDM_SOUND_REMOVE,
                  IDM_SOUND_MODIFY, IDM_SOUND_STOP_PLAY_ALL})
    EXPECT_FALSE(ItemEnabled(window_, id)) << id;
  EXPECT_TRUE(ItemEnabled(window_, IDM_SOUND_STOP_SKIP));
  EXPECT_TRUE(ItemEnabled(window_, IDM_HELP_ABOUT));
  for (int id : {IDC_BTN_NEW, IDC_BTN_OPEN, IDC_BTN_SAVE, IDC_BTN_ADD, IDC_BTN_REMOVE, IDC_BTN_PLAY_ALL_MODE})
    EXPECT_FALSE(ButtonEnabled(g_shell.ribbon, id)) << id;
  EXPECT_TRUE(ButtonEnabled(g_shell.ribbon, IDC_BTN_HELP));
  EXPECT_FALSE(ButtonEnabled(window_, IDC_BTN_PLAY));
  EXPECT_TRUE(ButtonEnabled(window_, IDC_BTN_STOP_SKIP));

  g_playback.playAllRunning = 1;  // Stop Play All follows the run
  UpdateCommandStates(window_);
  EXPECT_TRUE(ItemEnabled(window_, IDM_SOUND_STOP_PLAY_ALL));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window_, IDC_BTN_STOP_PLAY_ALL)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window_, IDC_BTN_PLAY_ALL)));

  g_playback.playAllRunning = 0;
  g_playback.playing = 0;
  UpdateCommandStates(window_);
  EXPECT_TRUE(PopupEnabled(window_, 0));
  EXPECT_TRUE(PopupEnabled(window_, 3));
  EXPECT_FALSE(ItemEnabled(window_, IDM_SOUND_STOP_PLAY_ALL));
  EXPECT_TRUE(ItemEnabled(window_, IDM_SOUND_MODIFY));
  EXPECT_TRUE(ButtonEnabled(g_shell.ribbon, IDC_BTN_OPEN));
  EXPECT_TRUE(ButtonEnabled(window_, IDC_BTN_PLAY));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window_, IDC_BTN_PLAY_ALL)));
  // Without a CD-audio device, its two commands are never available.
  bool cd = (g_mediaCaps & CdAudio) != 0;
  EXPECT_EQ(ItemEnabled(window_, IDM_OPT_CATALOG_CD), cd);
  EXPECT_EQ(ItemEnabled(window_, IDM_OPT_ADD_ALL_CD_TRACKS), cd);
}

// Under a modal window of Wendle only the stops are available, and the hot
// key that starts Play All does nothing.
TEST_F(MainWindowTest, UnderAModalWindowOnlyTheStopsAreAvailable) {
  std::vector<bool> available;
  modals_.Act([&](HWND box) {
    for (int id : {IDM_SOUND_PLAY_SELECTED, IDM_SOUND_PLAY_ALL, IDM_FILE_OPEN, IDM_SOUND_REMOVE, IDM_HELP_ABOUT,
                   IDM_SOUND_STOP_SKIP})
      available.push_back(CommandAvailable(id));
    SendMessageA(window_, WM_HOTKEY, IDH_PLAY_ALL, 0);
    available.push_back(g_playback.playAllRunning != 0);
    bench::ClickButton(box, IDOK);
  });
  MessageBoxA(window_, "modal", "Wendle", MB_OK);
  EXPECT_EQ(available, (std::vector<bool>{false, false, false, false, false, true, false}));
  EXPECT_TRUE(CommandAvailable(IDM_SOUND_PLAY_SELECTED));
}

}  // namespace

namespace {

uint32_t RepeatCountAt(const ObjectList& list, int index) {
  LockedBlock<SoundObject> record(list.At(index));
  return record ? record->repeatCount : 999u;
}

}  // namespace

// Modify of several selected objects: the first one's dialog, and the
// repeat count and post delay it is given go to every selected object, as
// one edit; Sort keeps the selection on its objects, and Find selects the
// next object that holds the text.
TEST_F(MainWindowTest, SeveralObjectsShareModifiedCountsAndFollowASort) {
  for (const char* name : {"mod c.wav", "mod a.wav", "mod b.wav", "mod d.wav"})
    list_.Insert(-1, MakeFileObject(Wave, bench::WriteMarkedWave(name, 1, 50).c_str(), 0));
  list_.ForgetHistory();
  list_.SetModified(false);
  MainView().SelectRows({0, 2, 3});
  modals_.Act([](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_REPEAT_COUNT, "7");
    SetDlgItemTextA(dialog, IDC_POST_DELAY, "3");
    SendMessageA(dialog, WM_COMMAND, IDC_OK, 0);
  });
  OnCommand(window_, IDM_SOUND_MODIFY, 0);
  ASSERT_EQ(modals_.Records().size(), 1u);
  EXPECT_EQ(MainView().SelectedRows(), (std::vector<int>{0, 2, 3}));
  for (int i : {0, 2, 3}) {
    LockedBlock<SoundObject> record(list_.At(i));
    EXPECT_EQ(record->repeatCount, 7u) << i;
    EXPECT_EQ(record->postDelay, 3u) << i;
  }
  EXPECT_EQ(RepeatCountAt(list_, 1), 0u);

  SoundObjectHandle b = list_.At(2);
  OnCommand(window_, IDM_SORT_FILE_NAME, 0);
  EXPECT_EQ(list_.IndexOf(b), 1);
  EXPECT_EQ(MainView().SelectedRows(), (std::vector<int>{1, 2, 3}));  // B, C and D: A was not selected
  EXPECT_EQ(RepeatCountAt(list_, 0), 0u);

  modals_.Act([](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, "MOD D");
    SendMessageA(dialog, WM_COMMAND, IDC_OK, 0);
  });
  OnCommand(window_, IDM_EDIT_FIND, 0);
  EXPECT_EQ(MainView().SelectedRows(), std::vector<int>{3});

  OnCommand(window_, IDM_EDIT_UNDO, 0);  // the sort
  OnCommand(window_, IDM_EDIT_UNDO, 0);  // the modify, of all three at once
  for (int i = 0; i < 4; ++i) EXPECT_EQ(RepeatCountAt(list_, i), 0u) << i;
  EXPECT_FALSE(list_.CanUndo());
  EXPECT_FALSE(list_.Modified());
  OnCommand(window_, IDM_EDIT_REDO, 0);
  EXPECT_EQ(RepeatCountAt(list_, 3), 7u);
}
