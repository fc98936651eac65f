// Compressed sound files (the "Audio file" kind) as a person meets them:
// each format heard in the sound sink by its own tone, Play All of them
// among WAV and Pause objects in order, the Add dialog offering the kind,
// the notice that ends only its own play, and bad files refused with a
// reason. Where the system's media player device cannot open them (its
// decoders are not installed for this width), the tests say so and skip.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/playback_host.h"
#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "bench/virtual_cd.h"
#include "model/object_list.h"
#include "model/sound_object_kind.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "resources/ids.h"
#include "shell/list_view.h"
#include "shell/main_window.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "support/support_library.h"
#include "tones.h"

namespace {

using bench::Program;

struct Sound {
  const char* file;
  int tone;
  bool libav;  // decoded by gstreamer1.0-libav
};
// Made by make_sounds.sh: about a second of the tone each.
const Sound kSounds[] = {{"tone660.mp3", 660, false},  {"tone550.wma", 550, true},  {"tone770.flac", 770, false},
                         {"tone880.ogg", 880, false},  {"tone990.oga", 990, false}, {"tone1100.opus", 1100, false},
                         {"tone1320.m4a", 1320, true}, {"tone1210.aac", 1210, true}};
constexpr int kWaveTone = 440;

std::vector<int> AllTones() {
  std::vector<int> tones{kWaveTone};
  for (const Sound& sound : kSounds) tones.push_back(sound.tone);
  return tones;
}

// A committed sound file, by its Windows path (Wine's drive Z: is the root).
std::string SoundPath(const std::string& file) {
  std::string path = std::string("Z:") + WENDLE_TEST_SOUNDS + "/" + file;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Why compressed files cannot play here, or empty when they can.
std::string WhyNoAudioFiles() {
  if (bench::SoundSinkPath().empty()) return "no sound sink configured";
  MCI_OPEN_PARMSA open = {};
  std::string path = SoundPath("tone660.mp3");
  open.lpstrDeviceType = "mpegvideo";
  open.lpstrElementName = path.c_str();
  MCIERROR error =
      mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open));
  if (error == 0) {
    mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
    return "";
  }
  return "MCI \"mpegvideo\" cannot open an MP3 here (error " + std::to_string(error) +
         "): the GStreamer plugins of this width (scripts/setup-debian.sh) are not installed, so the program "
         "offers no Audio file kind";
}

// Whether the device opens the file in this process (of the test's width).
bool Opens(const std::string& file) { return bench::AudioFileDeviceOpens(SoundPath(file)); }

// The sounds this width can decode. The 32-bit set-up leaves out the WMA
// and AAC decoders (scripts/wine32.sh): those are passed over there, and
// said so; any other that does not open is a failure.
std::vector<Sound> PlayableSounds() {
  std::vector<Sound> playable;
  for (const Sound& sound : kSounds) {
    if (sound.libav && sizeof(void*) == 4) {
      // Without its decoder an ADTS AAC file still opens, as something
      // else, with a wrong length: it is not tried.
      printf("Skipped %s: no 32-bit WMA and AAC decoders are installed (gstreamer1.0-libav:i386)\n", sound.file);
    } else if (Opens(sound.file)) {
      playable.push_back(sound);
    } else {
      ADD_FAILURE() << sound.file << " does not open";
    }
  }
  return playable;
}

std::string ListItem(const std::string& file, uint32_t flags, uint32_t postDelay = 0) {
  return "*\n" + file + "\n" + std::to_string(flags) + " 0 " + std::to_string(postDelay) + " 0\n";
}

std::string CannotPlayText(const std::string& what, DWORD error) {
  char reason[256] = "";
  if (error == kDeviceNoAnswer)
    lstrcpynA(reason, bench::LanguageString(IDS_PLAY_ERROR_NO_ANSWER).c_str(), sizeof reason);
  else
    mciGetErrorStringA(error, reason, sizeof reason);
  char format[256];
  snprintf(format, sizeof format, bench::LanguageString(IDS_FMT_CANNOT_PLAY).c_str(), what.c_str(), reason);
  return format;
}

class AudioFileProgram : public bench::ProgramTestBase {
 protected:
  void SetUp() override {
    std::string why = WhyNoAudioFiles();
    if (!why.empty()) GTEST_SKIP() << why;
    bench::ProgramTestBase::SetUp();
  }
};

