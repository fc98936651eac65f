// Tones in the sound sink. A compressed sound reaches it as 48 kHz stereo
// float32 samples, in bursts with gaps between them, so a test tells which
// sound was heard by its dominant frequency, not by its bytes.
#ifndef WENDLE_TESTS_AUDIO_TONES_H
#define WENDLE_TESTS_AUDIO_TONES_H

#include <string>
#include <vector>

namespace tones {

// The frequencies among `candidates` that dominate short stretches of
// bytes read as 48 kHz stereo samples, float32 or 16-bit, whatever their
// alignment, in the order they are heard; a frequency counts once it
// dominates three stretches.
std::vector<int> TonesIn(const std::string& bytes, const std::vector<int>& candidates);

// Waits (pumping messages) until the sink holds at least `count` of the
// candidates' tones after byte `from`; returns the tones heard.
std::vector<int> WaitForTones(size_t from, const std::vector<int>& candidates, size_t count,
                              unsigned timeoutMs = 30000);

// A WAV of a sine tone as 48 kHz stereo 16-bit samples, which the wave
// device passes to the sink as they are.
bool WriteToneWave(const std::string& path, int frequency, int milliseconds);
// The same, of one tone and then another, each for milliseconds: where it
// plays from shows by which tone is heard.
bool WriteTwoToneWave(const std::string& path, int first, int second, int milliseconds);

}  // namespace tones

#endif
