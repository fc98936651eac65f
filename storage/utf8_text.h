/*
 * UTF-8 text, without any platform code: whether bytes are well-formed
 * UTF-8, and where a text may be cut without splitting a character. List
 * files and the CD catalog hold UTF-8 lines beside lines in a legacy code
 * page; these decide, line by line, which a line is.
 */
#ifndef WENDLE_STORAGE_UTF8_TEXT_H
#define WENDLE_STORAGE_UTF8_TEXT_H

#include <stddef.h>

#include <string_view>

// True when every byte is below 0x80: such a text reads the same in UTF-8
// and in every ANSI code page.
bool IsAsciiText(std::string_view text);

// True when text is well-formed UTF-8: no stray or missing continuation
// byte, no overlong form, no surrogate, nothing above U+10FFFF. Plain
// ASCII is well-formed.
bool IsValidUtf8(std::string_view text);

// The longest length up to limit at which text can be cut without ending
// inside a UTF-8 character: limit itself when the byte there starts a
// character (or text is no longer), else limit backed off over at most
// three continuation bytes.
size_t Utf8CutLength(std::string_view text, size_t limit);

#endif  // WENDLE_STORAGE_UTF8_TEXT_H
