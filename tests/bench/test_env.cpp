#include "bench/test_env.h"

#include "resources/ids.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace bench {

HKEY g_sandboxKey = nullptr;  // set by test_main.cpp

HINSTANCE LanguageModule() {
  static HINSTANCE module = LoadLibraryA("wd_eng.dll");
  return module;
}

std::string LanguageString(UINT id) {
  char text[1024] = "";
  if (!LoadStringA(LanguageModule(), id, text, sizeof text)) return std::string();
  return text;
}

namespace {

// Deletes every subkey and value of key, except the subkey named keep.
void EmptyKey(HKEY key, const char* keep) {
  char name[512];
  for (DWORD index = 0;;) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (keep && lstrcmpiA(name, keep) == 0) {
      ++index;
      continue;
    }
    if (SHDeleteKeyA(key, name) != ERROR_SUCCESS) ++index;
  }
  for (;;) {
    DWORD length = sizeof name;
    if (RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (RegDeleteValueA(key, name) != ERROR_SUCCESS) break;
  }
}

}  // namespace

void ClearRegistry() {
  if (!g_sandboxKey) return;
  // Wine keeps its own per-user settings (the sound devices among them)
  // under Software\Wine of the redirected key: they stay.
  EmptyKey(g_sandboxKey, "Software");
  HKEY software;
  if (RegOpenKeyExA(g_sandboxKey, "Software", 0, KEY_ALL_ACCESS, &software) == ERROR_SUCCESS) {
    EmptyKey(software, "Wine");
    RegCloseKey(software);
  }
}

UnwritableRegistry::UnwritableRegistry() {
  ClearRegistry();
  HKEY maker;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane Software", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &maker, nullptr) == ERROR_SUCCESS)
    RegCloseKey(maker);
}

UnwritableRegistry::~UnwritableRegistry() { ClearRegistry(); }

static bool RegWrite(const std::string& key, const std::string& value, DWORD type, const void* data, DWORD size) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG r = RegSetValueExA(k, value.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

bool RegWriteDword(const std::string& key, const std::string& value, DWORD data) {
  return RegWrite(key, value, REG_DWORD, &data, sizeof data);
}

bool RegWriteString(const std::string& key, const std::string& value, const std::string& data) {
  return RegWrite(key, value, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() + 1));
}

bool RegWriteBinary(const std::string& key, const std::string& value, const void* data, DWORD size) {
  return RegWrite(key, value, REG_BINARY, data, size);
}

static bool RegRead(const std::string& key, const std::string& value, DWORD* type, std::vector<char>* data) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG r = RegQueryValueExA(k, value.c_str(), nullptr, type, nullptr, &size);
  if (r == ERROR_SUCCESS) {
    data->assign(size + 1, 0);
    r = RegQueryValueExA(k, value.c_str(), nullptr, type, reinterpret_cast<BYTE*>(data->data()), &size);
    data->resize(size);
  }
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

bool RegReadDword(const std::string& key, const std::string& value, DWORD* data) {
  DWORD type = 0;
  std::vector<char> bytes;
  if (!RegRead(key, value, &type, &bytes) || type != REG_DWORD || bytes.size() != 4) return false;
  std::memcpy(data, bytes.data(), 4);
  return true;
}

bool RegReadString(const std::string& key, const std::string& value, std::string* data) {
  DWORD type = 0;
  std::vector<char> bytes;
  if (!RegRead(key, value, &type, &bytes) || type != REG_SZ) return false;
  data->assign(bytes.data(), strnlen(bytes.data(), bytes.size()));
  return true;
}

bool RegKeyExists(const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

const std::string& TempDir() {
  static std::string dir = [] {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%swendle-test-%lu", base, GetCurrentProcessId());
    CreateDirectoryA(name, nullptr);
    return std::string(name);
  }();
  return dir;
}

std::string TempPath(const std::string& name) { return TempDir() + "\\" + name; }

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  fclose(f);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

std::string WindowText(HWND window) {
  char text[2048] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    PumpMessages();
    if (done()) return true;
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return done();
    // Looked at again at least every 20 ms: what it waits for may come
    // from another thread without a message.
    DWORD wait = timeoutMs - elapsed;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait < 20 ? wait : 20, QS_ALLINPUT);
  }
}

std::string SoundSinkPath() {
  char unixPath[MAX_PATH] = "";
  if (!GetEnvironmentVariableA("WENDLE_SOUND_SINK", unixPath, sizeof unixPath)) return std::string();
  // Wine maps the Unix root to drive Z:.
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool WriteWaveFile(const std::string& path, const std::string& samples, DWORD rate) {
  auto le32 = [](DWORD v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
  };
  auto le16 = [](WORD v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
  DWORD dataSize = static_cast<DWORD>(samples.size());
  std::string wav = "RIFF" + le32(36 + dataSize) + "WAVE" + "fmt " + le32(16) + le16(1) + le16(1) + le32(rate) +
                    le32(rate) + le16(1) + le16(8) + "data" + le32(dataSize) + samples;
  return WriteFileBytes(path, wav);
}

}  // namespace bench

namespace bench {

bool SaysCannotWrite(const std::string& text, const std::string& path) {
  // "%s could not be written: %s ...": the part after the path, up to its
  // reason, is the same for every file.
  const std::string format = LanguageString(IDS_FMT_CANNOT_WRITE);
  const size_t name = format.find("%s");
  const size_t reason = format.find("%s", name + 2);
  if (name == std::string::npos || reason == std::string::npos) return false;
  const std::string between = format.substr(name + 2, reason - name - 2);
  return text.size() > path.size() + between.size() &&
         lstrcmpiA(text.substr(0, path.size()).c_str(), path.c_str()) == 0 &&
         text.compare(path.size(), between.size(), between) == 0;
}

}  // namespace bench
