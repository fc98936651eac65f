// Modify Pause Object (dialog 2006): adds and modifies Pause objects.
#include "dialogs/object_dialogs.h"
#include "dialogs/object_controls.h"
#include "model/object_list.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "settings/settings_record.h"
#include "support/language.h"

namespace {

// Kept between openings, for the whole run.
struct PauseObjectDialogState {
  ObjectList* list = nullptr;
  int targetIndex = -1;  // -1 in add mode
  int insertionMethod = InsertAppend;
  int selected = -1;  // where InsertAtCurrent inserts
};
PauseObjectDialogState s_dialog;

INT_PTR OnInitDialog(HWND dialog, DialogParam param) {
  if (IsAddMode(param)) {
    SetWindowTextA(dialog, LanguageText(IDS_TITLE_ADD_PAUSE));
    s_dialog.insertionMethod = ParamInsertionMethod(param);
    s_dialog.targetIndex = -1;
    SetDlgItemInt(dialog, IDC_PAUSE_DURATION, 0, FALSE);
  } else {
    s_dialog.targetIndex = ParamTargetIndex(param);
    ShowSoundObjectInDialog(dialog, *s_dialog.list, s_dialog.targetIndex, kPauseDialog);
    s_dialog.insertionMethod = InsertAppend;  // not used for a replacement
  }
  AttachNumberField(dialog, IDC_PAUSE_DURATION, IDC_SPIN_DELAY, kPauseRange);
  SetExplanationFont(dialog);
  CenterOverOwner(dialog);
  return TRUE;
}

// OK: a duration the user typed must lie in its range; one read from a
// list file stays as it is.
void OnOk(HWND dialog) {
  uint32_t seconds;
  if (!ReadNumberInRange(dialog, IDC_PAUSE_DURATION, kPauseRange, &seconds)) return;
  // An object that could not be made leaves the dialog open, the input kept.
  if (InsertSoundObject(dialog, *s_dialog.list, Pause, s_dialog.targetIndex, s_dialog.insertionMethod,
                        s_dialog.selected) < 0)
    return;
  EndDialog(dialog, 1);
}

INT_PTR OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_OK:
      OnOk(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      ShowDialogHelp(HELPCTX_OBJECT_DIALOGS);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK PauseObjectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result;
  if (HandleDialogColors(message, wParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, DialogParamOf(lParam));
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR PauseObjectDialog(HWND owner, ObjectList& list, DialogParam param, int selected) {
  s_dialog.list = &list;
  s_dialog.selected = selected;
  return DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_PAUSE_OBJECT), owner, PauseObjectDialogProc,
                         DialogParamArg(param));
}
