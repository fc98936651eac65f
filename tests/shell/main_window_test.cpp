// The real main window inside the test process, for what no person's key
// or click can give from outside: files dropped as the desktop shell hands
// them over, and the window's size at a first start.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "shell/button_ribbon.h"
#include "shell/control_superclasses.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "state/main_window_state.h"

namespace {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    g_state.instance = GetModuleHandleA(nullptr);
    g_state.languageModule = bench::LanguageModule();
    g_state.playAllStop = 0;
    g_state.animationStop = 0;
    ResetEvent(g_state.threadsQuit.handle());
    LoadSettings();
    // Other tests of this process may have registered some classes already.
    WNDCLASSA existing;
    HINSTANCE instance = g_state.instance;
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
    g_state.popupMenu = LoadMenuA(g_state.instance, MAKEINTRESOURCEA(IDR_POPUP_MENU));
    window_ = CreateWindowExA(0, kMainWindowClass, "Wendle", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                              g_state.instance, nullptr);
    ASSERT_TRUE(window_);
    ShowWindow(window_, SW_SHOWNORMAL);
  }
  void TearDown() override {
    g_state.listModified = 0;
    if (IsWindow(window_)) SendMessageA(window_, WM_CLOSE, 0, 0);
    WaitForWorkersToEnd();
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the window's end of the message loop
    EXPECT_EQ(modals_.Failures(), 0);
  }

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
  ASSERT_EQ(SendMessageA(g_state.listBox, LB_GETCOUNT, 0, 0), 3);
  LockedBlock<SoundObject> last(ObjectAt(2));
  char name[kTextBufferSize] = "";
  CopyTextBlock(last->fileName, name, sizeof name);
  EXPECT_NE(std::string(name).find("\\THREE.WAV"), std::string::npos) << name;  // upper-cased, as kept
  EXPECT_EQ(g_state.listModified, 1);
}

TEST_F(MainWindowTest, AFirstStartWithoutAPlaceGetsTheSmallestSize) {
  RECT rect;
  GetWindowRect(window_, &rect);
  int screen = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(rect.right - rect.left, 586);
  EXPECT_EQ(rect.bottom - rect.top, screen <= 380 ? screen : 380);
}

TEST_F(MainWindowTest, BusyCommandsAreRefusedAndOthersRun) {
  g_state.playing = 1;
  SendMessageA(window_, WM_COMMAND, IDM_SOUND_ADD, 0);  // refused: no dialog opens
  SendMessageA(window_, WM_COMMAND, IDM_FILE_NEW, 0);
  EXPECT_TRUE(modals_.Records().empty());
  g_state.playing = 0;

  modals_.AnswerMessageBox(IDOK);  // Modify with nothing selected says so
  SendMessageA(g_state.listBox, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageA(window_, WM_COMMAND, IDM_SOUND_MODIFY, 0);
  ASSERT_EQ(modals_.Records().size(), 1u);
  EXPECT_EQ(modals_.Records()[0].text, bench::LanguageString(IDS_NOTHING_SELECTED));
}

}  // namespace
