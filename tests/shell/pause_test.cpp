// Pause and resume as a person uses them, in the real program: Ctrl+P and
// the Pause/Resume hot key hold what plays (a sound or a countdown) during
// Play Selected and Play All, the status bar says so, and what was held
// arrives in the sound sink only after the resume. The stops end a pause.
// While a sound plays, the status bar shows its time played.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/screenshot.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::LanguageString;
using bench::Program;

// A sound of 20 seconds (about five in the sink, which drains faster than
// real time) whose start and end can be seen in the sink.
constexpr int kLongMs = 20000;

// How long a held sound is watched: far longer than the sink takes for
// the rest of the sound were it not held.
constexpr DWORD kHeldWatchMs = 1500;

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// A list file in the temporary folder of marked objects (see
// bench::MarkedObject), its sounds named held<mark>.wav.
std::string WriteList(const std::string& name, const std::vector<bench::MarkedObject>& objects) {
  return bench::WriteMarkedObjects(bench::TempPath(name), objects, "held", 200, kLongMs);
}

class PauseTest : public bench::ProgramTestBase {
 protected:
  // Ctrl+P, or the Pause/Resume hot key (Control+Alt+P by default).
  void PressPause(Program& wendle, bool hotKey = false) { wendle.Key('P', true, hotKey); }

  bool WaitForStatus(Program& wendle, const std::string& start) {
    return wendle.WaitFor([&] { return StartsWith(wendle.StatusText(), start); });
  }

  // Held: after the status says so, the sink gains no more than what the
  // device had handed over before the hold (a fraction of a second), and
  // the end mark does not arrive.
  void ExpectHeld(Program& wendle, size_t from, int endMark) {
    ASSERT_TRUE(WaitForStatus(wendle, "Paused: ")) << wendle.StatusText();
    size_t held = bench::SinkSize();
    Sleep(kHeldWatchMs);
    std::vector<int> marks = bench::MarksIn(bench::SinkBytes(from));
    for (int mark : marks) EXPECT_NE(mark, endMark) << "the held sound went on";
    EXPECT_LT(bench::SinkSize() - held, 4000u) << "the held sound went on";
    EXPECT_TRUE(StartsWith(wendle.StatusText(), "Paused: ")) << wendle.StatusText();
  }
};

TEST_F(PauseTest, PlaySelectedHoldsAndGoesOnWithItsTimePlayed) {
  WriteList("held.wdl", {{21, 22}});
  Program wendle("held.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; }));
  size_t from = bench::SinkSize();
  wendle.Key(VK_F2);
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{21});
  // The time played: elapsed and the whole length, "Playing X — 0:03 / 0:20".
  EXPECT_TRUE(wendle.WaitFor([&] {
    std::string status = wendle.StatusText();
    CharUpperBuffA(&status[0], static_cast<DWORD>(status.size()));
    return StartsWith(status, "PLAYING ") && status.find("HELD21.WAV") != std::string::npos && status.size() > 12 &&
           status.compare(status.size() - 7, 7, " / 0:20") == 0;
  })) << wendle.StatusText();
  bench::SaveScreenshot(wendle.Window(), "main_window_time_played");

  // Held two seconds in or more, so that a play from the start again
  // would show. (The sink drains faster than real time, and the device
  // counts what it has handed over: the seconds may jump.)
  ASSERT_TRUE(wendle.WaitFor([&] {
    std::string status = wendle.StatusText();
    size_t total = status.find(" / 0:20");
    if (total == std::string::npos || total < 4 || status.compare(total - 4, 2, "0:") != 0) return false;
    const int seconds = atoi(status.c_str() + total - 2);
    return seconds >= 2 && seconds < 20;
  })) << wendle.StatusText();
  PressPause(wendle);
  ExpectHeld(wendle, from, 22);
  bench::SaveScreenshot(wendle.Window(), "main_window_paused");
  // The time stands while held.
  EXPECT_NE(wendle.StatusText().find(" / 0:20"), std::string::npos) << wendle.StatusText();

  PressPause(wendle);  // Resume
  EXPECT_TRUE(WaitForStatus(wendle, "Playing ")) << wendle.StatusText();
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{21, 22}));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }));
  // Nothing played again from its start (its first mark would be heard
  // twice), and no more than a tenth of a second lost at the hold. How
  // much more than the sound arrives is the sound system's affair: under
  // load Wine's wave device hands part of what it had queued over a second
  // time when it resumes (seconds of it on a very busy machine).
  const std::string arrived = bench::SinkBytes(from);
  EXPECT_EQ(bench::MarksIn(arrived), (std::vector<int>{21, 22}));
  EXPECT_GE(arrived.size(), static_cast<size_t>(kLongMs) * 8 - 800);
}

// During Play All the hot key holds the sound, then a Pause object's
// countdown; nothing else starts while held, and the run goes on after.
TEST_F(PauseTest, PlayAllHoldsASoundAndACountdownByTheHotKey) {
  WriteList("run.wdl", {{31, 32}, {-2}, {33}});
  size_t from = bench::SinkSize();
  Program wendle("run.wdl /play");
  ASSERT_TRUE(wendle.Window());
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{31});
  PressPause(wendle, true);
  ExpectHeld(wendle, from, 32);
  EXPECT_TRUE(wendle.PlayAllRunning());
  PressPause(wendle, true);
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{31, 32}));

  // The Pause object: its countdown holds its seconds.
  ASSERT_TRUE(WaitForStatus(wendle, "Pause 2 sec.")) << wendle.StatusText();
  PressPause(wendle);
  ASSERT_TRUE(WaitForStatus(wendle, "Paused: Pause ")) << wendle.StatusText();
  const std::string held = wendle.StatusText();
  Sleep(2500);  // longer than the whole countdown
  EXPECT_EQ(wendle.StatusText(), held);
  EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from)), (std::vector<int>{31, 32})) << "the next object started";
  PressPause(wendle);
  EXPECT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{31, 32, 33}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }));
}

// Stop/Skip and Stop Play All work while held, and end the hold: a skip
// plays the next object at once, a stop leaves nothing held for later.
TEST_F(PauseTest, TheStopsWorkWhileHeldAndEndTheHold) {
  WriteList("stops.wdl", {{41, 42}, {43}});
  Program wendle("stops.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 2; }));

  // Play Selected, held, then Stop/Skip.
  size_t from = bench::SinkSize();
  wendle.Key(VK_F2);
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{41});
  PressPause(wendle);
  ASSERT_TRUE(WaitForStatus(wendle, "Paused: ")) << wendle.StatusText();
  wendle.Key(VK_F3);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }))
      << wendle.StatusText();

  // Play All, held, then Stop/Skip: the next object plays at once.
  from = bench::SinkSize();
  wendle.Key(VK_HOME);
  wendle.Key('S', true, true);  // Start Play All
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{41});
  PressPause(wendle);
  ASSERT_TRUE(WaitForStatus(wendle, "Paused: ")) << wendle.StatusText();
  wendle.Key(VK_F3);
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{41, 43}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));

  // Play All, held, then Stop Play All (Esc in the list).
  from = bench::SinkSize();
  wendle.Key('S', true, true);
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{41});
  PressPause(wendle);
  ASSERT_TRUE(WaitForStatus(wendle, "Paused: ")) << wendle.StatusText();
  wendle.Key(VK_ESCAPE);
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }))
      << wendle.StatusText();
  // The next play is not held.
  from = bench::SinkSize();
  wendle.Key(VK_END);
  wendle.Key(VK_F2);
  EXPECT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{43});
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }));
}

}  // namespace
