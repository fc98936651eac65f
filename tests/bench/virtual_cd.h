// The test bench's virtual CD drive, as the tests use it.
//
// The test prefix's "CDAudio" MCI driver is wendle_virtual_cd.dll
// (tests/bench/virtual_cd, registered by scripts/wine-env.sh). It serves
// the disc that the environment variable WENDLE_VIRTUAL_CD of the opening
// process describes; a process without it has no CD drive at all, so tests
// that do not ask for a drive see none. The disc is read at every open of
// the device.
//
// Disc description, one line per track in track order (see disc.h):
//   audio <milliseconds>      an audio track
//   data <milliseconds>       a data track
// "" (or "nodisc") is a drive without a disc.
//
//   bench::VirtualCd cd("data 60000\naudio 180000\naudio 200000\n");
//   bench::SinkWatch sink;
//   PlayCdTrack(window, 3, 3);          // ... wait for the notice
//   EXPECT_TRUE(sink.Holds(bench::VirtualCdTone(3)));
//
// Each audio track sounds as its own short tone (VirtualCdTone) through the
// wave device, whatever its length: the length only shapes the times the
// drive reports. Data tracks are silent.
#ifndef WENDLE_BENCH_VIRTUAL_CD_H
#define WENDLE_BENCH_VIRTUAL_CD_H

#include <windows.h>

#include <string>

namespace bench {

class VirtualCd {
 public:
  // A drive holding the disc described (no disc for an empty text).
  explicit VirtualCd(const std::string& disc);
  // The drive holds again what it held before: nothing, or the disc of the
  // VirtualCd that was alive when this one was made.
  ~VirtualCd();
  VirtualCd(const VirtualCd&) = delete;
  VirtualCd& operator=(const VirtualCd&) = delete;

  // Puts another disc in the drive; the next open sees it.
  void Insert(const std::string& disc);

 private:
  std::string path_;
  std::string previous_;
};

// True when the prefix's CD-audio driver is the virtual drive.
bool VirtualCdInstalled();

// What the drive looks like from here, for a failure's message: the disc
// file this process names, what it holds, and what opening the device says.
std::string VirtualCdState();

// The samples the virtual drive plays for an audio track.
std::string VirtualCdTone(int track);

// What the sound sink (SoundSinkPath) receives from its creation on.
class SinkWatch {
 public:
  SinkWatch();
  // Waits, running this thread's messages, until samples have arrived;
  // false when they have not after timeoutMs. The sink is written by
  // another process, so bytes land a little after the play reports its end.
  bool Holds(const std::string& samples, DWORD timeoutMs = 5000) const;
  // Everything that arrived so far.
  std::string Received() const;
  bool Available() const { return !path_.empty(); }

 private:
  std::string path_;
  size_t start_ = 0;
};

}  // namespace bench

#endif
