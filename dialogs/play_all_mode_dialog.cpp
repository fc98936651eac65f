// Play All Mode (dialog 2000): how many passes Play All makes and in which
// order it plays the list.
#include "dialogs/dialog_common.h"
#include "dialogs/option_dialogs.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "settings/settings_record.h"
#include "support/support_library.h"

namespace {

constexpr int kPlayListCountLength = 5;
constexpr uint32_t kMaxPlayListCount = 65535;

struct PlayAllModeDialogState {
  uint32_t order = PlayOrderSequential;  // the working order, 526 or 527
  bool ready = false;                    // set-up is over
};
PlayAllModeDialogState s_dialog;

// The count field and its spin are usable exactly when Non-stop is clear.
void UpdateCountField(HWND dialog) {
  BOOL usable = !IsChecked(dialog, IDC_NON_STOP);
  EnableWindow(GetDlgItem(dialog, IDC_PLAY_LIST_COUNT), usable);
  EnableWindow(GetDlgItem(dialog, IDC_SPIN_COUNT), usable);
}

INT_PTR OnInitDialog(HWND dialog) {
  s_dialog.ready = false;
  uint32_t count = g_settings.playListCount;
  SetDlgItemInt(dialog, IDC_PLAY_LIST_COUNT, count, FALSE);
  if (count == 0) CheckDlgButton(dialog, IDC_NON_STOP, BST_CHECKED);
  // Exclusive shows the stored choice; it is usable only with Random.
  if (g_settings.preferenceFlags & RandomExclusive)
    CheckDlgButton(dialog, IDC_EXCLUSIVE, BST_CHECKED);
  else
    EnableWindow(GetDlgItem(dialog, IDC_EXCLUSIVE), FALSE);
  s_dialog.order = g_settings.playOrder;
  CheckRadioButton(dialog, IDC_ORDER_SEQUENTIAL, IDC_ORDER_RANDOM, static_cast<int>(s_dialog.order));
  UpdateCountField(dialog);
  AttachNumberField(dialog, IDC_PLAY_LIST_COUNT, IDC_SPIN_COUNT, {0, kMaxPlayListCount});
  LimitText(dialog, IDC_PLAY_LIST_COUNT, kPlayListCountLength);
  SetExplanationFont(dialog);
  UseClassicChoiceBoxes(dialog);
  CenterOverOwner(dialog);
  s_dialog.ready = true;
  return TRUE;
}

void OnOrderClicked(HWND dialog, int id) {
  if (!s_dialog.ready) return;
  s_dialog.order = static_cast<uint32_t>(id);
  CheckRadioButton(dialog, IDC_ORDER_SEQUENTIAL, IDC_ORDER_RANDOM, id);
  EnableWindow(GetDlgItem(dialog, IDC_EXCLUSIVE), s_dialog.order == PlayOrderRandom);
}

// Applies the dialog to the settings; false (nothing applied) when the
// count is out of range.
bool ApplyChoices(HWND dialog) {
  uint32_t count = 0;
  if (!IsChecked(dialog, IDC_NON_STOP)) {
    if (!ReadNumberField(dialog, IDC_PLAY_LIST_COUNT, &count) || !IsInRange(count, 0, kMaxPlayListCount)) {
      DialogMessage(dialog, IDS_COUNT_OUT_OF_RANGE, MB_ICONEXCLAMATION);
      FocusControl(dialog, IDC_PLAY_LIST_COUNT);
      return false;
    }
  }
  g_settings.playListCount = count;
  g_settings.playOrder = s_dialog.order;
  // Exclusive counts only with Random; with Sequential it keeps its value.
  if (s_dialog.order == PlayOrderRandom) {
    if (IsChecked(dialog, IDC_EXCLUSIVE))
      g_settings.preferenceFlags |= RandomExclusive;
    else
      g_settings.preferenceFlags &= ~static_cast<uint32_t>(RandomExclusive);
  }
  return true;
}

// OK (500) and Save (523). Save stores the count, the order and the
// Exclusive choice (only that bit of the stored preferences: the others are
// the Preferences dialog's to store); when the settings key cannot be
// written the dialog stays open, the choices already applied.
void OnCommit(HWND dialog, bool save) {
  if (!ApplyChoices(dialog)) return;
  if (save && !WriteSettingValues(dialog, {IDS_REG_PLAY_LIST_COUNT, IDS_REG_PLAY_ORDER}, RandomExclusive)) return;
  EndDialog(dialog, 1);
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_NON_STOP:
      if (code == BN_CLICKED) UpdateCountField(dialog);
      return TRUE;
    case IDC_ORDER_SEQUENTIAL:
    case IDC_ORDER_RANDOM:
      if (code == BN_CLICKED) OnOrderClicked(dialog, id);
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
      ShowDialogHelp(HELPCTX_PLAY_ALL_MODE);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR PlayAllModeDialog(HWND owner) { return RunPlainDialog<OnInitDialog, OnCommand>(owner, IDD_PLAY_ALL_MODE); }