// Every format, between a WAV and Pause objects, plays in the list's order:
// each file's own tone is heard, one after the other.
TEST_F(AudioFileProgram, PlayAllPlaysEveryFormatAmongWavAndPauseObjectsInOrder) {
  const std::string wave = bench::TempPath("tone440.wav");
  ASSERT_TRUE(tones::WriteToneWave(wave, kWaveTone, 1000));
  const std::vector<Sound> sounds = PlayableSounds();
  ASSERT_GE(sounds.size(), 2u);
  std::string list =
      "WDv1.0\n" + ListItem(wave, Wave) + ListItem(SoundPath(sounds[0].file), AudioFile) + ListItem("*", Pause, 1);
  std::vector<int> expected{kWaveTone, sounds[0].tone};
  for (size_t i = 1; i < sounds.size(); ++i) {
    list += ListItem(SoundPath(sounds[i].file), AudioFile);
    expected.push_back(sounds[i].tone);
  }
  const std::string path = bench::TempPath("formats.wdl");
  ASSERT_TRUE(bench::WriteFileBytes(path, list));

  size_t from = bench::SinkSize();
  Program wendle("\"" + path + "\" /play");
  ASSERT_TRUE(wendle.Window());
  EXPECT_EQ(tones::WaitForTones(from, AllTones(), expected.size(), 60000), expected);
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }, 30000));
  // Nothing failed: the run's end counts no file passed over.
  EXPECT_EQ(wendle.StatusText().find("could not"), std::string::npos) << wendle.StatusText();
}

// The Audio file kind's dialog in add mode. The kind is offered once the
// device's probe, which runs beside the start, has found it: until then
// the Add dialog is cancelled and opened again.
HWND OpenAudioFileDialog(Program& wendle) {
  for (int tries = 0; tries < 20; ++tries) {
    if (HWND dialog = wendle.OpenAddDialogOfKind(IDK_AUDIO)) return dialog;
    if (HWND add = wendle.WaitForDialog(2000)) wendle.PressButton(add, IDCANCEL);
    Sleep(250);
  }
  return nullptr;
}

// The Add dialog offers the kind; the file added plays on Play Selected.
TEST_F(AudioFileProgram, AddedThroughTheAddDialogAndPlayed) {
  Program wendle;
  ASSERT_TRUE(wendle.Window());
  HWND dialog = OpenAudioFileDialog(wendle);
  ASSERT_TRUE(dialog) << wendle.Describe();
  ASSERT_TRUE(wendle.TypeInto(GetDlgItem(dialog, IDC_SOUND_FILE), SoundPath("tone880.ogg")));
  wendle.KeyIn(dialog, VK_RETURN);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 1; })) << wendle.Describe();

  wendle.Key(VK_HOME);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 0; }));
  size_t from = bench::SinkSize();
  wendle.Key(VK_F2);  // Play Selected
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().find("Playing") == 0; })) << wendle.StatusText();
  EXPECT_NE(wendle.StatusText().find("TONE880.OGG"), std::string::npos) << wendle.StatusText();  // as typed, upper case
  EXPECT_EQ(tones::WaitForTones(from, AllTones(), 1), std::vector<int>{880});
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().find("Playing") == std::string::npos; }))
      << wendle.StatusText();
}

// A file that is gone, text named .mp3, and an Ogg file cut short inside
// its headers: each is refused with its name and the reason, on Play
// Selected, and Play All passes over all three and counts them.
TEST_F(AudioFileProgram, BadFilesAreRefusedWithTheirReason) {
  const std::string garbage = bench::TempPath("words.mp3");
  ASSERT_TRUE(bench::WriteFileBytes(garbage, std::string(40, 'x') + " These are words, not sounds.\r\n"));
  const std::string cut = bench::TempPath("cut.ogg");
  ASSERT_TRUE(bench::WriteFileBytes(cut, bench::ReadFileBytes(SoundPath("tone880.ogg")).substr(0, 200)));
  const std::string gone = bench::TempPath("gone.flac");
  const std::string path = bench::TempPath("bad.wdl");
  ASSERT_TRUE(bench::WriteFileBytes(
      path, "WDv1.0\n" + ListItem(gone, AudioFile) + ListItem(garbage, AudioFile) + ListItem(cut, AudioFile)));

  Program wendle("\"" + path + "\" /play");
  ASSERT_TRUE(wendle.Window());
  char runEnd[256];
  snprintf(runEnd, sizeof runEnd, bench::LanguageString(IDS_FMT_RUN_FAILURES).c_str(), 3u);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == runEnd; }, 30000)) << wendle.StatusText();
  ASSERT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));  // Play Selected waits for that

  const struct {
    const std::string& file;
    DWORD error;
  } cases[] = {{gone, MCIERR_FILE_NOT_FOUND}, {garbage, MCIERR_INVALID_FILE}, {cut, MCIERR_INVALID_FILE}};
  for (int i = 0; i < 3; ++i) {
    wendle.Key(i == 0 ? VK_HOME : VK_DOWN);
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == i; })) << i;
    wendle.Key(VK_F2);
    HWND said = wendle.WaitForDialog();
    ASSERT_TRUE(said) << i << ": " << wendle.Describe() << "; status: " << wendle.StatusText();
    const std::string message = Program::DialogText(said);
    // The cut file may also leave the device without an answer (it does
    // so now and then under Wine): then that is the reason given.
    if (cases[i].file == cut && message == CannotPlayText(cut, kDeviceNoAnswer)) {
      ASSERT_TRUE(wendle.PressButton(said, IDOK));
      continue;
    }
    EXPECT_EQ(message, CannotPlayText(cases[i].file, cases[i].error));
    ASSERT_TRUE(wendle.PressButton(said, IDOK));
    EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == message; })) << wendle.StatusText();
  }
}

