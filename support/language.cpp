#include "support/language.h"

#include "resources/ids.h"
#include "state/main_window_state.h"
#include "support/control_library.h"
#include "support/support_library.h"

const char* LanguageString(UINT id, char* text, int size) {
  if (size <= 0) return text;
  if (LoadStringA(g_state.languageModule, id, text, size) <= 0) text[0] = '\0';
  return text;
}

void ShowStatusString(UINT id) {
  char text[kTextBufferSize];
  ShowStatusText(LanguageString(id, text, sizeof text));
}

void ShowStatusText(const char* text) {
  if (g_state.statusBar) StatusBarSetText(g_state.statusBar, text);
}

int ShowMessage(HWND owner, UINT textId, UINT style) {
  return ResMessageBox(owner, g_state.languageModule, MAKEINTRESOURCEA(textId), MAKEINTRESOURCEA(IDS_APP_CAPTION),
                       style);
}

int ShowMessageWithCaption(HWND owner, UINT textId, const char* caption, UINT style) {
  return ResMessageBox(owner, g_state.languageModule, MAKEINTRESOURCEA(textId), caption, style);
}
