// Preferences (dialog 2001): the preference flags, the pause between
// Sound Objects and whether the last list opens at start. That one is a
// value of its own: settings stored before it existed have no such value
// and take its default (on), which a flag bit could not give them.
#include "dialogs/dialog_common.h"
#include "dialogs/option_dialogs.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "settings/settings_record.h"

namespace {

struct FlagBox {
  int id;
  uint32_t flag;
  bool checkedWhenClear = false;  // the box says the opposite of the flag
};
// The check boxes that mirror one preference flag each.
constexpr FlagBox kFlagBoxes[] = {
    {IDC_PREF_MINIMIZE, MinimizeOnPlayAll},          {IDC_PREF_TITLE, TitleWhenMinimized},
    {IDC_PREF_PAUSE, PauseBetweenObjects},           {IDC_PREF_BUTTON_HELP, StatusBarButtonHelp},
    {IDC_PREF_ABSOLUTE_PATHS, CatalogAbsolutePaths}, {IDC_PREF_MEDIA_KEYS, MediaKeysInFrontOnly, true},
};

// The pause field is usable exactly when its check box is checked; its
// spin stays usable.
void UpdatePauseField(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDC_PREF_PAUSE_SECONDS), IsChecked(dialog, IDC_PREF_PAUSE));
}

INT_PTR OnInitDialog(HWND dialog) {
  uint32_t flags = g_settings.preferenceFlags;
  for (const FlagBox& box : kFlagBoxes)
    CheckDlgButton(dialog, box.id, ((flags & box.flag) != 0) != box.checkedWhenClear ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_PREF_OPEN_LAST_LIST, g_settings.openLastList ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemInt(dialog, IDC_PREF_PAUSE_SECONDS, g_settings.pauseSeconds, FALSE);
  UpdatePauseField(dialog);
  AttachNumberField(dialog, IDC_PREF_PAUSE_SECONDS, IDC_SPIN_PAUSE, kPauseRange);
  UseClassicChoiceBoxes(dialog);
  CenterOverOwner(dialog);
  return TRUE;
}

// Applies the check boxes and the pause; false (nothing applied) when the
// pause is a number no setting can hold. Flags without a box keep their
// values.
bool ApplyChoices(HWND dialog) {
  uint32_t seconds = g_settings.pauseSeconds;
  bool pause = IsChecked(dialog, IDC_PREF_PAUSE);
  // A number the user typed must lie in its range; unchecked, the typed
  // number is dropped.
  if (pause && !ReadNumberInRange(dialog, IDC_PREF_PAUSE_SECONDS, kPauseRange, &seconds)) return false;
  uint32_t flags = g_settings.preferenceFlags;
  for (const FlagBox& box : kFlagBoxes) {
    if (IsChecked(dialog, box.id) != box.checkedWhenClear)
      flags |= box.flag;
    else
      flags &= ~box.flag;
  }
  g_settings.preferenceFlags = flags;
  g_settings.pauseSeconds = seconds;
  g_settings.openLastList = IsChecked(dialog, IDC_PREF_OPEN_LAST_LIST) ? 1u : 0u;
  return true;
}

// OK (500) and Save (523); Save's outcome is told as the dialog closes.
void OnCommit(HWND dialog, bool save) {
  if (!ApplyChoices(dialog)) return;
  EndDialog(dialog, 1);
  if (save) WriteSettingValues(dialog, {IDS_REG_PREFERENCES, IDS_REG_PAUSE_SECONDS, IDS_REG_OPEN_LAST_LIST});
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_PREF_PAUSE:
      if (code == BN_CLICKED) UpdatePauseField(dialog);
      return TRUE;
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
      ShowDialogHelp(HELPCTX_PREFERENCES);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR PreferencesDialog(HWND owner) { return RunPlainDialog<OnInitDialog, OnCommand>(owner, IDD_PREFERENCES); }
