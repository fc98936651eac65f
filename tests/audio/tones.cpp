#include "tones.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>

#include "bench/sound_marks.h"
#include "bench/test_env.h"

namespace tones {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSampleRate = 96000;  // 48 kHz, two interleaved channels
constexpr size_t kStretch = 2400;      // samples in 25 ms
constexpr double kDominant = 0.5;      // share of the stretch's energy
constexpr int kHitsHeard = 3;          // stretches a tone must dominate

// The share of the samples' energy at frequency (Goertzel): about 1 for a
// pure tone of it.
double Share(const std::vector<float>& x, double frequency, double energy) {
  double k = 2 * std::cos(2 * kPi * frequency / kSampleRate), s1 = 0, s2 = 0;
  for (float v : x) {
    double s = v + k * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  double power = s1 * s1 + s2 * s2 - k * s1 * s2;
  return power / (energy * x.size() / 2);
}

}  // namespace

std::vector<int> TonesIn(const std::string& bytes, const std::vector<int>& candidates) {
  // (byte offset, tone) of every stretch a tone dominates.
  std::vector<std::pair<size_t, int>> found;
  std::vector<float> x;
  x.reserve(kStretch);
  // The float samples begin wherever the sounds before them ended: each
  // alignment is read. The renderer's underruns leave runs of exact zeros
  // between bursts; they are passed over. Anything that is no plausible
  // sample (another sound's bytes) starts the stretch anew.
  // A WAV's 16-bit samples are read as well: two bytes each.
  for (size_t align = 0; align < 6; ++align) {
    const bool pcm16 = align >= 4;
    const size_t step = pcm16 ? 2 : 4;
    x.clear();
    double energy = 0;
    for (size_t at = pcm16 ? align - 4 : align; at + step <= bytes.size(); at += step) {
      float v;
      if (pcm16) {
        int16_t sample;
        memcpy(&sample, bytes.data() + at, 2);
        v = sample / 32768.0f;
      } else {
        memcpy(&v, bytes.data() + at, 4);
      }
      if (!std::isfinite(v) || std::fabs(v) > 2) {
        x.clear();
        energy = 0;
        continue;
      }
      if (v == 0) continue;
      x.push_back(v);
      energy += static_cast<double>(v) * v;
      if (x.size() < kStretch) continue;
      if (energy / kStretch > 1e-4) {
        int best = 0;
        double bestShare = kDominant;
        for (int frequency : candidates) {
          double share = Share(x, frequency, energy);
          if (share > bestShare) {
            bestShare = share;
            best = frequency;
          }
        }
        if (best) found.emplace_back(at, best);
      }
      x.clear();
      energy = 0;
    }
  }
  std::sort(found.begin(), found.end());
  std::map<int, int> hits;
  std::vector<int> order;
  for (const auto& hit : found)
    if (++hits[hit.second] == kHitsHeard) order.push_back(hit.second);
  return order;
}

std::vector<int> WaitForTones(size_t from, const std::vector<int>& candidates, size_t count, unsigned timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    std::vector<int> heard = TonesIn(bench::SinkBytes(from), candidates);
    if (heard.size() >= count || GetTickCount64() >= end) return heard;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
  }
}

namespace {

std::string ToneFrames(int frequency, int milliseconds) {
  const DWORD frames = 48 * static_cast<DWORD>(milliseconds);
  std::string data(frames * 4, '\0');
  for (DWORD i = 0; i < frames; ++i) {
    auto v = static_cast<int16_t>(16384 * std::sin(2 * kPi * frequency * i / 48000.0));
    memcpy(&data[i * 4], &v, 2);
    memcpy(&data[i * 4 + 2], &v, 2);
  }
  return data;
}

bool WriteStereoWave(const std::string& path, const std::string& data) {
  auto le32 = [](DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto le16 = [](WORD v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
  std::string wav = "RIFF" + le32(36 + static_cast<DWORD>(data.size())) + "WAVE" + "fmt " + le32(16) + le16(1) +
                    le16(2) + le32(48000) + le32(48000 * 4) + le16(4) + le16(16) + "data" +
                    le32(static_cast<DWORD>(data.size())) + data;
  return bench::WriteFileBytes(path, wav);
}

}  // namespace

bool WriteToneWave(const std::string& path, int frequency, int milliseconds) {
  return WriteStereoWave(path, ToneFrames(frequency, milliseconds));
}

bool WriteTwoToneWave(const std::string& path, int first, int second, int milliseconds) {
  return WriteStereoWave(path, ToneFrames(first, milliseconds) + ToneFrames(second, milliseconds));
}

}  // namespace tones
