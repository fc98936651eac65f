// The whole program as a person uses it: a list built through the dialogs
// with every kind of Sound Object, Play All set (and saved) to three passes
// in random exclusive order, the list saved, the program closed and started
// again with the list and "/play". What is heard must be three passes that
// each play every object once.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "bench/program.h"
#include "bench/screenshot.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "bench/virtual_cd.h"
#include "resources/ids.h"

namespace {

using bench::Program;

constexpr int kWaveMark = 7;

// One MIDI note (format 0, one track).
std::string OneNoteMidi() {
  const std::string track("\x00\x90\x3c\x60\x60\x80\x3c\x00\x00\xff\x2f\x00", 12);
  return std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) + "MTrk" + std::string("\0\0\0", 3) +
         static_cast<char>(track.size()) + track;
}

// OK, by the default button.
testing::AssertionResult Confirm(Program& wendle, HWND dialog) {
  wendle.KeyIn(dialog, VK_RETURN);
  if (wendle.WaitFor([&] { return !IsWindow(dialog); })) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the dialog stayed open: " << wendle.Describe();
}

// Where each of the two sounds starts in the sink: 'W' the WAV, 'C' the
// CD track, in order.
std::string HeardOrder(const std::string& sink, const std::string& wave, const std::string& track) {
  std::vector<std::pair<size_t, char>> starts;
  for (size_t at = sink.find(wave); at != std::string::npos; at = sink.find(wave, at + wave.size()))
    starts.emplace_back(at, 'W');
  for (size_t at = sink.find(track); at != std::string::npos; at = sink.find(track, at + track.size()))
    starts.emplace_back(at, 'C');
  std::sort(starts.begin(), starts.end());
  std::string order;
  for (const auto& start : starts) order += start.second;
  return order;
}

TEST(WholeProgram, AListBuiltThroughTheDialogsPlaysEachObjectOncePerPass) {
  if (bench::SoundSinkPath().empty() || !bench::VirtualCdInstalled()) GTEST_SKIP() << "no sound sink or CD drive";
  bench::ClearProgramSettings();
  bench::VirtualCd cd("audio 20000\naudio 30000\n");
  std::string wave = bench::WriteMarkedWave("whole.wav", kWaveMark, 300);
  std::string midi = bench::TempPath("whole.mid");
  ASSERT_TRUE(bench::WriteFileBytes(midi, OneNoteMidi()));
  std::string list = bench::TempPath("whole.wdl");
  DeleteFileA(list.c_str());

  {
    Program wendle;
    ASSERT_TRUE(wendle.Window());
    HWND dialog = wendle.OpenAddDialogOfKind(IDK_WAVE);
    ASSERT_TRUE(dialog) << wendle.Describe();
    ASSERT_TRUE(wendle.TypeInto(GetDlgItem(dialog, IDC_SOUND_FILE), wave));
    bench::SaveScreenshot(dialog, "whole_program_wave_dialog");
    ASSERT_TRUE(Confirm(wendle, dialog));

    ASSERT_TRUE(dialog = wendle.OpenAddDialogOfKind(IDK_MIDI)) << wendle.Describe();
    ASSERT_TRUE(wendle.TypeInto(GetDlgItem(dialog, IDC_SOUND_FILE), midi));
    ASSERT_TRUE(Confirm(wendle, dialog));

    ASSERT_TRUE(dialog = wendle.OpenAddDialogOfKind(IDK_CD_TRACK)) << wendle.Describe();  // track 1
    ASSERT_TRUE(Confirm(wendle, dialog));

    ASSERT_TRUE(dialog = wendle.OpenAddDialogOfKind(IDK_PAUSE)) << wendle.Describe();  // of one second
    ASSERT_TRUE(wendle.TypeInto(GetDlgItem(dialog, IDC_PAUSE_DURATION), "1"));
    ASSERT_TRUE(Confirm(wendle, dialog));
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 4; }));
    bench::SaveScreenshot(wendle.Window(), "whole_program_list");

    wendle.Key('O', false, true);  // Options > Play All Mode
    wendle.Key('M');
    HWND mode = wendle.WaitForDialog();
    ASSERT_TRUE(mode) << wendle.Describe();
    ASSERT_TRUE(wendle.TypeInto(GetDlgItem(mode, IDC_PLAY_LIST_COUNT), "3"));
    ASSERT_TRUE(wendle.ClickUntil(GetDlgItem(mode, IDC_ORDER_RANDOM), [&] {
      return IsWindowEnabled(GetDlgItem(mode, IDC_EXCLUSIVE)) != FALSE;
    })) << wendle.Describe();
    wendle.KeyIn(mode, 'X', false, true);  // Alt+X: Exclusive
    ASSERT_TRUE(wendle.WaitFor([&] { return IsDlgButtonChecked(mode, IDC_EXCLUSIVE) == BST_CHECKED; }))
        << "Exclusive " << IsDlgButtonChecked(mode, IDC_EXCLUSIVE) << ", enabled "
        << IsWindowEnabled(GetDlgItem(mode, IDC_EXCLUSIVE)) << ", Random " << IsDlgButtonChecked(mode, IDC_ORDER_RANDOM)
        << "; " << wendle.Describe();
    wendle.KeyIn(mode, 'S', false, true);  // Alt+S, Save: kept for the next start
    HWND saved = wendle.WaitForDialog(15000, mode);
    ASSERT_TRUE(saved) << wendle.Describe();
    EXPECT_EQ(Program::DialogText(saved), bench::LanguageString(IDS_SETTINGS_SAVED));
    ASSERT_TRUE(wendle.PressButton(saved, IDOK));
    ASSERT_TRUE(wendle.WaitFor([&] { return !IsWindow(mode); }));
    EXPECT_TRUE(wendle.WaitFor([&] {
      return bench::WindowText(wendle.Child(IDC_LABEL_COUNT)) == "3" &&
             bench::WindowText(wendle.Child(IDC_LABEL_ORDER)) == bench::LanguageString(IDS_ORDER_RANDOM_EXCL);
    }));

    ASSERT_TRUE(wendle.SaveAsByKeys(list));
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle - WHOLE.WDL"; })) << wendle.Describe();
    wendle.Key(VK_F4, false, true);  // saved: closes without a question
    EXPECT_EQ(wendle.WaitForExit(), 0u) << wendle.Describe();
  }

  bench::SinkWatch sink;
  std::string waveSignature = bench::ReadFileBytes(wave).substr(44, 48);
  std::string trackSignature = bench::VirtualCdTone(1);  // a tone repeats itself: the whole of it
  {
    Program wendle("\"" + list + "\" /play");
    ASSERT_TRUE(wendle.Window());
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.PlayAllRunning(); }));
    ASSERT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }, 60000));
    // The sink is written by the sound system after the device reports
    // the end, and a busy machine writes it late: Wendle stays open, as a
    // person would leave it, until the last sound has arrived.
    wendle.WaitFor([&] { return HeardOrder(sink.Received(), waveSignature, trackSignature).size() >= 6; }, 15000);
  }
  // The WAV and the CD track (the MIDI file has no output here, the Pause
  // no sound) once in each of the three passes, in any order.
  std::string heard = HeardOrder(sink.Received(), waveSignature, trackSignature);
  ASSERT_EQ(heard.size(), 6u) << heard;
  for (size_t pass = 0; pass < 3; ++pass) {
    std::string two = heard.substr(pass * 2, 2);
    EXPECT_TRUE(two == "WC" || two == "CW") << "pass " << pass + 1 << " of " << heard;
  }
  bench::ClearProgramSettings();
}

}  // namespace
