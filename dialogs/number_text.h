// Reading the number that a dialog's number field holds. Platform-neutral.
#ifndef WENDLE_NUMBER_TEXT_H
#define WENDLE_NUMBER_TEXT_H

#include <cstdint>

enum NumberText {
  NumberRead,        // *value holds the number (0 for text that is no number)
  NumberOutOfRange,  // a negative number, or one above 4294967295
};

// A field holds an unsigned decimal number, with blanks around it allowed
// and an optional "+". Text that is no number at all (empty, letters,
// digits mixed with letters) reads as 0. A number that does not fit an
// unsigned 32-bit value, or one with a minus sign (other than -0), is
// refused rather than wrapped into another value.
NumberText ParseNumberText(const char* text, uint32_t* value);

// True when text is a whole number as a person types one: at least one
// digit and nothing but digits, blanks around them allowed.
bool IsWholeNumberText(const char* text);

#endif
