#include "bench/sound_marks.h"

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "bench/test_env.h"

namespace bench {

namespace {

constexpr size_t kSignatureLength = 48;
// Marks 0 to 63 are looked for in the sink.
constexpr int kMarkCount = 64;

std::string Signature(int mark) {
  std::string bytes;
  for (size_t i = 0; i < kSignatureLength; ++i)
    bytes.push_back(static_cast<char>(1 + (mark * 61 + static_cast<int>(i) * 29 + static_cast<int>(i * i) * 7) % 253));
  return bytes;
}

}  // namespace

std::string WriteMarkedWave(const std::string& name, int mark, int milliseconds) {
  return WriteMarkedWave(name, mark, milliseconds, -1);
}

std::string WriteMarkedWave(const std::string& name, int mark, int milliseconds, int endMark) {
  if (mark < 0 || mark >= kMarkCount || endMark >= kMarkCount)
    ADD_FAILURE() << "mark " << mark << " or " << endMark << " would never be found in the sink";
  std::string samples = Signature(mark);
  size_t total = static_cast<size_t>(milliseconds) * 8;
  const size_t fill = endMark >= 0 && total > 2 * kSignatureLength ? total - kSignatureLength : total;
  while (samples.size() < fill) samples.push_back(static_cast<char>(0x80 + ((samples.size() / 8) % 2 ? 24 : -24)));
  if (endMark >= 0) samples += Signature(endMark);
  std::string path = TempPath(name);
  WriteWaveFile(path, samples, 8000);
  return path;
}

std::string WriteMarkedWaveAt(const std::string& name, int milliseconds,
                              const std::vector<std::pair<int, int>>& marksAt) {
  std::string samples;
  const size_t total = static_cast<size_t>(milliseconds) * 8;
  for (const auto& mark : marksAt) {
    const size_t at = std::min(static_cast<size_t>(mark.first) * 8, total - kSignatureLength);
    while (samples.size() < at) samples.push_back(static_cast<char>(0x80 + ((samples.size() / 8) % 2 ? 24 : -24)));
    samples += Signature(mark.second);
  }
  while (samples.size() < total) samples.push_back(static_cast<char>(0x80 + ((samples.size() / 8) % 2 ? 24 : -24)));
  std::string path = TempPath(name);
  WriteWaveFile(path, samples, 8000);
  return path;
}

std::string WriteMarkedList(const std::string& path, const std::vector<int>& marks, int milliseconds) {
  std::vector<MarkedObject> objects;
  for (int mark : marks) objects.push_back({mark});
  return WriteMarkedObjects(path, objects, "sound", milliseconds);
}

std::string WriteMarkedObjects(const std::string& path, const std::vector<MarkedObject>& objects,
                               const std::string& wavePrefix, int milliseconds, int longMilliseconds) {
  std::string text = "WDv1.0\n";
  for (const MarkedObject& object : objects) {
    if (object.mark < 0) {
      text += "*\nPause " + std::to_string(-object.mark) + " sec.\n8 0 " + std::to_string(-object.mark) + " 0\n";
      continue;
    }
    const int length = object.endMark >= 0 ? longMilliseconds : milliseconds;
    std::string wave =
        WriteMarkedWave(wavePrefix + std::to_string(object.mark) + ".wav", object.mark, length, object.endMark);
    text += "Sound " + std::to_string(object.mark) + "\n" + wave + "\n1 0 " + std::to_string(object.delay) + " 0\n";
  }
  WriteFileBytes(path, text);
  return path;
}

std::string SinkBytes(size_t from) {
  std::string bytes = ReadFileBytes(SoundSinkPath());
  return from < bytes.size() ? bytes.substr(from) : std::string();
}

size_t SinkSize() { return ReadFileBytes(SoundSinkPath()).size(); }

std::vector<int> MarksIn(const std::string& bytes) {
  std::vector<std::pair<size_t, int>> found;
  for (int mark = 0; mark < kMarkCount; ++mark) {
    std::string signature = Signature(mark);
    for (size_t at = bytes.find(signature); at != std::string::npos; at = bytes.find(signature, at + 1))
      found.emplace_back(at, mark);
  }
  std::sort(found.begin(), found.end());
  std::vector<int> marks;
  for (const auto& entry : found) marks.push_back(entry.second);
  return marks;
}

std::vector<int> WaitForMarks(size_t from, size_t count, unsigned timeoutMs) {
  // The sink is written by another process: look again every 20 ms.
  std::vector<int> marks;
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    PumpMessages();
    marks = MarksIn(SinkBytes(from));
    if (marks.size() >= count || GetTickCount64() >= end) return marks;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

bool AudioFileDeviceOpens(const std::string& path) {
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = "mpegvideo";
  open.lpstrElementName = path.c_str();
  if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)))
    return false;
  mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
  return true;
}

}  // namespace bench
