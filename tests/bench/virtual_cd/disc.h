// The disc of the test bench's virtual CD drive: its description file and
// the tone each audio track sounds as. Shared by the drive (virtual_cd.cpp)
// and the tests (bench/virtual_cd.h), so both agree on every byte.
//
// Disc file, one line per track in track order:
//   audio <milliseconds>
//   audio <milliseconds> held   the play stays in progress after the tone,
//                               until it is stopped, so a test can look at
//                               a track that plays as long as it likes
//   data <milliseconds>
//   stuck                       the drive never answers a play: MCI_PLAY
//                               blocks until the process raises the event
//                               kStuckReleaseEvent (or ends), as a drive
//                               or driver that hangs would
// Blank lines are ignored. An empty file, or one holding the line "nodisc",
// describes a drive without a disc. Any other line makes the file unusable,
// and the drive then does not open.
#ifndef WENDLE_VIRTUAL_CD_DISC_H
#define WENDLE_VIRTUAL_CD_DISC_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace virtual_cd {

constexpr int kMaxTracks = 99;  // track numbers of an audio CD: 1..99
// The event (manual reset, in the process's own session) that lets a
// stuck drive's plays come back.
constexpr wchar_t kStuckReleaseEvent[] = L"WendleVirtualCdRelease";
constexpr uint32_t kMaxTrackMs = 100u * 60u * 1000u;

struct Track {
  bool audio = false;
  bool held = false;
  uint32_t lengthMs = 0;
};

struct Disc {
  bool present = false;
  bool stuck = false;
  int trackCount = 0;
  Track tracks[kMaxTracks];  // tracks[n - 1] is track n
};

// Parses a disc file; false when a line is not one of the three forms or
// the disc would have more than kMaxTracks tracks.
inline bool ParseDisc(std::string_view text, Disc* disc) {
  *disc = Disc();
  bool noDisc = false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty()) continue;
    if (line == "nodisc") {
      noDisc = true;
      continue;
    }
    if (line == "stuck") {
      disc->stuck = true;
      continue;
    }
    Track track;
    if (line.substr(0, 6) == "audio ") {
      track.audio = true;
      line.remove_prefix(6);
    } else if (line.substr(0, 5) == "data ") {
      line.remove_prefix(5);
    } else {
      return false;
    }
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    constexpr std::string_view kHeld = " held";
    if (track.audio && line.size() > kHeld.size() && line.substr(line.size() - kHeld.size()) == kHeld) {
      track.held = true;
      line.remove_suffix(kHeld.size());
    }
    if (line.empty() || line.size() > 9) return false;
    for (char c : line) {
      if (c < '0' || c > '9') return false;
      track.lengthMs = track.lengthMs * 10 + static_cast<uint32_t>(c - '0');
    }
    if (track.lengthMs > kMaxTrackMs || disc->trackCount == kMaxTracks) return false;
    disc->tracks[disc->trackCount++] = track;
  }
  const bool stuck = disc->stuck;
  disc->present = !noDisc && disc->trackCount > 0;
  if (!disc->present) disc->trackCount = 0;
  disc->stuck = stuck;
  return true;
}

// Every audio track sounds as the same number of 8-bit mono samples at
// 8 kHz, a square wave whose levels and period depend on the track number,
// so no track's tone is found inside another's.
constexpr uint32_t kToneRate = 8000;
constexpr size_t kToneSamples = 1600;

inline unsigned char ToneSample(int track, size_t index) {
  size_t halfPeriod = 3 + static_cast<size_t>(track);
  bool high = (index / halfPeriod) % 2 == 0;
  return static_cast<unsigned char>(high ? 0xA0 + track : 0x60 - track);
}

}  // namespace virtual_cd

#endif
