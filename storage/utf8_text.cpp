// UTF-8 checks for the stored formats (see utf8_text.h).
#include "storage/utf8_text.h"

#include <stdint.h>

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

bool IsAsciiText(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      return false;
    }
  }
  return true;
}

// The ranges of Unicode's table of well-formed byte sequences: the second
// byte's range depends on the first byte, which rules out overlong forms,
// surrogates and values above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
  const auto* at = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = at + text.size();
  while (at < end) {
    unsigned char lead = *at;
    if (lead < 0x80) {
      ++at;
      continue;
    }
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (static_cast<size_t>(end - at) < length || at[1] < low || at[1] > high) {
      return false;
    }
    for (size_t i = 2; i < length; ++i) {
      if (!IsContinuation(at[i])) {
        return false;
      }
    }
    at += length;
  }
  return true;
}

size_t Utf8CutLength(std::string_view text, size_t limit) {
  if (limit >= text.size()) {
    return text.size();
  }
  size_t length = limit;
  while (length > 0 && limit - length < 3 && IsContinuation(static_cast<unsigned char>(text[length]))) {
    --length;
  }
  return length;
}
