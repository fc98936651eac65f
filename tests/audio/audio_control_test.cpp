// An audio file under the program's controls, heard in the sink: moved by
// the position bar while it plays and while it is held, it goes on from
// the new place (a sound whose two halves are two tones); and its device
// plays at the program's volume.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "tones.h"

namespace {

using bench::Program;

constexpr int kLowTone = 440;
constexpr int kHighTone = 880;
constexpr int kHalfMs = 3000;

// A WAV of kHalfMs of the low tone, then as long of the high one, under
// an audio file's name: the audio file device finds what it holds by its
// bytes.
std::string WriteTwoToneAudioFile(const std::string& name) {
  std::string path = bench::TempPath(name);
  tones::WriteTwoToneWave(path, kLowTone, kHighTone, kHalfMs);
  return path;
}

// The largest sample among float32 bytes in the alignment that reads most
// of them as plausible samples.
double PeakOf(const std::string& bytes) {
  double best = 0;
  size_t bestCount = 0;
  for (size_t align = 0; align < 4; ++align) {
    size_t count = 0;
    double peak = 0;
    for (size_t at = align; at + 4 <= bytes.size(); at += 4) {
      float v;
      memcpy(&v, bytes.data() + at, 4);
      if (!std::isfinite(v) || std::fabs(v) > 1.0f || (v != 0.0f && std::fabs(v) < 1e-6f)) continue;
      ++count;
      peak = std::max(peak, static_cast<double>(std::fabs(v)));
    }
    if (count > bestCount) {
      bestCount = count;
      best = peak;
    }
  }
  return best;
}

bool AudioFilesPlay() { return bench::AudioFileDeviceOpens(WriteTwoToneAudioFile("probe.mp3")); }

class AudioControl : public bench::ProgramTestBase {
 protected:
  void SetUp() override {
    bench::ProgramTestBase::SetUp();
    if (IsSkipped()) return;
    if (!AudioFilesPlay()) GTEST_SKIP() << "MCI \"mpegvideo\" plays no audio file here";
  }

  // The position bar let go at positionMs, as a drag ends.
  static void DragTo(Program& wendle, int positionMs) {
    HWND bar = wendle.Child(IDC_POSITION_BAR);
    SendMessageA(wendle.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0), reinterpret_cast<LPARAM>(bar));
    SendMessageA(bar, TBM_SETPOS, TRUE, positionMs);
    SendMessageA(wendle.Window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
  }
};

TEST_F(AudioControl, AMovedAudioFileGoesOnFromTheNewPlacePlayingAndHeld) {
  const std::string sound = WriteTwoToneAudioFile("twotone.mp3");
  bench::WriteFileBytes(bench::TempPath("two.wdl"), "WDv1.0\n*\n" + sound + "\n32 0 0 0\n");
  Program wendle("two.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; }));
  HWND bar = wendle.Child(IDC_POSITION_BAR);
  const std::vector<int> both{kLowTone, kHighTone};

  // Playing: moved into the second half, the first is not heard again.
  size_t from = bench::SinkSize();
  wendle.Key(VK_F2);
  ASSERT_EQ(tones::WaitForTones(from, both, 1), std::vector<int>{kLowTone});
  ASSERT_TRUE(wendle.WaitFor([&] { return IsWindowEnabled(bar) != FALSE; }));
  EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0), 2 * kHalfMs);
  DragTo(wendle, kHalfMs + 1000);
  size_t moved = bench::SinkSize();
  EXPECT_TRUE(wendle.WaitFor([&] { return !IsWindowEnabled(bar); }));  // it ended
  // What the output had queued before the move still arrives (a tenth of
  // a second or so); after that only the second half, two seconds of it.
  const std::string after = bench::SinkBytes(moved);
  EXPECT_EQ(tones::TonesIn(after.substr(after.size() / 4), both), std::vector<int>{kHighTone});

  // Held: moved, it stays quiet, and goes on from the new place.
  from = bench::SinkSize();
  wendle.Key(VK_F2);
  ASSERT_EQ(tones::WaitForTones(from, both, 1), std::vector<int>{kLowTone});
  wendle.Key('P', true);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().rfind("Paused: ", 0) == 0; })) << wendle.StatusText();
  DragTo(wendle, kHalfMs + 500);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().find("0:03 / 0:06") != std::string::npos; }))
      << wendle.StatusText();
  Sleep(300);
  const size_t held = bench::SinkSize();
  Sleep(1000);
  moved = bench::SinkSize();
  // (The output goes on handing silence over while the device is held.)
  EXPECT_TRUE(tones::TonesIn(bench::SinkBytes(held).substr(0, moved - held), both).empty()) << "the held sound went on";
  wendle.Key('P', true);
  EXPECT_TRUE(wendle.WaitFor([&] { return !IsWindowEnabled(bar); }));
  // As above, what the output had queued at the hold may arrive as it goes
  // on; then only the second half from the new place.
  const std::string resumed = bench::SinkBytes(moved);
  EXPECT_EQ(tones::TonesIn(resumed.substr(resumed.size() / 4), both), std::vector<int>{kHighTone});
}

// The session's volume does not reach the samples under Wine: the audio
// file device is given the volume itself, and plays a quarter as loud at
// 25 %; muted, it is silent.
TEST_F(AudioControl, TheAudioFileDevicePlaysAtTheProgramsVolume) {
  const std::string sound = WriteTwoToneAudioFile("loud.mp3");
  bench::WriteFileBytes(bench::TempPath("loud.wdl"), "WDv1.0\n*\n" + sound + "\n32 0 0 0\n");
  Program wendle("loud.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; }));
  HWND slider = wendle.Child(IDC_VOLUME_BAR);
  EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 100);

  auto playPeak = [&] {
    size_t from = bench::SinkSize();
    wendle.Key(VK_F2);
    EXPECT_TRUE(wendle.WaitFor([&] { return IsWindowEnabled(wendle.Child(IDC_POSITION_BAR)) != FALSE; }));
    EXPECT_TRUE(wendle.WaitFor([&] { return !IsWindowEnabled(wendle.Child(IDC_POSITION_BAR)); }, 20000));
    return PeakOf(bench::SinkBytes(from));
  };
  const double full = playPeak();
  ASSERT_GT(full, 0.1);
  for (int step = 0; step < 15; ++step) wendle.Key(VK_DOWN, true);  // Ctrl+Down: 5 % each
  ASSERT_TRUE(wendle.WaitFor([&] { return SendMessageA(slider, TBM_GETPOS, 0, 0) == 25; }));
  const double quarter = playPeak();
  printf("Peak at 100 %%: %.3f, at 25 %%: %.3f\n", full, quarter);
  EXPECT_NEAR(quarter / full, 0.25, 0.08);
  wendle.Key('M', true);  // Mute
  ASSERT_TRUE(wendle.WaitFor([&] { return SendMessageA(wendle.Child(IDC_MUTE_BUTTON), BM_GETCHECK, 0, 0) != 0; }));
  EXPECT_LT(playPeak(), full * 0.02);
}

}  // namespace
