#include "dialogs/number_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

NumberText ParseNumberText(const char* text, uint32_t* value) {
  *value = 0;
  if (!text) return NumberRead;
  const char* p = text;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  if (!IsDigit(*p)) return NumberRead;  // no number: reads as 0

  uint64_t number = 0;
  bool tooLarge = false;
  for (; IsDigit(*p); ++p) {
    number = number * 10 + static_cast<uint64_t>(*p - '0');
    if (number > UINT32_MAX) {
      tooLarge = true;
      number = UINT32_MAX;  // keep scanning without overflowing
    }
  }
  while (IsBlank(*p)) ++p;
  if (*p != '\0') return NumberRead;  // digits mixed with other text: no number

  if (tooLarge || (negative && number != 0)) return NumberOutOfRange;
  *value = static_cast<uint32_t>(number);
  return NumberRead;
}

bool IsWholeNumberText(const char* text) {
  if (!text) return false;
  const char* p = text;
  while (IsBlank(*p)) ++p;
  if (!IsDigit(*p)) return false;
  while (IsDigit(*p)) ++p;
  while (IsBlank(*p)) ++p;
  return *p == '\0';
}
