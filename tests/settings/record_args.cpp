// Writes the command line it was started with to %WENDLE_RECORD_ARGS%,
// in UTF-8.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("WENDLE_RECORD_ARGS", path, sizeof path)) return 1;
  char temp[MAX_PATH + 8];
  snprintf(temp, sizeof temp, "%s.tmp", path);
  FILE* f = fopen(temp, "wb");
  if (!f) return 1;
  // The line as the system hands it over, in wide characters, written as
  // UTF-8: whatever the code page of this program, names in any script
  // are seen as the editor would see them.
  char line[4096] = "";
  WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof line, nullptr, nullptr);
  fwrite(line, 1, strlen(line), f);
  fclose(f);
  return MoveFileA(temp, path) ? 0 : 1;  // appears whole or not at all
}
