// Modify Sound Object (dialog 2005): adds and modifies WAV, MIDI, AVI and
// compressed sound file objects.
#include "dialogs/object_dialogs.h"

#include <commdlg.h>

#include "model/file_kind.h"
#include "model/local_memory.h"
#include "dialogs/object_controls.h"
#include "model/object_list.h"
#include "model/object_paths.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

// Kept between openings, for the whole run.
struct SoundObjectDialogState {
  ObjectList* list = nullptr;
  int targetIndex = -1;  // -1 in add mode
  int insertionMethod = InsertAppend;
  int selected = -1;    // where InsertAtCurrent inserts
  int lastAddKind = 0;  // kind command of the latest add-mode opening
  int browseKind = 0;   // kind command whose files Browse offers now
};
SoundObjectDialogState s_dialog;

int BrowseFilterOf(int kindCommand) {
  switch (kindCommand) {
    case IDK_MIDI:
      return BROWSE_MIDI;
    case IDK_WAVE:
      return BROWSE_WAV;
    case IDK_VIDEO:
      return BROWSE_AVI;
    case IDK_AUDIO:
      return BROWSE_AUDIO;
    default:
      return 0;
  }
}

// The kind command of the object at a list index: a user modifying a MIDI
// object is offered MIDI files. 0 when it is no file object.
int KindCommandOfObject(int index) {
  LockedBlock<SoundObject> record(s_dialog.list->At(index));
  if (!record) return 0;
  switch (ObjectKind(record->flags)) {
    case Wave:
      return IDK_WAVE;
    case Midi:
      return IDK_MIDI;
    case Video:
      return IDK_VIDEO;
    case AudioFile:
      return IDK_AUDIO;
    default:
      return 0;
  }
}

void UpdateCommitButtons(HWND dialog) {
  BOOL hasName = GetWindowTextLengthA(GetDlgItem(dialog, IDC_SOUND_FILE)) > 0;
  EnableWindow(GetDlgItem(dialog, IDC_OK), hasName);
  EnableWindow(GetDlgItem(dialog, IDC_ADD), hasName);
}

void SetUpAddMode(HWND dialog, DialogParam param) {
  SetWindowTextA(dialog, LanguageText(IDS_TITLE_ADD_FILE));
  s_dialog.insertionMethod = ParamInsertionMethod(param);
  s_dialog.targetIndex = -1;
  s_dialog.lastAddKind = s_dialog.browseKind = ParamKindCommand(param);
  SetDlgItemInt(dialog, IDC_REPEAT_COUNT, 0, FALSE);
  SetDlgItemInt(dialog, IDC_POST_DELAY, 0, FALSE);
  ShowWindow(GetDlgItem(dialog, IDC_ADD), SW_SHOW);
}

void SetUpModifyMode(HWND dialog, DialogParam param) {
  s_dialog.targetIndex = ParamTargetIndex(param);
  ShowSoundObjectInDialog(dialog, *s_dialog.list, s_dialog.targetIndex, kFileObjectDialog);
  s_dialog.insertionMethod = InsertAppend;  // not used for a replacement
  int ownKind = KindCommandOfObject(s_dialog.targetIndex);
  s_dialog.browseKind = ownKind ? ownKind : s_dialog.lastAddKind;
}

INT_PTR OnInitDialog(HWND dialog, DialogParam param) {
  LimitText(dialog, IDC_SOUND_FILE, kTextBufferSize - 1);
  LimitText(dialog, IDC_DESCRIPTION, kTextBufferSize - 1);
  if (IsAddMode(param))
    SetUpAddMode(dialog, param);
  else
    SetUpModifyMode(dialog, param);
  UpdateCommitButtons(dialog);
  AttachNumberField(dialog, IDC_REPEAT_COUNT, IDC_SPIN_REPEAT, kRepeatCountRange);
  AttachNumberField(dialog, IDC_POST_DELAY, IDC_SPIN_DELAY, kPostDelayRange);
  SetExplanationFont(dialog);
  CenterOverOwner(dialog);
  return TRUE;
}

