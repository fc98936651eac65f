// Playing through MCI under the test bench's sound sink. Every play runs
// under the ctest lock "sound", so the sink holds only this process's plays.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>

#include "bench/test_env.h"
#include "bench/virtual_cd.h"
#include "support/support_library.h"

namespace {

// A hidden window that keeps the last MM_MCINOTIFY it received.
class NotifyWindow {
 public:
  NotifyWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "WendleMediaTestWindow";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, this);
  }
  ~NotifyWindow() {
    mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, 0);
    DestroyWindow(window_);
  }
  NotifyWindow(const NotifyWindow&) = delete;
  NotifyWindow& operator=(const NotifyWindow&) = delete;

  HWND get() const { return window_; }
  bool notified = false;
  WPARAM code = 0;
  LPARAM device = 0;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    } else if (message == MM_MCINOTIFY) {
      auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
      self->notified = true;
      self->code = wParam;
      self->device = lParam;
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_;
};

// Number of MCI devices this process has open.
int OpenDeviceCount() {
  char answer[32] = "";
  if (mciSendStringA("sysinfo all quantity open", answer, sizeof answer, nullptr) != 0) return -1;
  return atoi(answer);
}

// 300 ms of 8-bit samples no silence or simple tone would produce.
std::string DistinctSamples() {
  std::string samples;
  for (int i = 0; i < 2400; ++i) samples.push_back(static_cast<char>(((i * 37) % 241) + (i / 240)));
  return samples;
}

TEST(PlayWaveFile, PlaysTheFileAndNotifiesTheWindow) {
  std::string sink = bench::SoundSinkPath();
  if (sink.empty()) GTEST_SKIP() << "no sound sink configured";
  std::string samples = DistinctSamples();
  std::string path = bench::TempPath("pattern.wav");
  ASSERT_TRUE(bench::WriteWaveFile(path, samples, 8000));
  NotifyWindow window;
  size_t before = bench::ReadFileBytes(sink).size();

  ASSERT_TRUE(PlayWaveFile(window.get(), path.c_str()));
  DWORD lengthMs = 0;
  UINT device = GetLastPlayInfo(&lengthMs);
  EXPECT_EQ(lengthMs, 300u);  // 2400 samples at 8 kHz
  ASSERT_TRUE(bench::PumpUntil([&] { return window.notified; }));
  EXPECT_EQ(window.code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  EXPECT_EQ(window.device, static_cast<LPARAM>(device));  // the notice names the play's device
  EXPECT_NE(window.device, 0);
  EXPECT_EQ(OpenDeviceCount(), 1);  // the program closes the device itself
  mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, 0);

  // The sink is written by another process: give the bytes time to land.
  auto played = [&] { return bench::ReadFileBytes(sink).substr(before).find(samples) != std::string::npos; };
  bench::PumpUntil(played, 5000);
  EXPECT_TRUE(played()) << "the samples did not reach the sound device";
}

// ---- WAV headers ----

