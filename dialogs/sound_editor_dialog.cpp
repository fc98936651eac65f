// Set Sound File Editor (dialog 2009): the command lines that start the
// WAV and the MIDI file editor. OK writes the registry directly.
#include <windows.h>
#include <commdlg.h>

#include "dialogs/dialog_common.h"
#include "dialogs/option_dialogs.h"
#include "resources/ids.h"
#include "settings/registry.h"
#include "support/globals.h"
#include "settings/settings_record.h"
#include "support/name_case.h"
#include "support/language.h"

namespace {

constexpr char kDefaultWaveEditor[] = "SNDREC32.EXE";
constexpr int kMidiEditorKind = 2;

struct SoundEditorDialogState {
  int editor = IDC_EDITOR_WAV;  // the working editor, 555 (MIDI) or 556 (WAV)
};
SoundEditorDialogState s_dialog;

UINT EditorValue(int editor) { return editor == IDC_EDITOR_MIDI ? IDS_REG_MIDI_EDITOR : IDS_REG_WAV_EDITOR; }

// Shows the working editor's stored command line, or its default.
void ShowEditorCommandLine(HWND dialog) {
  char command[kTextBufferSize] = "";
  RegistryKey key;
  if (!key.OpenForReading(IDS_REG_SETTINGS_KEY) ||
      !key.ReadString(EditorValue(s_dialog.editor), command, sizeof command)) {
    if (s_dialog.editor == IDC_EDITOR_MIDI)
      LanguageString(IDS_DEFAULT_MIDI_EDITOR, command, sizeof command);
    else
      lstrcpynA(command, kDefaultWaveEditor, sizeof command);
  }
  SetDlgItemTextA(dialog, IDC_COMMAND_LINE, command);
}

void SelectEditor(HWND dialog, int editor) {
  s_dialog.editor = editor;
  CheckRadioButton(dialog, IDC_EDITOR_MIDI, IDC_EDITOR_WAV, editor);
  ShowEditorCommandLine(dialog);
}

INT_PTR OnInitDialog(HWND dialog, LPARAM editorKind) {
  // The command line is read back into a text buffer: no more than fits.
  LimitText(dialog, IDC_COMMAND_LINE, kTextBufferSize - 1);
  SetExplanationFont(dialog);
  SelectEditor(dialog, editorKind == kMidiEditorKind ? IDC_EDITOR_MIDI : IDC_EDITOR_WAV);
  UseClassicChoiceBoxes(dialog);
  CenterOverOwner(dialog);
  return TRUE;
}

void OnBrowse(HWND dialog) {
  char path[kTextBufferSize] = "*.exe";
  OPENFILENAMEA open = {};
  open.lStructSize = sizeof open;
  open.hwndOwner = dialog;
  open.lpstrFilter = "EXE files\0*.exe\0All files\0*.*\0";
  open.nFilterIndex = 1;
  open.lpstrFile = path;
  open.nMaxFile = sizeof path;
  open.lpstrInitialDir = "";
  open.lpstrTitle = "Browsing for your Sound Editor";
  open.lpstrDefExt = "exe";
  open.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&open)) SetDlgItemTextA(dialog, IDC_COMMAND_LINE, path);
}

// OK: stores the command line in upper case and tells how that went. An
// empty line stores nothing; a line that cannot be stored keeps the
// dialog open.
void OnOk(HWND dialog) {
  if (!FieldTextFits(dialog, IDC_COMMAND_LINE)) return;
  char command[kTextBufferSize] = "";
  if (!GetDlgItemTextA(dialog, IDC_COMMAND_LINE, command, sizeof command)) {
    EndDialog(dialog, 1);
    return;
  }
  RegistryKey key;
  if (!key.Create(IDS_REG_SETTINGS_KEY, kSettingsKeyClass)) {
    DialogMessage(dialog, IDS_REGISTRY_FAILED, MB_ICONHAND);
    return;
  }
  UpperCaseName(command, sizeof command);
  if (!key.WriteString(EditorValue(s_dialog.editor), command)) {
    DialogMessage(dialog, IDS_REGISTRY_FAILED, MB_ICONHAND);
    return;  // not stored: the line stays for another try
  }
  DialogMessage(dialog, IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
  EndDialog(dialog, 1);
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_EDITOR_MIDI:
    case IDC_EDITOR_WAV:
      // Switching drops what was typed for the other editor; clicking the
      // working editor again keeps it.
      if (code == BN_CLICKED && id != s_dialog.editor) SelectEditor(dialog, id);
      return TRUE;
    case IDC_BROWSE:
      OnBrowse(dialog);
      return TRUE;
    case IDC_OK:
      OnOk(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      ShowDialogHelp(HELPCTX_SOUND_EDITOR);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK SoundEditorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result;
  if (HandleDialogColors(message, wParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, lParam);
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR SoundEditorDialog(HWND owner, int editorKind) {
  return DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_SOUND_EDITOR), owner, SoundEditorDialogProc,
                         static_cast<LPARAM>(editorKind));
}
