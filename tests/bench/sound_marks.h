// Sounds that can be told apart in the sound sink: each marked WAV begins
// with a signature of its own, so the sink shows which sounds started, in
// which order, whatever was played between them.
#ifndef WENDLE_SOUND_MARKS_H
#define WENDLE_SOUND_MARKS_H

#include <string>
#include <utility>
#include <vector>

namespace bench {

// Writes an 8-bit 8 kHz mono WAV of the given length whose samples begin
// with sound `mark`'s signature (mark 0..63). Returns the path.
std::string WriteMarkedWave(const std::string& name, int mark, int milliseconds);
// The same, ending with sound `endMark`'s signature: the sink shows when
// the whole sound has arrived.
std::string WriteMarkedWave(const std::string& name, int mark, int milliseconds, int endMark);

// The same, with the signature of each mark at its place: {milliseconds
// from the start, mark}, in order; the sink shows from where it played.
std::string WriteMarkedWaveAt(const std::string& name, int milliseconds,
                              const std::vector<std::pair<int, int>>& marksAt);

// Writes a list file of marked sounds (and Pause objects for negative
// marks: -n is a pause of n seconds) in the folder of path. Returns path.
std::string WriteMarkedList(const std::string& path, const std::vector<int>& marks, int milliseconds = 200);

// One object of a marked list: a short sound with mark; with endMark >= 0,
// a long sound from mark to endMark, whose start and end show in the sink;
// for a negative mark, a Pause object (-n: n seconds). delay is its post
// time delay.
struct MarkedObject {
  int mark;
  int endMark = -1;
  int delay = 0;
};
// Writes a list file of such objects at path, the sounds named
// <wavePrefix><mark>.wav beside it: short ones of milliseconds, long ones
// of longMilliseconds. Returns path.
std::string WriteMarkedObjects(const std::string& path, const std::vector<MarkedObject>& objects,
                               const std::string& wavePrefix, int milliseconds = 200, int longMilliseconds = 20000);

// Whether MCI's audio-file device ("mpegvideo") opens the file at path in
// this process, of the test's width: its decoders are installed.
bool AudioFileDeviceOpens(const std::string& path);

// Everything in the sink from byte `from` on.
std::string SinkBytes(size_t from = 0);
size_t SinkSize();

// The marks whose signatures appear in bytes, in the order they start.
std::vector<int> MarksIn(const std::string& bytes);

// Waits (pumping messages) until the sink holds at least `count` marks
// after `from`; returns them.
std::vector<int> WaitForMarks(size_t from, size_t count, unsigned timeoutMs = 20000);

}  // namespace bench

#endif