std::string Le16(unsigned v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) {
  return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
}
std::string Chunk(const std::string& id, const std::string& body) {
  std::string chunk = id + Le32(static_cast<uint32_t>(body.size())) + body;
  if (body.size() % 2) chunk.push_back('\0');  // chunks keep an even size
  return chunk;
}
std::string FormatChunk(unsigned tag, unsigned channels, uint32_t rate, unsigned blockAlign, unsigned bits) {
  return Chunk("fmt ",
               Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * blockAlign) + Le16(blockAlign) + Le16(bits));
}
std::string Riff(const std::string& chunks) {
  return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

TEST(PlayWaveFile, RefusesHeadersAWaveDeviceCannotTakeBeforeOpeningIt) {
  const std::string pcm = FormatChunk(1, 1, 8000, 1, 8);
  const std::string samples(800, '\x40');
  const std::pair<const char*, std::string> refused[] = {
      // Such a header once made the platform's wave driver end the process.
      {"absurd", Riff(FormatChunk(1, 65535, 0xFFFFFFFF, 0xFFFF, 0xFFFF) + Chunk("data", samples))},
      {"no channels", Riff(FormatChunk(1, 0, 8000, 1, 8) + Chunk("data", samples))},
      {"rate 0", Riff(FormatChunk(1, 1, 0, 1, 8) + Chunk("data", samples))},
      {"12-bit PCM", Riff(FormatChunk(1, 1, 8000, 2, 12) + Chunk("data", samples))},
      {"block align not channels times bytes", Riff(FormatChunk(1, 2, 8000, 1, 16) + Chunk("data", samples))},
      {"short fmt chunk", Riff(Chunk("fmt ", Le16(1) + Le16(1)) + Chunk("data", samples))},
      {"no fmt chunk", Riff(Chunk("data", samples))},
      {"data before fmt", Riff(Chunk("data", samples) + pcm)},
      {"no data chunk", Riff(pcm)},
      {"empty data chunk", Riff(pcm + Chunk("data", ""))},
      {"data chunk cut off", Riff(pcm) + "data" + Le32(1000)},
      {"not RIFF", "RIFX" + Riff(pcm + Chunk("data", samples)).substr(4)},
      {"not WAVE", Riff(pcm + Chunk("data", samples)).replace(8, 4, "AVI ")},
  };
  NotifyWindow window;
  for (const auto& [name, bytes] : refused) {
    std::string path = bench::TempPath("refused.wav");
    ASSERT_TRUE(bench::WriteFileBytes(path, bytes));
    EXPECT_FALSE(PlayWaveFile(window.get(), path.c_str())) << name;
    EXPECT_EQ(GetLastPlayInfo(nullptr), 0u) << name;
    EXPECT_EQ(OpenDeviceCount(), 0) << name;
  }
}

TEST(PlayWaveFile, FindsTheFormatPastOtherChunks) {
  std::string samples = DistinctSamples();
  // An odd-sized chunk (padded to even) and a second fmt chunk that must
  // not replace the first.
  std::string bytes = Riff(Chunk("LIST", "abc") + FormatChunk(1, 1, 8000, 1, 8) +
                           FormatChunk(1, 65535, 0xFFFFFFFF, 0xFFFF, 0xFFFF) + Chunk("data", samples));
  std::string path = bench::TempPath("chunks.wav");
  ASSERT_TRUE(bench::WriteFileBytes(path, bytes));
  NotifyWindow window;
  ASSERT_TRUE(PlayWaveFile(window.get(), path.c_str()));
  ASSERT_TRUE(bench::PumpUntil([&] { return window.notified; }));
}

// A one-note MIDI file (format 0, one track).
std::string OneNoteMidi() {
  auto be32 = [](size_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  const std::string track(
      "\x00\x90\x3c\x60"
      "\x60\x80\x3c\x00"
      "\x00\xff\x2f\x00",
      12);
  return "MThd" + be32(6) + std::string("\x00\x00\x00\x01\x00\x60", 6) + "MTrk" + be32(track.size()) + track;
}

TEST(PlayMidiFile, StartsOnlyWhenItCanEnd) {
  std::string path = bench::TempPath("note.mid");
  ASSERT_TRUE(bench::WriteFileBytes(path, OneNoteMidi()));
  NotifyWindow window;
  if (midiOutGetNumDevs() == 0) {
    // The sequencer would accept the play and never report its end.
    EXPECT_FALSE(PlayMidiFile(window.get(), path.c_str(), 0));
    EXPECT_EQ(OpenDeviceCount(), 0);
    return;
  }
  ASSERT_TRUE(PlayMidiFile(window.get(), path.c_str(), 0));
  EXPECT_EQ(OpenDeviceCount(), 1);
  EXPECT_TRUE(bench::PumpUntil([&] { return window.notified; }));
}

// A tiny uncompressed AVI: three 8x8 frames at ten frames a second.
std::string ThreeFrameVideo() {
  auto le32 = [](size_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  auto le16 = [](unsigned v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
  auto chunk = [&](const std::string& id, const std::string& data) { return id + le32(data.size()) + data; };
  auto list = [&](const std::string& type, const std::string& data) { return chunk("LIST", type + data); };
  const size_t width = 8, height = 8, frames = 3, frameSize = width * height * 3;
  std::string avih = le32(100000) + le32(frameSize * 10) + le32(0) + le32(0x10) + le32(frames) + le32(0) + le32(1) +
                     le32(frameSize) + le32(width) + le32(height) + std::string(16, '\0');
  std::string strh = "vidsDIB " + le32(0) + le16(0) + le16(0) + le32(0) + le32(1) + le32(10) + le32(0) + le32(frames) +
                     le32(frameSize) + le32(0xFFFFFFFF) + le32(0) + le16(0) + le16(0) + le16(width) + le16(height);
  std::string strf = le32(40) + le32(width) + le32(height) + le16(1) + le16(24) + le32(0) + le32(frameSize) + le32(0) +
                     le32(0) + le32(0) + le32(0);
  std::string movi, index;
  for (size_t i = 0; i < frames; ++i) {
    index += "00db" + le32(0x10) + le32(4 + movi.size()) + le32(frameSize);
    movi += chunk("00db", std::string(frameSize, static_cast<char>(0x40 * (i + 1))));
  }
  std::string body = "AVI " +
                     list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf))) +
                     list("movi", movi) + chunk("idx1", index);
  return chunk("RIFF", body);
}

TEST(PlayVideoFile, PlaysTheFileAndNotifiesTheWindow) {
  std::string path = bench::TempPath("clip.avi");
  ASSERT_TRUE(bench::WriteFileBytes(path, ThreeFrameVideo()));
  NotifyWindow window;
  ASSERT_TRUE(PlayVideoFile(window.get(), path.c_str()));
  EXPECT_EQ(OpenDeviceCount(), 1);
  ASSERT_TRUE(bench::PumpUntil([&] { return window.notified; }));
  EXPECT_EQ(window.code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
}

TEST(PlayFiles, MissingFilesDoNotStartAndLeaveNoDeviceOpen) {
  NotifyWindow window;
  std::string missing = bench::TempPath("missing");
  EXPECT_FALSE(PlayWaveFile(window.get(), (missing + ".wav").c_str()));
  EXPECT_FALSE(PlayMidiFile(window.get(), (missing + ".mid").c_str(), 0));
  EXPECT_FALSE(PlayVideoFile(window.get(), (missing + ".avi").c_str()));
  EXPECT_FALSE(PlayWaveFile(window.get(), "Untitled"));  // an object without a file
  EXPECT_FALSE(PlayWaveFile(window.get(), ""));
  EXPECT_FALSE(PlayWaveFile(window.get(), nullptr));
  EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST(PlayFiles, FileOfAnotherFormatDoesNotStart) {
  NotifyWindow window;
  std::string path = bench::TempPath("not-a-video.avi");
  ASSERT_TRUE(bench::WriteWaveFile(path, DistinctSamples()));
  EXPECT_FALSE(PlayVideoFile(window.get(), path.c_str()));
  EXPECT_EQ(OpenDeviceCount(), 0);
}

// ---- The CD drive: the test bench's virtual drive (bench/virtual_cd.h) ----

// A disc whose first track holds data: its audio tracks are 2 and 3.
const char kDataFirstDisc[] = "data 60000\naudio 180000\naudio 200000\n";

class CdAudio : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bench::VirtualCdInstalled()) << "the test prefix has no virtual CD drive"; }
};