// ---- in the test process: the device, its length and its notices --------

class AudioPlay : public testing::Test {
 protected:
  void SetUp() override {
    std::string why = WhyNoAudioFiles();
    if (!why.empty()) GTEST_SKIP() << why;
  }
  void TearDown() override { StopAllDevices(); }
  bench::PlaybackHost host_;
};

// The device reports each file's own length (about a second each), and the
// probe at start finds the kind.
TEST_F(AudioPlay, EachFormatOpensWithItsLength) {
  EXPECT_EQ(ProbeAudioFileDevice(), static_cast<uint32_t>(AudioFiles));
  for (const Sound& sound : PlayableSounds()) {
    ASSERT_TRUE(PlayAudioFile(nullptr, SoundPath(sound.file).c_str())) << sound.file << " " << GetLastPlayError();
    DWORD lengthMs = 0;
    const UINT device = GetLastPlayInfo(&lengthMs);
    EXPECT_NE(device, 0u);
    EXPECT_GE(lengthMs, 950u) << sound.file;
    EXPECT_LE(lengthMs, 1150u) << sound.file;
    mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, 0);  // this thread's own device
  }
}

DWORD g_lengthMs = 0;
void CALLBACK ReadLength(HWND window, UINT, UINT_PTR id, DWORD) {
  DWORD elapsed = 0;
  if (GetPlayTimes(&elapsed, &g_lengthMs)) KillTimer(window, id);
}

// The demo list's compressed sound decodes: it opens with its length
// (1.8 s) and its bells are heard.
TEST_F(AudioPlay, TheDemosCompressedSoundDecodes) {
  std::string path = std::string("Z:") + WENDLE_DEMO + "/bells.ogg";
  for (char& c : path)
    if (c == '/') c = '\\';
  host_.AddFile(AudioFile, path);
  bench::SelectRow(host_.list(), 0);
  // G5, E5, C5 in turn. The sink drains faster than the renderer feeds
  // it, and under load a burst of a short note can be lost there: the
  // bells are played again, a few times at most, until all three are heard.
  const std::vector<int> bells = {784, 659, 523};
  std::vector<int> heard;
  for (int plays = 0; plays < 4 && heard != bells; ++plays) {
    size_t from = bench::SinkSize();
    g_lengthMs = 0;
    // The length, read once the device has started the play.
    SetTimer(host_.window(), 7, 50, ReadLength);
    OnCommand(host_.window(), IDM_SOUND_PLAY_SELECTED, 0);
    KillTimer(host_.window(), 7);
    EXPECT_GE(g_lengthMs, 1700u);
    EXPECT_LE(g_lengthMs, 1900u);
    heard = tones::TonesIn(bench::SinkBytes(from), bells);
  }
  EXPECT_EQ(heard, bells);
}

