// Confirmations (dialog 2002): which actions Wendle asks about first.
#include "dialogs/dialog_common.h"
#include "dialogs/option_dialogs.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "settings/settings_record.h"

namespace {

void CheckFlag(HWND dialog, int id, uint32_t flags, uint32_t flag) {
  CheckDlgButton(dialog, id, (flags & flag) ? BST_CHECKED : BST_UNCHECKED);
}

uint32_t WithFlag(uint32_t flags, uint32_t flag, bool set) { return set ? (flags | flag) : (flags & ~flag); }

INT_PTR OnInitDialog(HWND dialog) {
  uint32_t flags = g_settings.confirmFlags;
  CheckFlag(dialog, IDC_CONFIRM_FILE, flags, ConfirmFileDelete);
  CheckFlag(dialog, IDC_CONFIRM_OBJECT, flags, ConfirmObjectDelete);
  UseClassicChoiceBoxes(dialog);
  CenterOverOwner(dialog);
  return TRUE;
}

// OK (500) and Save (523); Save's outcome is told as the dialog closes.
void OnCommit(HWND dialog, bool save) {
  uint32_t flags = g_settings.confirmFlags;
  flags = WithFlag(flags, ConfirmFileDelete, IsChecked(dialog, IDC_CONFIRM_FILE));
  flags = WithFlag(flags, ConfirmObjectDelete, IsChecked(dialog, IDC_CONFIRM_OBJECT));
  g_settings.confirmFlags = flags;
  EndDialog(dialog, 1);
  if (save) WriteSettingValues(dialog, {IDS_REG_CONFIRMATIONS});
}

INT_PTR OnCommand(HWND dialog, int id, int) {
  switch (id) {
    case IDC_OK:
      OnCommit(dialog, false);
      return TRUE;
    case IDC_SAVE:
      OnCommit(dialog, true);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      ShowDialogHelp(HELPCTX_CONFIRMATIONS);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR ConfirmationsDialog(HWND owner) { return RunPlainDialog<OnInitDialog, OnCommand>(owner, IDD_CONFIRMATIONS); }
