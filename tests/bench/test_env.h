// Helpers shared by the test executables: the per-process registry
// sandbox, scratch folders, message pumping and the sound sink.
#ifndef WENDLE_TEST_ENV_H
#define WENDLE_TEST_ENV_H

#include <windows.h>

#include <functional>
#include <string>

namespace bench {

// The English language module, loaded once per process ("wd_eng.dll" beside
// the test executable).
HINSTANCE LanguageModule();

// Text of a string of the language module (empty when missing).
std::string LanguageString(UINT id);

// Every test process runs with HKEY_CURRENT_USER redirected to a private
// key (see test_main.cpp); this empties it, but for Wine's own settings.
void ClearRegistry();

// While alive, no key of the program can be created:
// the sandbox is emptied and the maker's key made volatile, below which
// the registry refuses every non-volatile key (as the program's are).
class UnwritableRegistry {
 public:
  UnwritableRegistry();
  ~UnwritableRegistry();
  UnwritableRegistry(const UnwritableRegistry&) = delete;
  UnwritableRegistry& operator=(const UnwritableRegistry&) = delete;
};

// Registry shortcuts for arranging and checking test states (under the
// sandboxed HKEY_CURRENT_USER).
bool RegWriteDword(const std::string& key, const std::string& value, DWORD data);
bool RegWriteString(const std::string& key, const std::string& value, const std::string& data);
bool RegWriteBinary(const std::string& key, const std::string& value, const void* data, DWORD size);
bool RegReadDword(const std::string& key, const std::string& value, DWORD* data);
bool RegReadString(const std::string& key, const std::string& value, std::string* data);
bool RegKeyExists(const std::string& key);

// A fresh, empty folder for this test process; removed at exit.
const std::string& TempDir();
std::string TempPath(const std::string& name);
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// A window's text and its class name.
std::string WindowText(HWND window);
std::string ClassName(HWND window);

// Dispatches every pending message of this thread.
void PumpMessages();
// Runs this thread's messages until done() is true or timeoutMs passes;
// blocks on the queue between messages, 20 ms at most. Returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// The file that receives everything Wine plays through the sound device
// (WENDLE_SOUND_SINK, set by scripts/test.sh); empty when not configured.
std::string SoundSinkPath();

// Whether text is the program's "could not be written" message for path
// (its name in any letter case), with a reason after it.
bool SaysCannotWrite(const std::string& text, const std::string& path);

// Writes a PCM WAV file: 8-bit mono at the given rate, samples as given.
bool WriteWaveFile(const std::string& path, const std::string& samples, DWORD rate = 8000);

}  // namespace bench

#endif