void OnBrowse(HWND dialog) {
  int filter = BrowseFilterOf(s_dialog.browseKind);
  if (!filter) return;
  char path[kTextBufferSize] = "";
  if (!BrowseForFile(dialog, filter, path, 0)) {
    // Cancel needs no word; a name too long for the buffer does.
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) DialogMessage(dialog, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
    return;
  }
  SetDlgItemTextA(dialog, IDC_SOUND_FILE, path);
  FocusControl(dialog, IDC_DESCRIPTION);
}

// The object kind for a file name, when its device exists. Otherwise
// tells the user why not and returns 0.
uint32_t UsableFileKind(HWND dialog, const char* name) {
  uint32_t kind = KindOfFileName(name);
  if (!kind) {
    DialogMessage(dialog, IDS_BAD_FILE_NAME, MB_ICONINFORMATION);
    FocusControl(dialog, IDC_SOUND_FILE);
    return 0;
  }
  if (!(g_mediaCaps & DeviceOfKind(kind))) {
    DialogMessage(dialog, IDS_DEVICE_MISSING, MB_ICONEXCLAMATION);
    return 0;
  }
  return kind;
}

// A file that is not there may still be wanted (it may be on a disc that
// is not in the drive): the user is asked, and No leaves the dialog and its
// input as they are. Modify asks only when the name was changed, so a
// description can be edited while the disc is out.
bool KeepIfMissing(HWND dialog, const char* name) {
  bool nameChanged = s_dialog.targetIndex < 0 || SendDlgItemMessageA(dialog, IDC_SOUND_FILE, EM_GETMODIFY, 0, 0);
  if (!nameChanged) return true;
  char path[kTextBufferSize];
  if (s_dialog.list->ResolveTypedPath(name, path, sizeof path) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
    return true;
  if (DialogMessage(dialog, IDS_ASK_KEEP_MISSING, MB_YESNO | MB_ICONQUESTION) == IDYES) return true;
  FocusControl(dialog, IDC_SOUND_FILE);
  return false;
}

// Readies the dialog for the next file after Add: the file dialog opens
// at once; repeat count and post time delay stay as they are.
void PrepareNextFile(HWND dialog) {
  DialogMessage(dialog, IDS_OBJECT_ADDED, MB_ICONINFORMATION);
  FocusControl(dialog, IDC_SOUND_FILE);
  SetDlgItemTextA(dialog, IDC_SOUND_FILE, "");
  SetDlgItemTextA(dialog, IDC_DESCRIPTION, "");
  PostMessageA(dialog, WM_COMMAND, IDC_BROWSE, 0);
}

// OK (500) and Add (530).
void OnCommit(HWND dialog, bool addAnother) {
  if (!FieldTextFits(dialog, IDC_SOUND_FILE) || !FieldTextFits(dialog, IDC_DESCRIPTION)) return;
  char name[kTextBufferSize] = "";
  GetDlgItemTextA(dialog, IDC_SOUND_FILE, name, sizeof name);
  uint32_t kind = UsableFileKind(dialog, name);
  if (!kind) return;
  if (!ReadObjectCounts(dialog) || !KeepIfMissing(dialog, name)) return;
  int index = InsertSoundObject(dialog, *s_dialog.list, kind, s_dialog.targetIndex, s_dialog.insertionMethod,
                                s_dialog.selected);
  // An object that could not be made leaves the dialog as it is, the
  // user's input kept (a record that found no memory was reported).
  if (index < 0) return;
  if (addAnother)
    PrepareNextFile(dialog);
  else
    EndDialog(dialog, 1);
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_SOUND_FILE:
      if (code == EN_CHANGE) UpdateCommitButtons(dialog);
      return TRUE;
    case IDC_BROWSE:
      OnBrowse(dialog);
      return TRUE;
    case IDC_OK:
      OnCommit(dialog, false);
      return TRUE;
    case IDC_ADD:
      OnCommit(dialog, true);
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

INT_PTR CALLBACK SoundObjectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result;
  if (HandleDialogColors(message, wParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, DialogParamOf(lParam));
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR SoundObjectDialog(HWND owner, ObjectList& list, DialogParam param, int selected) {
  s_dialog.list = &list;
  s_dialog.selected = selected;
  return DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_SOUND_OBJECT), owner, SoundObjectDialogProc,
                         DialogParamArg(param));
}
