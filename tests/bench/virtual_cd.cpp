#include "bench/virtual_cd.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include "bench/test_env.h"
#include "bench/virtual_cd/disc.h"

namespace bench {

namespace {

const char kDiscVariable[] = "WENDLE_VIRTUAL_CD";
const char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";
const char kDriverName[] = "wendle_virtual_cd.dll";

size_t EnvironmentSize() {
  LPCH block = GetEnvironmentStringsA();
  if (!block) return 0;
  const char* end = block;
  while (*end) end += lstrlenA(end) + 1;
  size_t size = static_cast<size_t>(end - block);
  FreeEnvironmentStringsA(block);
  return size;
}

}  // namespace

VirtualCd::VirtualCd(const std::string& disc) {
  static int made = 0;
  path_ = TempPath("virtual_cd_" + std::to_string(++made) + ".txt");
  char previous[MAX_PATH * 2];
  DWORD length = GetEnvironmentVariableA(kDiscVariable, previous, sizeof previous);
  if (length > 0 && length < sizeof previous) previous_ = previous;
  Insert(disc);
  if (!SetEnvironmentVariableA(kDiscVariable, path_.c_str()))
    ADD_FAILURE() << "the disc variable was not set: error " << GetLastError() << ", " << EnvironmentSize()
                  << " characters of environment";
}

VirtualCd::~VirtualCd() {
  SetEnvironmentVariableA(kDiscVariable, previous_.empty() ? nullptr : previous_.c_str());
  DeleteFileA(path_.c_str());
}

void VirtualCd::Insert(const std::string& disc) { WriteFileBytes(path_, disc); }

bool VirtualCdInstalled() {
  char value[MAX_PATH * 2] = "";
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kMciKey, "CDAudio", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return false;
  std::string driver(value);
  const std::string name(kDriverName);
  if (driver.size() < name.size()) return false;
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, driver.c_str() + driver.size() - name.size(), -1,
                        name.c_str(), -1) == CSTR_EQUAL;
}

std::string VirtualCdState() {
  char path[MAX_PATH * 2] = "";
  DWORD length = GetEnvironmentVariableA(kDiscVariable, path, sizeof path);
  std::string state = "disc variable of " + std::to_string(length) + " characters (error " +
                      std::to_string(length ? 0 : GetLastError()) + ", environment of " +
                      std::to_string(EnvironmentSize()) + "), disc file \"" +
                      std::string(length < sizeof path ? path : "") + "\"";
  state +=
      GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ? " (missing)" : " holding \"" + ReadFileBytes(path) + "\"";
  char error[256] = "";
  MCIERROR result = mciSendStringA("open cdaudio alias wendle_state wait", nullptr, 0, nullptr);
  if (result == 0) {
    mciSendStringA("close wendle_state wait", nullptr, 0, nullptr);
    return state + "; the device opens";
  }
  mciGetErrorStringA(result, error, sizeof error);
  return state + "; opening the device: " + std::to_string(result) + " " + error;
}

std::string VirtualCdTone(int track) {
  std::string samples;
  for (size_t i = 0; i < virtual_cd::kToneSamples; ++i)
    samples.push_back(static_cast<char>(virtual_cd::ToneSample(track, i)));
  return samples;
}

SinkWatch::SinkWatch() : path_(SoundSinkPath()) {
  if (!path_.empty()) start_ = ReadFileBytes(path_).size();
}

std::string SinkWatch::Received() const {
  if (path_.empty()) return std::string();
  std::string bytes = ReadFileBytes(path_);
  return bytes.size() > start_ ? bytes.substr(start_) : std::string();
}

bool SinkWatch::Holds(const std::string& samples, DWORD timeoutMs) const {
  // No message tells of the file's growth: look again every few moments.
  const DWORD start = GetTickCount();
  for (;;) {
    PumpMessages();
    if (Received().find(samples) != std::string::npos) return true;
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

}  // namespace bench
