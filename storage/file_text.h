/*
 * The texts of list files and the CD catalog between the file and the
 * program. Files hold UTF-8 (written without a byte-order mark); files
 * written before hold the locale's legacy ANSI code page. The program holds
 * texts in its active code page: UTF-8 where the system honours the
 * manifest's setting, else the ANSI code page as always.
 *
 * Texts are written as the program holds them, so a list saved where the
 * setting is honoured is UTF-8, and one saved where it is not is in the
 * ANSI code page, as earlier versions wrote it. Plain ASCII passes
 * unchanged, so an ASCII file is read and written byte for byte as ever.
 */
#ifndef WENDLE_STORAGE_FILE_TEXT_H
#define WENDLE_STORAGE_FILE_TEXT_H

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

struct TextCodePages {
  UINT active;  // the program's: GetACP
  UINT legacy;  // files written before: the locale's LOCALE_IDEFAULTANSICODEPAGE
};

// text in code page from as wide characters; false when it does not convert.
bool ToWide(UINT from, std::string_view text, std::wstring* wide);
// wide in code page to; false when it does not convert, or, with exact,
// when a character has no form of its own there (it would become "?" or a
// look-alike).
bool FromWide(UINT to, const std::wstring& wide, bool exact, std::string* out);
// text from code page from to code page to, as the two above.
bool ConvertText(UINT from, UINT to, std::string_view text, bool exact, std::string* out);

// The system's code pages (looked up once).
TextCodePages SystemCodePages();

// One line's text as the program holds it, at most maxBytes long and never
// cut inside a character: a view of line when it needs no change, else of
// *converted. A valid UTF-8 line is UTF-8; any other line is in the legacy
// code page. Where the program's code page is not UTF-8, a UTF-8 line is
// converted to it when every character has its own byte form there, and
// kept as it is otherwise, as earlier versions read it; a legacy line is
// kept as it is.
// *cut (when given) is set when the text had to be cut to maxBytes.
std::string_view TextFromFile(std::string_view line, std::string* converted, size_t maxBytes,
                              TextCodePages pages = SystemCodePages(), bool* cut = nullptr);

#endif  // WENDLE_STORAGE_FILE_TEXT_H
