// Starting the user's WAV or MIDI editor on the selected file.
#include <cstdio>
#include <cstring>

#include "model/file_kind.h"
#include "resources/ids.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "support/globals.h"
#include "support/language.h"

namespace {

// Asks a Yes/No question; on Yes opens the editor dialog on this kind.
void OfferEditorDialog(UINT questionId, int fileKind) {
  if (ShowMessage(g_globals.mainWindow, questionId, MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
    PostMessageA(g_globals.mainWindow, WM_COMMAND, IDM_OPT_SET_EDITOR, fileKind);
}

}  // namespace

void RunSoundFileEditor(const char* fileName) {
  int kind = GetFileKind(fileName);
  RegistryKey key;
  if (!key.OpenForReading(IDS_REG_SETTINGS_KEY)) {
    ShowMessage(g_globals.mainWindow, IDS_EDITOR_NO_SETTINGS, MB_ICONEXCLAMATION);
    return;
  }
  if (kind != FileKindWave && kind != FileKindMidi) {
    ShowMessage(g_globals.mainWindow, IDS_EDITOR_WRONG_KIND, MB_ICONEXCLAMATION);
    return;
  }
  char editor[kTextBufferSize];
  if (!key.ReadString(kind == FileKindWave ? IDS_REG_WAV_EDITOR : IDS_REG_MIDI_EDITOR, editor, sizeof editor)) {
    OfferEditorDialog(IDS_ASK_SET_EDITOR, kind);
    return;
  }
  // The editor's command line, a blank and the file name; a name holding a
  // blank is quoted so the editor receives it as one argument.
  char command[2 * kTextBufferSize + 4];
  const char* quote = strchr(fileName, ' ') ? "\"" : "";
  snprintf(command, sizeof command, "%s %s%s%s", editor, quote, fileName, quote);
  if (WinExec(command, SW_SHOWNORMAL) < 32) OfferEditorDialog(IDS_ASK_CHANGE_EDITOR, kind);
}
