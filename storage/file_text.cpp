#include "storage/file_text.h"

#include <cstdlib>

#include "storage/utf8_text.h"

namespace {

UINT LegacyCodePage() {
  char number[8] = "";
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number)) return GetACP();
  UINT page = static_cast<UINT>(strtoul(number, nullptr, 10));
  return page ? page : GetACP();  // 0: a locale with no ANSI code page
}

}  // namespace

bool ToWide(UINT from, std::string_view text, std::wstring* wide) {
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide->resize(static_cast<size_t>(length));
  return MultiByteToWideChar(from, 0, text.data(), size, &(*wide)[0], length) == length;
}

bool FromWide(UINT to, const std::wstring& wide, bool exact, std::string* out) {
  BOOL usedDefault = FALSE;
  // The UTF code pages take neither the flag nor the question.
  bool utf = to == CP_UTF8 || to == CP_UTF7;
  DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* asked = utf || !exact ? nullptr : &usedDefault;
  int size = static_cast<int>(wide.size());
  int length = WideCharToMultiByte(to, flags, wide.data(), size, nullptr, 0, nullptr, asked);
  if (length <= 0 || usedDefault) return false;
  out->resize(static_cast<size_t>(length));
  return WideCharToMultiByte(to, flags, wide.data(), size, &(*out)[0], length, nullptr, asked) == length &&
         !usedDefault;
}

bool ConvertText(UINT from, UINT to, std::string_view text, bool exact, std::string* out) {
  std::wstring wide;
  return ToWide(from, text, &wide) && FromWide(to, wide, exact, out);
}

TextCodePages SystemCodePages() {
  static const TextCodePages pages = {GetACP(), LegacyCodePage()};
  return pages;
}

std::string_view TextFromFile(std::string_view line, std::string* converted, size_t maxBytes, TextCodePages pages,
                              bool* cut) {
  std::string_view text = line;
  if (!IsAsciiText(line)) {
    bool utf8 = IsValidUtf8(line);
    if (pages.active == CP_UTF8 && !utf8) {
      if (ConvertText(pages.legacy, CP_UTF8, line, false, converted)) text = *converted;
    } else if (pages.active != CP_UTF8 && utf8) {
      if (ConvertText(CP_UTF8, pages.active, line, true, converted)) text = *converted;
    }
  }
  // A legacy line grows as UTF-8; only UTF-8 needs a careful cut, since a
  // conversion to an ANSI code page never makes a text longer.
  if (text.size() > maxBytes) {
    text = text.substr(0, pages.active == CP_UTF8 ? Utf8CutLength(text, maxBytes) : maxBytes);
    if (cut) *cut = true;
  }
  return text;
}
