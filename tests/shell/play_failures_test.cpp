// What a person meets when a sound cannot be played, through the real
// program: the reason is said, Play All goes on and counts what it passed
// over, names without a folder are found beside their list, and Browse
// auditions a file without adding it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::LanguageString;
using bench::Program;

using PlayFailures = bench::ProgramTestBase;

std::string RunEndText(unsigned failures) {
  char text[256];
  snprintf(text, sizeof text, LanguageString(IDS_FMT_RUN_FAILURES).c_str(), failures);
  return text;
}

bool StartsWithNoCase(const std::string& text, const std::string& start) {
  return text.size() >= start.size() && lstrcmpiA(text.substr(0, start.size()).c_str(), start.c_str()) == 0;
}

// The list names its files without a folder, as the demo list does, and
// Wendle starts in another folder: the files beside the list play. A file
// that is gone and a text file named .wav are passed over; the run's end
// counts them, and Play Selected on one says why it cannot play.
TEST_F(PlayFailures, PlayAllGoesOnAndSaysWhatCouldNotBePlayed) {
  const std::string folder = bench::TempPath("beside");
  CreateDirectoryA(folder.c_str(), nullptr);
  bench::WriteMarkedWave("beside\\first.wav", 61, 200);
  bench::WriteMarkedWave("beside\\last.wav", 62, 200);
  ASSERT_TRUE(bench::WriteFileBytes(folder + "\\notes.wav", "These are words, not sounds.\r\n"));
  const std::string list = folder + "\\beside.wdl";
  const std::string text =
      "WDv1.0\n*\nfirst.wav\n1 0 0 0\n*\ngone.wav\n1 0 0 0\n*\nnotes.wav\n1 0 0 0\n*\nlast.wav\n1 0 0 0\n";
  ASSERT_TRUE(bench::WriteFileBytes(list, text));

  size_t from = bench::SinkSize();
  Program wendle("\"" + list + "\" /play", bench::TempDir());
  ASSERT_TRUE(wendle.Window());
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{61, 62}));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == RunEndText(2); })) << wendle.StatusText();
  EXPECT_FALSE(wendle.PlayAllRunning());

  // Play Selected on the text file: its name and the media system's reason,
  // in a message and on the status bar.
  wendle.Key(VK_HOME);
  wendle.Key(VK_DOWN);
  wendle.Key(VK_DOWN);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 2; }));
  wendle.Key(VK_F2);
  HWND said = wendle.WaitForDialog();
  ASSERT_TRUE(said) << wendle.Describe();
  const std::string message = Program::DialogText(said);
  EXPECT_TRUE(StartsWithNoCase(message, "notes.wav could not be played: ")) << message;
  EXPECT_GT(message.size(), 40u) << "no reason given: " << message;
  ASSERT_TRUE(wendle.PressButton(said, IDOK));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == message; })) << wendle.StatusText();

  // Nothing was changed: the names stay without a folder.
  wendle.Key(VK_F4, false, true);
  EXPECT_EQ(wendle.WaitForExit(), 0u) << wendle.Describe();
  EXPECT_EQ(bench::ReadFileBytes(list), text);
}

// Browse plays the chosen file as Play Selected would, without adding it,
// and Stop/Skip ends it. A window minimized while a selected object plays
// names it in its title.
TEST_F(PlayFailures, BrowseAuditionsAFileAndStopSkipEndsIt) {
  bench::WriteMarkedList(bench::TempPath("audition.wdl"), {43}, 20000);
  const std::string wave = bench::WriteMarkedWave("heard.wav", 44, 20000);
  Program wendle("audition.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; }));

  size_t from = bench::SinkSize();
  wendle.Key('S', false, true);  // Sound > Browse
  wendle.Key('B');
  HWND browse = wendle.WaitForDialog();
  ASSERT_TRUE(browse) << wendle.Describe();
  ASSERT_TRUE(wendle.TypeInto(bench::FileNameField(browse), wave));
  wendle.KeyIn(browse, VK_RETURN);
  EXPECT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{44});
  EXPECT_TRUE(wendle.WaitFor([&] { return StartsWithNoCase(wendle.StatusText(), "Playing " + wave); }))
      << wendle.StatusText();
  EXPECT_EQ(wendle.ListCount(), 1);
  wendle.Key(VK_F3);  // Stop/Skip
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }))
      << wendle.StatusText();
  EXPECT_EQ(wendle.ListCount(), 1);

  wendle.Key(VK_F2);  // Play Selected, then minimized while it plays
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().rfind("Playing ", 0) == 0; }));
  ShowWindow(wendle.Window(), SW_MINIMIZE);
  EXPECT_TRUE(wendle.WaitFor([&] { return StartsWithNoCase(wendle.Title(), "sound43.wav"); })) << wendle.Title();
  ShowWindow(wendle.Window(), SW_RESTORE);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle - AUDITION.WDL"; })) << wendle.Title();
}

}  // namespace
