// Reading a number field: what is a number, what reads as 0, and what
// is refused instead of wrapping into another value.
#include <gtest/gtest.h>

#include "dialogs/number_text.h"

namespace {

TEST(NumberText, ReadsUnsignedNumbersAndTakesNonNumbersAsZero) {
  const struct {
    const char* text;
    uint32_t value;
  } cases[] = {
      {"0", 0},  {"42", 42},   {" 5000 ", 5000}, {"+7", 7},    {"007", 7}, {"4294967295", 4294967295u},
      {"-0", 0}, {"", 0},      {"abc", 0},       {"12abc", 0}, {"1 2", 0}, {"-", 0},
      {"  ", 0}, {nullptr, 0},
  };
  for (const auto& c : cases) {
    uint32_t value = 99;
    EXPECT_EQ(ParseNumberText(c.text, &value), NumberRead) << (c.text ? c.text : "(null)");
    EXPECT_EQ(value, c.value) << (c.text ? c.text : "(null)");
  }
}

TEST(NumberText, RefusesNumbersNoUnsigned32BitValueHolds) {
  for (const char* text :
       {"-1", "-4294967295", "4294967296", "99999999999", "18446744073709551617", "99999999999999999999999999999999"}) {
    uint32_t value = 99;
    EXPECT_EQ(ParseNumberText(text, &value), NumberOutOfRange) << text;
    EXPECT_EQ(value, 0u) << text;
  }
}

}  // namespace