TEST_F(CdAudio, TrackCountIsTheNumberOfTheLastAudioTrack) {
  const std::pair<const char*, UINT> discs[] = {
      {"audio 180000\naudio 200000\naudio 150000\n", 3},
      {kDataFirstDisc, 3},
      {"audio 180000\naudio 200000\ndata 60000\n", 2},  // audio, then a data session
      {"data 60000\n", 0},
      {"", 0},  // a drive without a disc
  };
  for (const auto& [disc, bound] : discs) {
    bench::VirtualCd cd(disc);
    EXPECT_EQ(GetCdTrackCount(0), bound) << disc;
  }
  EXPECT_EQ(GetCdTrackCount(0), 0u);  // no drive at all
  EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST_F(CdAudio, EveryAudioTrackUpToTheBoundPlaysAsItself) {
  bench::VirtualCd cd(kDataFirstDisc);
  const BYTE bound = static_cast<BYTE>(GetCdTrackCount(0));
  ASSERT_EQ(bound, 3);
  for (BYTE track : {3, 2}) {
    bench::SinkWatch sink;
    NotifyWindow window;
    ASSERT_TRUE(PlayCdTrack(window.get(), track, bound)) << int(track);
    DWORD lengthMs = 0;
    UINT device = GetLastPlayInfo(&lengthMs);
    EXPECT_EQ(lengthMs, track == 2 ? 180000u : 200000u);
    ASSERT_TRUE(bench::PumpUntil([&] { return window.notified; }));
    EXPECT_EQ(window.code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_EQ(window.device, static_cast<LPARAM>(device));
    mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, 0);
    if (!sink.Available()) continue;
    EXPECT_TRUE(sink.Holds(bench::VirtualCdTone(track))) << "track " << int(track) << " was not heard";
    EXPECT_EQ(sink.Received().find(bench::VirtualCdTone(5 - track)), std::string::npos)
        << "track " << int(track) << " played into the next";
  }
}

TEST_F(CdAudio, DataTracksAndTracksPastTheBoundDoNotPlay) {
  bench::VirtualCd cd(kDataFirstDisc);
  NotifyWindow window;
  EXPECT_FALSE(PlayCdTrack(window.get(), 1, 3));  // the data track
  EXPECT_FALSE(PlayCdTrack(window.get(), 3, 2));  // past the bound given
  EXPECT_FALSE(PlayCdTrack(window.get(), 4, 4));  // past the disc
  EXPECT_FALSE(PlayCdTrack(window.get(), 0, 3));
  EXPECT_EQ(GetLastPlayInfo(nullptr), 0u);
  EXPECT_EQ(OpenDeviceCount(), 0);
  bench::PumpMessages();
  EXPECT_FALSE(window.notified);

  cd.Insert("");  // the disc taken out
  EXPECT_FALSE(PlayCdTrack(window.get(), 2, 3));
  EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST(CdAudioWithoutADrive, NothingIsCountedOrPlayed) {
  NotifyWindow window;
  EXPECT_EQ(GetCdTrackCount(0), 0u);
  EXPECT_FALSE(PlayCdTrack(window.get(), 1, 5));
  EXPECT_EQ(OpenDeviceCount(), 0);
}

}  // namespace
