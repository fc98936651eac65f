// The system-wide hot keys while one of Wendle's modal windows is open: the
// keys that start playing do nothing (the command under the window would
// otherwise free or replace what plays), stopping still works, and the
// Favorite Selection, which touches no list object, still plays.
//
// A hot key that must do nothing is followed by the Favorite key: hot keys
// are handled in order, so once the favorite is heard the first key has
// been handled, and the test looks at what it did.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::Program;

constexpr int kFavoriteMark = 60;

class ModalHotKeys : public testing::Test {
 protected:
  void SetUp() override {
    bench::ClearProgramSettings();
    if (bench::SoundSinkPath().empty()) GTEST_SKIP() << "no sound sink configured";
    favorite_ = bench::WriteMarkedWave("favorite.wav", kFavoriteMark, 100);
    bench::WriteProgramSetting("FavoriteSelection", favorite_);
    bench::WriteMarkedList(bench::TempPath("modal.wdl"), {61, 62, 63});
  }
  void TearDown() override { bench::ClearProgramSettings(); }

  // Presses a hot key in the modal window, then the Favorite key, and waits
  // until the favorite is heard: the first key has been handled by then.
  testing::AssertionResult PressUnderModal(Program& wendle, HWND modal, WORD key) {
    size_t from = bench::SinkSize();
    wendle.KeyIn(modal, key, true, true);
    wendle.KeyIn(modal, 'F', true, true);
    std::vector<int> heard = bench::WaitForMarks(from, 1);
    if (heard != std::vector<int>{kFavoriteMark})
      return testing::AssertionFailure() << "heard " << heard.size() << " sounds, first "
                                         << (heard.empty() ? -1 : heard[0]);
    return testing::AssertionSuccess();
  }

  std::string favorite_;
};

TEST_F(ModalHotKeys, NoPlayStartsUnderRemovesQuestionAndTheHighlightedItemGoes) {
  Program wendle("modal.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 3; }));
  wendle.Key(VK_DOWN);  // item 1
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 1; }));
  wendle.Key(VK_DELETE);
  HWND question = wendle.WaitForDialog();
  ASSERT_TRUE(question) << wendle.Describe();
  size_t from = bench::SinkSize();
  ASSERT_TRUE(PressUnderModal(wendle, question, 'S'));  // Play All
  EXPECT_FALSE(wendle.PlayAllRunning());
  ASSERT_TRUE(PressUnderModal(wendle, question, 'N'));  // Play Next
  EXPECT_EQ(wendle.ListSelection(), 1) << "Play Next moved the highlight under the question";
  ASSERT_TRUE(wendle.PressButton(question, IDYES));
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 2; }));
  // Only the favorites were heard, and item 1 ("Sound 62") is the one gone:
  // the first two items left play as 61 and 63.
  EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from)), (std::vector<int>{kFavoriteMark, kFavoriteMark}));
  // The key works again once the question is gone: the run is heard (it
  // may be over before anyone could see its Stop Play All button).
  wendle.Key('S', true, true);
  EXPECT_EQ(bench::WaitForMarks(from, 4), (std::vector<int>{kFavoriteMark, kFavoriteMark, 61, 63}));
}

TEST_F(ModalHotKeys, NoPlayStartsUnderTheDialogsOfModifyNewAndOpen) {
  Program wendle("modal.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 3; }));
  struct Case {
    const char* name;
    bool fileMenu;  // the key chooses from the File menu
    WORD key;
  } cases[] = {
      {"Modify", false, VK_F6},
      {"New, after a change", true, 'N'},
      {"Open", true, 'O'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.key == 'N') {  // a change first, so New asks to save it
      wendle.Key(VK_DELETE);
      HWND confirm = wendle.WaitForDialog();
      ASSERT_TRUE(confirm) << wendle.Describe();
      ASSERT_TRUE(wendle.PressButton(confirm, IDYES));
      ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 2; }));
    }
    if (c.fileMenu) wendle.Key('F', false, true);
    wendle.Key(c.key);
    HWND modal = wendle.WaitForDialog();
    ASSERT_TRUE(modal) << wendle.Describe();
    int count = wendle.ListCount();
    ASSERT_TRUE(PressUnderModal(wendle, modal, 'S'));
    EXPECT_FALSE(wendle.PlayAllRunning());
    ASSERT_TRUE(wendle.PressButton(modal, IDCANCEL));
    EXPECT_EQ(wendle.ListCount(), count);
    EXPECT_FALSE(wendle.PlayAllRunning());
  }
}

TEST_F(ModalHotKeys, StoppingStillWorksUnderTheAboutBox) {
  bench::WriteMarkedList(bench::TempPath("long.wdl"), {-60});
  Program wendle("long.wdl /play");
  ASSERT_TRUE(wendle.Window());
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.PlayAllRunning(); }));
  wendle.Key('H', false, true);  // Help > About
  wendle.Key('A');
  HWND about = wendle.WaitForDialog();
  ASSERT_TRUE(about) << wendle.Describe();
  wendle.KeyIn(about, 'S', true, true);
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); })) << "Stop Play All was refused";
  ASSERT_TRUE(wendle.PressButton(about, IDOK));
}

}  // namespace