// An audio file's notice names no device: one of another device leaves
// the play going, and its own (lParam 0) ends it.
TEST_F(AudioPlay, OnlyItsOwnNoticeEndsAnAudioFilesPlay) {
  host_.AddFile(AudioFile, SoundPath("tone660.mp3"));
  bench::SelectRow(host_.list(), 0);
  // The notices go to the device thread's message-only window.
  bench::AfterStart(host_.window(), 200, [] {
    HWND devices = FindWindowExW(HWND_MESSAGE, nullptr, L"WendleDevices", nullptr);
    ASSERT_TRUE(devices);
    SendMessageW(devices, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0x7777);
    EXPECT_EQ(g_playback.playing, 1);
    PostMessageW(devices, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
  });
  ULONGLONG start = GetTickCount64();
  OnCommand(host_.window(), IDM_SOUND_PLAY_SELECTED, 0);
  EXPECT_LT(GetTickCount64() - start, 900u);  // ended by the notice, not by the file's end
  EXPECT_EQ(g_playback.playing, 0);
  DWORD elapsed = 0, total = 0;
  EXPECT_FALSE(GetPlayTimes(&elapsed, &total));
}

// A play stopped early leaves no notice behind to end the next one: the
// next file plays to its own end (the device plays in real time).
TEST_F(AudioPlay, AStoppedPlaysNoticeDoesNotEndTheNextPlay) {
  host_.AddFile(AudioFile, SoundPath("tone880.ogg"));
  host_.AddFile(AudioFile, SoundPath("tone660.mp3"));
  bench::SelectRow(host_.list(), 0);
  bench::AfterStart(host_.window(), 300, [] { OnCommand(g_globals.mainWindow, IDM_SOUND_STOP_SKIP, 0); });
  OnCommand(host_.window(), IDM_SOUND_PLAY_SELECTED, 0);
  EXPECT_EQ(g_playback.playing, 0);

  bench::SelectRow(host_.list(), 1);
  size_t from = bench::SinkSize();
  ULONGLONG start = GetTickCount64();
  OnCommand(host_.window(), IDM_SOUND_PLAY_SELECTED, 0);
  EXPECT_GE(GetTickCount64() - start, 800u) << "the stopped play's notice ended the next one";
  EXPECT_EQ(tones::TonesIn(bench::SinkBytes(from), AllTones()), std::vector<int>{660});
}

// An audio favorite plays beside the list's audio file without a notice:
// its end, which would name no device, cannot end the list's play, which
// still lasts its whole length.
TEST_F(AudioPlay, AnAudioFavoriteLeavesTheListsAudioFilePlaying) {
  host_.AddFile(AudioFile, SoundPath("tone660.mp3"));
  bench::SelectRow(host_.list(), 0);
  bench::AfterStart(host_.window(), 100, [] { EXPECT_EQ(PlayFavoriteFile(SoundPath("tone880.ogg").c_str()), 0u); });
  ULONGLONG start = GetTickCount64();
  OnCommand(host_.window(), IDM_SOUND_PLAY_SELECTED, 0);
  EXPECT_GE(GetTickCount64() - start, 900u);
}

// Pause holds an audio file where it stands and Resume lets it go on to
// its own end, which its notice (naming no device) brings.
TEST_F(AudioPlay, PauseHoldsAnAudioFileAndResumeLetsItEnd) {
  host_.AddFile(AudioFile, SoundPath("tone660.mp3"));
  bench::SelectRow(host_.list(), 0);
  bench::AfterStart(host_.window(), 300, [] {
    OnCommand(g_globals.mainWindow, IDM_SOUND_PAUSE, 0);
    EXPECT_NE(g_playback.paused, 0);
    bench::AfterStart(g_globals.mainWindow, 1000, [] {
      EXPECT_EQ(g_playback.playing, 1) << "the held play ended";
      OnCommand(g_globals.mainWindow, IDM_SOUND_PAUSE, 0);  // Resume
      EXPECT_EQ(g_playback.paused, 0);
    });
  });
  size_t from = bench::SinkSize();
  ULONGLONG start = GetTickCount64();
  OnCommand(host_.window(), IDM_SOUND_PLAY_SELECTED, 0);
  EXPECT_GE(GetTickCount64() - start, 1800u);  // its second of sound and the second held
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_EQ(tones::TonesIn(bench::SinkBytes(from), AllTones()), std::vector<int>{660});
}

// ---- a device that does not answer never freezes the window ----------------

// Asks the program's main window for an answer (WM_NULL) every 50 ms from
// a thread of its own, as the system does before it calls a window hung,
// and keeps the longest wait.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window) : window_(window) { thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr); }
  ~AnswerWatch() { Stop(); }
  void Stop() {
    if (!thread_) return;
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  DWORD LongestMs() const { return longest_; }
  unsigned Asked() const { return asked_; }

 private:
  static DWORD WINAPI Watch(LPVOID parameter) {
    auto* watch = static_cast<AnswerWatch*>(parameter);
    while (!watch->stop_ && IsWindow(watch->window_)) {
      const ULONGLONG start = GetTickCount64();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(watch->window_, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &result);
      const DWORD took = static_cast<DWORD>(GetTickCount64() - start);
      watch->longest_ = std::max<DWORD>(watch->longest_, took);
      ++watch->asked_;
      Sleep(50);
    }
    return 0;
  }
  HWND window_;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<DWORD> longest_{0};
  std::atomic<unsigned> asked_{0};
};

std::string RunEndText(unsigned failures) {
  char text[256];
  snprintf(text, sizeof text, bench::LanguageString(IDS_FMT_RUN_FAILURES).c_str(), failures);
  return text;
}

// An Ogg file cut inside its headers, among good objects, played pass
// after pass: under Wine the system's media player device now and then
// never comes back from opening it. The window answers within a second at
// every moment, every good object is heard in every pass, and the cut file
// counts once as an object that could not be played.
TEST_F(AudioFileProgram, ACutFileNeverFreezesTheWindow) {
  const std::string cut = bench::TempPath("cut-among.ogg");
  ASSERT_TRUE(bench::WriteFileBytes(cut, bench::ReadFileBytes(SoundPath("tone880.ogg")).substr(0, 200)));
  const std::string first = bench::WriteMarkedWave("among1.wav", 21, 150);
  const std::string second = bench::WriteMarkedWave("among2.wav", 22, 150);
  const std::string path = bench::TempPath("among.wdl");
  ASSERT_TRUE(bench::WriteFileBytes(
      path, "WDv1.0\n" + ListItem(first, Wave) + ListItem(cut, AudioFile) + ListItem(second, Wave)));
  // Twelve tries: a device that hangs one time in three does so at least
  // once with a chance of 99 %.
  constexpr unsigned kPasses = 12;
  bench::WriteProgramSetting("PlayListCount", kPasses);
  const size_t from = bench::SinkSize();
  const ULONGLONG start = GetTickCount64();

  Program wendle("\"" + path + "\" /play");
  ASSERT_TRUE(wendle.Window());
  AnswerWatch watch(wendle.Window());
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == RunEndText(1); }, 200000)) << wendle.StatusText();
  watch.Stop();
  printf("%u passes in %.1f s; the window was asked %u times, its longest answer took %lu ms\n", kPasses,
         (GetTickCount64() - start) / 1000.0, watch.Asked(), static_cast<unsigned long>(watch.LongestMs()));
  EXPECT_LT(watch.LongestMs(), 1000u) << "the window did not answer for a second or more";
  std::vector<int> expected;
  for (unsigned pass = 0; pass < kPasses; ++pass) expected.insert(expected.end(), {21, 22});
  EXPECT_EQ(bench::WaitForMarks(from, expected.size()), expected);
}

