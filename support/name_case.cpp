#include "support/name_case.h"

#include <windows.h>

#include <cstring>

namespace {

// More than any name holds (kTextBufferSize bytes).
constexpr int kMostCharacters = 1024;

}  // namespace

void UpperCaseName(char* name, size_t size) {
  if (!name || size == 0) return;
  wchar_t wide[kMostCharacters];
  int length = MultiByteToWideChar(CP_ACP, 0, name, -1, wide, kMostCharacters);
  if (length <= 1) return;  // empty, or longer than any name: as it is
  CharUpperBuffW(wide, static_cast<DWORD>(length - 1));
  char upper[4 * kMostCharacters];
  BOOL usedDefault = FALSE;
  bool utf8 = GetACP() == CP_UTF8;
  int bytes = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, length, upper, sizeof upper, nullptr,
                                  utf8 ? nullptr : &usedDefault);
  if (bytes <= 0 || usedDefault || static_cast<size_t>(bytes) > size) return;
  memcpy(name, upper, static_cast<size_t>(bytes));
}
