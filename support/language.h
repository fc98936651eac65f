/*
 * Texts from the language module: on the status bar, and in the program's
 * message boxes, which always carry the program caption (language string 98).
 */
#ifndef WENDLE_LANGUAGE_H
#define WENDLE_LANGUAGE_H

#include <windows.h>

#include <cstddef>
#include <string>

// The language module every text comes from (wd_eng.dll), loaded at start.
HINSTANCE LanguageModule();
void SetLanguageModule(HINSTANCE module);
// Where status texts go: the main window's status bar (none: nowhere).
void SetStatusBar(HWND statusBar);

// Loads a language string into text (at most size - 1 characters); an
// empty text when it is missing. Returns text.
const char* LanguageString(UINT id, char* text, int size);

// A language string held for the duration of a statement or a block.
class LanguageText {
 public:
  explicit LanguageText(UINT id) { LanguageString(id, text_, sizeof text_); }
  const char* c_str() const { return text_; }
  operator const char*() const { return text_; }

 private:
  char text_[512];
};

// A language string, or a text, on the main window's status bar.
void ShowStatusString(UINT id);
void ShowStatusText(const char* text);

// ResMessageBox with a language string as its text and the program caption.
int ShowMessage(HWND owner, UINT textId, UINT style);
// The same with a language string as the text and a ready caption (a path).
int ShowMessageWithCaption(HWND owner, UINT textId, const char* caption, UINT style);
// A message whose text is the language string formatId filled with the
// arguments, as printf fills it; the caption is the program's.
int ShowFormattedMessage(HWND owner, UINT formatId, UINT style, ...);

// The system's own words for an error code (GetLastError), as a sentence;
// the language module's "no reason" when the system has none.
std::string SystemErrorText(DWORD error);

#endif
