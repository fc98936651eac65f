// Add Sound Object to List (dialog 2003): where the new object goes and
// what kind it is. Choosing a kind ends this dialog and opens the kind's
// own dialog in add mode.
#include "dialogs/kind_item.h"
#include "dialogs/object_dialogs.h"
#include "model/sound_object_kind.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"
#include "support/list_rows.h"

namespace {

struct KindEntry {
  int command;
  uint32_t neededCaps;  // 0: always listed
  uint32_t kind;
};

// The kinds in the order the list shows them.
constexpr KindEntry kKinds[] = {
    {IDK_VIDEO, AviVideo, Video},       {IDK_CD_TRACK, CdAudio, CdTrack}, {IDK_MIDI, MidiAudio, Midi},
    {IDK_AUDIO, AudioFiles, AudioFile}, {IDK_WAVE, WaveAudio, Wave},      {IDK_PAUSE, 0, Pause},
};

bool IsKindCommand(int id) {
  for (const KindEntry& entry : kKinds)
    if (entry.command == id) return true;
  return false;
}

void FillKindList(HWND list) {
  uint32_t caps = g_mediaCaps;
  for (const KindEntry& entry : kKinds) {
    if (entry.neededCaps && !(caps & entry.neededCaps)) continue;
    uint32_t data = MakeKindItemData(entry.command, KindBitmapIndex(entry.kind));
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(KindItemText(data)));
    if (index >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
  }
}

void CheckInsertionMethod(HWND dialog, int method) {
  CheckRadioButton(dialog, IDC_INSERT_AT_TOP, IDC_INSERT_APPEND, method);
}

INT_PTR OnInitDialog(HWND dialog) {
  CheckInsertionMethod(dialog, g_settings.insertionMethod);
  HWND list = GetDlgItem(dialog, IDC_KIND_LIST);
  SetExplanationFont(dialog);
  SetVariablePitchFont(list);
  FillKindList(list);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SetFocus(list);
  UseClassicChoiceBoxes(dialog);
  CenterOverOwner(dialog);
  return FALSE;  // the focus is set
}

// A double-click on a kind, and OK, choose the selected kind.
void OnKindListDoubleClick(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_KIND_LIST);
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected < 0) return;
  LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(KindItemCommand(static_cast<uint32_t>(data))), 0);
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_INSERT_AT_TOP:
    case IDC_INSERT_AT_CURRENT:
    case IDC_INSERT_APPEND:
      if (code != BN_CLICKED) return FALSE;
      g_settings.insertionMethod = id;  // kept for later openings in this run
      CheckInsertionMethod(dialog, id);
      return TRUE;
    case IDC_KIND_LIST:
      if (code == LBN_DBLCLK) OnKindListDoubleClick(dialog);
      return TRUE;
    case IDOK:
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_KIND_LIST, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_KIND_LIST)));
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      ShowDialogHelp(HELPCTX_ADD_SOUND_OBJECT);
      return TRUE;
    default:
      if (!IsKindCommand(id)) return FALSE;
      EndDialog(dialog, id);  // the caller opens the kind's dialog
      return TRUE;
  }
}

INT_PTR OnMeasureItem(HWND dialog, MEASUREITEMSTRUCT* item) {
  if (item->CtlID != IDC_KIND_LIST) return FALSE;
  item->itemHeight = static_cast<UINT>(ListRowHeight(DpiOf(dialog)));
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

INT_PTR OnDrawItem(const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_LISTBOX) return FALSE;
  DrawKindItem(item);
  return TRUE;
}

INT_PTR CALLBACK AddSoundObjectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result;
  if (HandleDialogColors(message, wParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_MEASUREITEM:
      return OnMeasureItem(dialog, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
      return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
      return FALSE;
  }
}

// The kind dialog of a kind command, in add mode.
void OpenKindDialog(HWND owner, ObjectList& list, int command, int selected) {
  DialogParam param = AddModeParam(command, g_settings.insertionMethod);
  switch (command) {
    case IDK_PAUSE:
      PauseObjectDialog(owner, list, param, selected);
      break;
    case IDK_CD_TRACK:
      CdTrackDialog(owner, list, param, selected);
      break;
    default:
      SoundObjectDialog(owner, list, param, selected);
      break;
  }
}

}  // namespace

INT_PTR AddSoundObjectDialog(HWND owner, ObjectList& list, int selected) {
  INT_PTR command =
      DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_ADD_SOUND_OBJECT), owner, AddSoundObjectDialogProc, 0);
  if (command <= 0) return 0;
  // The Add dialog is gone before the kind's dialog appears.
  OpenKindDialog(owner, list, static_cast<int>(command), selected);
  return 1;
}
