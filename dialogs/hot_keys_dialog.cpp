// Modify Hot Keys (IDD_HOT_KEYS): the letter and the Control and Alt keys
// of the four system-wide hot keys. The dialog edits g_settings.hotKeys
// itself; Change registers them, Save stores them, Reset reloads them.
#include "dialogs/dialog_common.h"
#include "dialogs/option_dialogs.h"
#include "resources/ids.h"
#include "settings/hot_keys.h"
#include "settings/settings.h"
#include "support/globals.h"
#include "settings/settings_record.h"

namespace {

constexpr int kLetterCount = static_cast<int>(kHotKeyLetterCount);

struct HotKeysDialogState {
  int event = 0;       // the hot key shown: radio button HotKeyButton(event)
  bool ready = false;  // set-up is over
};
HotKeysDialogState s_dialog;

HotKeySetting& CurrentHotKey() { return g_settings.hotKeys[s_dialog.event]; }

// Shows an event's keys: its Control and Alt boxes and its letter.
void ShowHotKey(HWND dialog, int event) {
  const HotKeySetting& key = g_settings.hotKeys[event];
  CheckDlgButton(dialog, IDC_KEY_CONTROL, (key.modifiers & MOD_CONTROL) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_KEY_ALT, (key.modifiers & MOD_ALT) ? BST_CHECKED : BST_UNCHECKED);
  SendDlgItemMessageA(dialog, IDC_VIRTUAL_KEY, CB_SETCURSEL, key.keyIndex, 0);
}

// Takes the letter chosen in the list for the current event. With no
// letter chosen (a stored key outside A to Z shows none), the event
// keeps its key rather than take "no entry" as a letter.
void TakeLetter(HWND dialog) {
  LRESULT selected = SendDlgItemMessageA(dialog, IDC_VIRTUAL_KEY, CB_GETCURSEL, 0, 0);
  if (selected >= 0 && selected < kLetterCount) CurrentHotKey().keyIndex = static_cast<uint32_t>(selected);
}

void FillLetterList(HWND dialog) {
  for (int i = 0; i < kLetterCount; ++i) {
    char letter[4];
    wsprintfA(letter, "%c", 'A' + i);
    SendDlgItemMessageA(dialog, IDC_VIRTUAL_KEY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter));
  }
}

INT_PTR OnInitDialog(HWND dialog) {
  s_dialog.ready = false;
  s_dialog.event = 0;
  CheckRadioButton(dialog, IDC_HOTKEY_PLAY_NEXT, IDC_HOTKEY_PAUSE, IDC_HOTKEY_PLAY_NEXT);
  FillLetterList(dialog);
  ShowHotKey(dialog, 0);
  SetExplanationFont(dialog);
  s_dialog.ready = true;
  UseClassicChoiceBoxes(dialog);
  CenterOverOwner(dialog);
  return TRUE;
}

void OnModifierClicked(HWND dialog, int id, uint32_t modifier) {
  if (IsChecked(dialog, id))
    CurrentHotKey().modifiers |= modifier;
  else
    CurrentHotKey().modifiers &= ~modifier;
}

void OnEventClicked(HWND dialog, int id) {
  if (!s_dialog.ready) return;
  TakeLetter(dialog);
  s_dialog.event = HotKeyOfButton(id);
  CheckRadioButton(dialog, IDC_HOTKEY_PLAY_NEXT, IDC_HOTKEY_PAUSE, id);
  ShowHotKey(dialog, s_dialog.event);
}

// A letter alone would take the letter from typing in every program: each
// hot key needs Control, Alt or both. A key without is shown and refused.
bool EveryKeyHasAModifier(HWND dialog) {
  for (int event = 0; event < kHotKeyCount; ++event) {
    if (g_settings.hotKeys[event].modifiers & (MOD_CONTROL | MOD_ALT)) continue;
    DialogMessage(dialog, IDS_HOTKEY_NEEDS_MODIFIER, MB_ICONEXCLAMATION);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(HotKeyButton(event), BN_CLICKED), 0);
    FocusControl(dialog, IDC_KEY_CONTROL);
    return false;
  }
  return true;
}

// Change: register the keys now. A key the system refuses is shown, and
// the dialog stays open for another choice.
void OnChange(HWND dialog) {
  TakeLetter(dialog);
  if (!EveryKeyHasAModifier(dialog)) return;
  int refused = RegisterHotKeys(g_globals.mainWindow);
  if (refused == -1) {
    EndDialog(dialog, 1);
    return;
  }
  DialogMessage(dialog, IDS_HOTKEY_CHANGE_FAILED, MB_ICONEXCLAMATION);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(refused, BN_CLICKED), 0);
  FocusControl(dialog, IDC_VIRTUAL_KEY);
}

void OnSave(HWND dialog) {
  TakeLetter(dialog);
  if (EveryKeyHasAModifier(dialog) && SaveHotKeys(dialog))
    DialogMessage(dialog, IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
}

void OnReset(HWND dialog) {
  LoadHotKeys();
  ShowHotKey(dialog, s_dialog.event);
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_KEY_CONTROL:
      if (code == BN_CLICKED) OnModifierClicked(dialog, id, MOD_CONTROL);
      return TRUE;
    case IDC_KEY_ALT:
      if (code == BN_CLICKED) OnModifierClicked(dialog, id, MOD_ALT);
      return TRUE;
    case IDC_HOTKEY_PLAY_NEXT:
    case IDC_HOTKEY_PLAY_ALL:
    case IDC_HOTKEY_FAVORITE:
    case IDC_HOTKEY_PAUSE:
      if (code == BN_CLICKED) OnEventClicked(dialog, id);
      return TRUE;
    case IDC_OK:
      OnChange(dialog);
      return TRUE;
    case IDC_SAVE:
      OnSave(dialog);
      return TRUE;
    case IDC_RESET:
      OnReset(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      ShowDialogHelp(HELPCTX_HOT_KEYS);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR HotKeysDialog(HWND owner) { return RunPlainDialog<OnInitDialog, OnCommand>(owner, IDD_HOT_KEYS); }
