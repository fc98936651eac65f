#include "support/language.h"

#include <cstdarg>
#include <cstdio>

#include "resources/ids.h"
#include "support/globals.h"
#include "support/control_library.h"
#include "support/support_library.h"

namespace {

HINSTANCE g_languageModule = nullptr;
HWND g_statusBar = nullptr;

}  // namespace

HINSTANCE LanguageModule() { return g_languageModule; }
void SetLanguageModule(HINSTANCE module) { g_languageModule = module; }
void SetStatusBar(HWND statusBar) { g_statusBar = statusBar; }

const char* LanguageString(UINT id, char* text, int size) {
  if (size <= 0) return text;
  if (LoadStringA(g_languageModule, id, text, size) <= 0) text[0] = '\0';
  return text;
}

void ShowStatusString(UINT id) {
  char text[kTextBufferSize];
  ShowStatusText(LanguageString(id, text, sizeof text));
}

void ShowStatusText(const char* text) {
  if (g_statusBar) StatusBarSetText(g_statusBar, text);
}

int ShowMessage(HWND owner, UINT textId, UINT style) {
  return ResMessageBox(owner, g_languageModule, MAKEINTRESOURCEA(textId), MAKEINTRESOURCEA(IDS_APP_CAPTION), style);
}

int ShowMessageWithCaption(HWND owner, UINT textId, const char* caption, UINT style) {
  return ResMessageBox(owner, g_languageModule, MAKEINTRESOURCEA(textId), caption, style);
}

int ShowFormattedMessage(HWND owner, UINT formatId, UINT style, ...) {
  char format[256];
  LanguageString(formatId, format, sizeof format);
  char text[2048];
  va_list arguments;
  va_start(arguments, style);
  vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return ResMessageBox(owner, g_languageModule, text, MAKEINTRESOURCEA(IDS_APP_CAPTION), style);
}

std::string SystemErrorText(DWORD error) {
  char text[512] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
    text[--length] = '\0';
  if (!length) LanguageString(IDS_PLAY_ERROR_UNKNOWN, text, sizeof text);
  return text;
}