// A CD drive that never answers a play: Play All goes on with the next
// object, Play Selected says why the track could not be played, and
// Wendle closes normally while the stuck call is left behind.
TEST_F(AudioFileProgram, ADriveThatNeverAnswersIsGivenUpAndWendleStillCloses) {
  if (!bench::VirtualCdInstalled()) GTEST_SKIP() << "no virtual CD drive";
  bench::VirtualCd cd("stuck\naudio 1000\n");
  const std::string first = bench::WriteMarkedWave("stuck1.wav", 23, 150);
  const std::string second = bench::WriteMarkedWave("stuck2.wav", 24, 150);
  const std::string path = bench::TempPath("stuck.wdl");
  ASSERT_TRUE(
      bench::WriteFileBytes(path, "WDv1.0\n" + ListItem(first, Wave) + "*\n*\n4 0 0 1\n" + ListItem(second, Wave)));
  const size_t from = bench::SinkSize();
  Program wendle("\"" + path + "\" /play");
  ASSERT_TRUE(wendle.Window());
  AnswerWatch watch(wendle.Window());
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == RunEndText(1); }, 30000)) << wendle.StatusText();
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{23, 24}));

  wendle.Key(VK_HOME);
  wendle.Key(VK_DOWN);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListSelection() == 1; }));
  wendle.Key(VK_F2);
  HWND said = wendle.WaitForDialog(15000);
  ASSERT_TRUE(said) << wendle.Describe();
  EXPECT_EQ(Program::DialogText(said), CannotPlayText("Track:1", kDeviceNoAnswer));
  ASSERT_TRUE(wendle.PressButton(said, IDOK));
  watch.Stop();
  EXPECT_LT(watch.LongestMs(), 1000u) << "the window did not answer for a second or more";

  // Two calls are stuck in the drive for good; the program ends all the same.
  PostMessageA(wendle.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(wendle.WaitForExit(10000), 0u);
}

}  // namespace
