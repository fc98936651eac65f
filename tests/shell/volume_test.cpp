// The program's volume: the slider and the mute button set the program's
// audio session, whose values the test reads back; a change the mixer
// makes (its notice, from a thread of its own) moves the controls; the
// real program keeps both for its next start.
#include <windows.h>
#include <audiopolicy.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <thread>

#include "bench/program.h"
#include "bench/test_env.h"
#include "playback/session_volume.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "settings/settings_record.h"
#include "shell/volume_control.h"
#include "support/globals.h"
#include "support/language.h"

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SESSIONVOLUME) {
    OnSessionVolume(window, wParam, lParam);
    return 0;
  }
  if (message == WM_HSCROLL) {
    OnVolumeScroll(window, LOWORD(wParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class VolumeControls : public testing::Test {
 protected:
  void SetUp() override {
    bench::ClearRegistry();
    SetLanguageModule(bench::LanguageModule());
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VolumeHost";
    RegisterClassA(&windowClass);
    g_globals.instance = GetModuleHandleA(nullptr);
    LoadSettings();
    host_ = CreateWindowExA(0, "VolumeHost", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
    CreateVolumeControls(host_);
    uint32_t percent = 0;
    bool muted = true;
    if (!ReadSessionVolume(&percent, &muted)) GTEST_SKIP() << "no audio session here";
  }
  void TearDown() override {
    CloseVolumeControls();
    DestroyWindow(host_);
  }
  LRESULT SliderPosition() { return SendDlgItemMessageA(host_, IDC_VOLUME_BAR, TBM_GETPOS, 0, 0); }
  bool MuteShown() { return IsDlgButtonChecked(host_, IDC_MUTE_BUTTON) == BST_CHECKED; }
  static void Pump() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(10);
    }
  }

  // The session's own values. (Wine makes a new session for every request
  // of the process's default one, so only the program's own object of it
  // reads what was set; on Windows the mixer reads the same.)
  static float Level() {
    uint32_t percent = 0;
    bool muted = false;
    ReadSessionVolume(&percent, &muted);
    return static_cast<float>(percent) / 100.0f;
  }
  static bool Muted() {
    uint32_t percent = 0;
    bool muted = false;
    ReadSessionVolume(&percent, &muted);
    return muted;
  }

  HWND host_ = nullptr;
};

TEST_F(VolumeControls, TheControlsSetTheSessionAndFollowTheMixer) {
  EXPECT_EQ(SliderPosition(), 100);  // nothing stored: full
  EXPECT_NEAR(Level(), 1.0f, 0.01f);
  RunVolumeCommand(host_, IDM_SOUND_VOLUME_DOWN);
  RunVolumeCommand(host_, IDM_SOUND_VOLUME_DOWN);
  EXPECT_EQ(SliderPosition(), 90);
  EXPECT_NEAR(Level(), 0.90f, 0.01f);
  RunVolumeCommand(host_, IDM_SOUND_MUTE);
  EXPECT_TRUE(MuteShown());
  EXPECT_TRUE(Muted());
  RunVolumeCommand(host_, IDM_SOUND_MUTE);
  EXPECT_FALSE(Muted());
  for (int i = 0; i < 30; ++i) RunVolumeCommand(host_, IDM_SOUND_VOLUME_UP);
  EXPECT_EQ(SliderPosition(), 100);  // not beyond

  // The slider let go at 37 %.
  SendDlgItemMessageA(host_, IDC_VOLUME_BAR, TBM_SETPOS, TRUE, 37);
  SendMessageA(host_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(GetDlgItem(host_, IDC_VOLUME_BAR)));
  EXPECT_NEAR(Level(), 0.37f, 0.01f);
  DWORD stored = 0;
  ASSERT_TRUE(bench::RegReadDword("Software\\Orvane Software\\Wendle\\Settings", "Volume", &stored));
  EXPECT_EQ(stored, 37u);

  // The mixer's notice comes on a thread of its own; the controls follow
  // on this one, and keep it.
  GUID mixer = {0x1234, 0x5678, 0x9abc, {1, 2, 3, 4, 5, 6, 7, 8}};
  std::thread([&] { SessionVolumeEvents()->OnSimpleVolumeChanged(0.62f, TRUE, &mixer); }).join();
  Pump();
  EXPECT_EQ(SliderPosition(), 62);
  EXPECT_TRUE(MuteShown());
  EXPECT_EQ(g_settings.volume.load(), 62u);
  ASSERT_TRUE(bench::RegReadDword("Software\\Orvane Software\\Wendle\\Settings", "Muted", &stored));
  EXPECT_EQ(stored, 1u);

  // What is stored comes back at the next start.
  g_settings.volume = 100;
  g_settings.muted = 0;
  LoadSettings();
  EXPECT_EQ(g_settings.volume.load(), 62u);
  EXPECT_EQ(g_settings.muted.load(), 1u);
}

// The real program: the keys move the slider and the mute button, and the
// next start shows what was set.
TEST(VolumeProgram, TheVolumeIsKeptForTheNextStart) {
  bench::ClearProgramSettings();
  {
    bench::Program wendle;
    ASSERT_TRUE(wendle.Window());
    HWND slider = wendle.Child(IDC_VOLUME_BAR);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 100);
    wendle.Key(VK_DOWN, true);
    wendle.Key(VK_DOWN, true);
    EXPECT_TRUE(wendle.WaitFor([&] { return SendMessageA(slider, TBM_GETPOS, 0, 0) == 90; }));
    wendle.Key('M', true);
    EXPECT_TRUE(
        wendle.WaitFor([&] { return SendMessageA(wendle.Child(IDC_MUTE_BUTTON), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  }
  bench::Program again;
  ASSERT_TRUE(again.Window());
  EXPECT_EQ(SendMessageA(again.Child(IDC_VOLUME_BAR), TBM_GETPOS, 0, 0), 90);
  EXPECT_EQ(SendMessageA(again.Child(IDC_MUTE_BUTTON), BM_GETCHECK, 0, 0), BST_CHECKED);
  bench::ClearProgramSettings();
}

}  // namespace
