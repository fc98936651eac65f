// Modify CD Track (dialog 2011): adds and modifies CD-track objects, and
// lets the user listen to a track first (Test and Stop).
#include <windows.h>
#include <mmsystem.h>

#include "dialogs/object_dialogs.h"
#include "dialogs/object_controls.h"
#include "model/object_list.h"
#include "playback/cd_audio.h"
#include "playback/media_control.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

// Kept between openings, for the whole run.
struct CdTrackDialogState {
  ObjectList* list = nullptr;
  int targetIndex = -1;  // -1 in add mode
  int insertionMethod = InsertAppend;
  int selected = -1;  // where InsertAtCurrent inserts
};
CdTrackDialogState s_dialog;

void SetUpAddMode(HWND dialog, DialogParam param) {
  SetWindowTextA(dialog, LanguageText(IDS_TITLE_ADD_FILE));
  s_dialog.insertionMethod = ParamInsertionMethod(param);
  s_dialog.targetIndex = -1;
  SetDlgItemInt(dialog, IDC_TRACK_NUMBER, 1, FALSE);
  SetDlgItemInt(dialog, IDC_REPEAT_COUNT, 0, FALSE);
  SetDlgItemInt(dialog, IDC_POST_DELAY, 0, FALSE);
  ShowWindow(GetDlgItem(dialog, IDC_ADD), SW_SHOW);
}

void SetUpModifyMode(HWND dialog, DialogParam param) {
  s_dialog.targetIndex = ParamTargetIndex(param);
  ShowSoundObjectInDialog(dialog, *s_dialog.list, s_dialog.targetIndex, kCdTrackDialog);
  s_dialog.insertionMethod = InsertAppend;  // not used for a replacement
}

INT_PTR OnInitDialog(HWND dialog, DialogParam param) {
  LimitText(dialog, IDC_DESCRIPTION, kTextBufferSize - 1);
  if (IsAddMode(param))
    SetUpAddMode(dialog, param);
  else
    SetUpModifyMode(dialog, param);
  AttachNumberField(dialog, IDC_REPEAT_COUNT, IDC_SPIN_REPEAT, kRepeatCountRange);
  AttachNumberField(dialog, IDC_POST_DELAY, IDC_SPIN_DELAY, kPostDelayRange);
  CdDisc disc;
  ReadCdDisc(&disc, true);
  g_cdTrackCount = static_cast<uint8_t>(disc.trackBound);
  AttachNumberField(dialog, IDC_TRACK_NUMBER, IDC_SPIN_TRACK, {1, g_cdTrackCount});
  SetExplanationFont(dialog);
  EnableWindow(GetDlgItem(dialog, IDC_STOP), FALSE);
  CenterOverOwner(dialog);
  return TRUE;
}

// The track number typed, when it names a track of the disc in the drive;
// otherwise tells the user (with the given icon), focuses the number and
// gives 0. Test plays the number's low eight bits.
int TypedTrack(HWND dialog, bool lowEightBits, UINT icon) {
  uint32_t track = 0;
  bool read = ReadNumberField(dialog, IDC_TRACK_NUMBER, &track);
  if (lowEightBits) track &= 0xFF;
  if (!read || !IsInRange(track, 1, g_cdTrackCount)) {
    DialogMessage(dialog, IDS_TRACK_OUT_OF_RANGE, icon);
    FocusControl(dialog, IDC_TRACK_NUMBER);
    return 0;
  }
  return static_cast<int>(track);
}

// After Add: the next track (the first after the last), the other fields
// emptied.
void PrepareNextTrack(HWND dialog, int track) {
  DialogMessage(dialog, IDS_OBJECT_ADDED, MB_ICONINFORMATION);
  int next = track < g_cdTrackCount ? track + 1 : 1;
  SetNumberField(dialog, IDC_TRACK_NUMBER, IDC_SPIN_TRACK, static_cast<uint32_t>(next));
  SetDlgItemTextA(dialog, IDC_DESCRIPTION, "");
  SetNumberField(dialog, IDC_REPEAT_COUNT, IDC_SPIN_REPEAT, 0);
  SetNumberField(dialog, IDC_POST_DELAY, IDC_SPIN_DELAY, 0);
  FocusControl(dialog, IDC_TRACK_NUMBER);
}

// OK (500) and Add (530).
void OnCommit(HWND dialog, bool addAnother) {
  int track = TypedTrack(dialog, false, MB_ICONINFORMATION);
  if (!track) return;
  if (!FieldTextFits(dialog, IDC_DESCRIPTION) || !ReadObjectCounts(dialog)) return;
  int index = InsertSoundObject(dialog, *s_dialog.list, CdTrack, s_dialog.targetIndex, s_dialog.insertionMethod,
                                s_dialog.selected);
  // An object that could not be made leaves the dialog as it is, the
  // user's input kept (a record that found no memory was reported).
  if (index < 0) return;
  if (addAnother)
    PrepareNextTrack(dialog, track);
  else
    EndDialog(dialog, 1);
}

// Test and Stop: exactly one of them is usable; the focus moves with it.
void ShowTestPlaying(HWND dialog, bool playing) {
  int usable = playing ? IDC_STOP : IDC_TEST;
  int unusable = playing ? IDC_TEST : IDC_STOP;
  EnableControl(dialog, usable, true);
  EnableControl(dialog, unusable, false, usable);
}

void OnTest(HWND dialog) {
  int track = TypedTrack(dialog, true, MB_ICONEXCLAMATION);
  if (!track) return;
  ShowTestPlaying(dialog, true);
  // The track plays beside everything else; its end comes back to this
  // dialog as MM_MCINOTIFY.
  if (PlayCdTrackTrial(static_cast<uint8_t>(track), dialog) != 0) {
    DialogMessage(dialog, IDS_NO_CD, MB_ICONEXCLAMATION);
    ShowTestPlaying(dialog, false);
  }
}

void OnAddAllTracks(HWND dialog) {
  if (DialogMessage(dialog, IDS_ASK_ADD_ALL_TRACKS, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // The main window adds them once this dialog has gone.
  PostMessageA(g_globals.mainWindow, WM_COMMAND, IDM_OPT_ADD_ALL_CD_TRACKS, 0);
  EndDialog(dialog, 1);
}

INT_PTR OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_OK:
      OnCommit(dialog, false);
      return TRUE;
    case IDC_ADD:
      OnCommit(dialog, true);
      return TRUE;
    case IDC_TEST:
      OnTest(dialog);
      return TRUE;
    case IDC_STOP:
      StopSidePlay();
      ShowTestPlaying(dialog, false);
      return TRUE;
    case IDC_ADD_ALL_CD_TRACKS:
      OnAddAllTracks(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;  // a test track plays on
    case IDC_HELP_BUTTON:
      ShowDialogHelp(HELPCTX_OBJECT_DIALOGS);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK CdTrackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result;
  if (HandleDialogColors(message, wParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, DialogParamOf(lParam));
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    case MM_MCINOTIFY:
      ShowTestPlaying(dialog, false);  // the tried track ended
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CdTrackDialog(HWND owner, ObjectList& list, DialogParam param, int selected) {
  s_dialog.list = &list;
  s_dialog.selected = selected;
  return DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_CD_TRACK), owner, CdTrackDialogProc,
                         DialogParamArg(param));
}
