#include "dialogs/dialog_common.h"

#include <uxtheme.h>

#include <cstdio>

#include "dialogs/number_text.h"
#include "resources/ids.h"
#include "support/dpi.h"
#include "support/globals.h"
#include "support/language.h"
#include "support/control_library.h"
#include "support/help.h"
#include "support/support_library.h"
#include "support/system_colors.h"

namespace {

// The longest format a message of the dialogs is read into.
constexpr int kLongTextLength = 127;

}  // namespace

bool HandleDialogColors(UINT message, WPARAM wParam, INT_PTR* result) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      // Texts stand on the same grey as the dialog: the button face colour
      // differs from the stock light grey on most systems today. In high
      // contrast both are the system's colours.
      *result = reinterpret_cast<INT_PTR>(SurfaceColors(reinterpret_cast<HDC>(wParam)));
      return true;
    default:
      return false;
  }
}

void UseClassicChoiceBoxes(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0) continue;
    switch (GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        // A blank names no theme, so the button draws itself as without
        // styles (Wine refuses the empty names Windows also takes).
        SetWindowTheme(child, L" ", L" ");
        break;
      default:
        break;
    }
  }
}

void CenterOverOwner(HWND dialog) { CenterDialog(GetWindow(dialog, GW_OWNER), dialog); }

void SetVariablePitchFont(HWND control) {
  if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(VariablePitchFont(DpiOf(control))), TRUE);
}

void SetExplanationFont(HWND dialog) { SetVariablePitchFont(GetDlgItem(dialog, IDC_EXPLANATION)); }

void ShowDialogHelp(UINT context) {
  ShowStatusString(IDS_STATUS_HELP);
  // The main window owns the help window, which outlives the dialog.
  OpenHelp(g_globals.mainWindow, context);
}

int DialogMessage(HWND dialog, UINT textId, UINT style) { return ShowMessage(dialog, textId, style); }

int DialogMessageText(HWND dialog, const char* text, UINT style) {
  return ResMessageBox(dialog, LanguageModule(), text, MAKEINTRESOURCEA(IDS_APP_CAPTION), style);
}

void AttachNumberField(HWND dialog, int editId, int spinId, NumberRange range) {
  HWND edit = GetDlgItem(dialog, editId);
  HWND spin = GetDlgItem(dialog, spinId);
  LimitText(dialog, editId, kNumberFieldLength);
  SetWindowLongPtrA(edit, GWL_STYLE, GetWindowLongPtrA(edit, GWL_STYLE) | ES_NUMBER);  // digits only
  const int minimum = static_cast<int>(range.minimum), maximum = static_cast<int>(range.maximum);
  char text[kNumberFieldLength + 1] = "";
  GetWindowTextA(edit, text, sizeof text);
  uint32_t number = 0;
  ParseNumberText(text, &number);
  int position = number < static_cast<uint32_t>(minimum)   ? minimum
                 : number > static_cast<uint32_t>(maximum) ? maximum
                                                           : static_cast<int>(number);
  SpinAttachBuddy(spin, edit);
  SpinSetRange(spin, minimum, maximum);
  SpinSetPos(spin, position);
  // Setting the position also writes it into the edit: a number outside
  // the range (a Pause of 5000 seconds, say) must not change by opening.
  char after[kNumberFieldLength + 1] = "";
  GetWindowTextA(edit, after, sizeof after);
  if (lstrcmpA(text, after) != 0) SetWindowTextA(edit, text);
}

void SetNumberField(HWND dialog, int editId, int spinId, uint32_t value) {
  SetDlgItemInt(dialog, editId, value, FALSE);
  SpinSetPos(GetDlgItem(dialog, spinId), static_cast<int>(value));
}

bool ReadNumberField(HWND dialog, int editId, uint32_t* value) {
  *value = 0;
  HWND edit = GetDlgItem(dialog, editId);
  // Longer than a field takes: only the program can have put it there,
  // and no number of that length fits.
  if (GetWindowTextLengthA(edit) > kNumberFieldLength) return false;
  char text[kNumberFieldLength + 1] = "";
  GetWindowTextA(edit, text, sizeof text);
  if (ParseNumberText(text, value) != NumberRead) return false;
  char shown[16];
  wsprintfA(shown, "%lu", static_cast<unsigned long>(*value));
  if (lstrcmpA(text, shown) != 0) SetWindowTextA(edit, shown);
  return true;
}

bool ReadNumberInRange(HWND dialog, int editId, NumberRange range, uint32_t* value) {
  HWND edit = GetDlgItem(dialog, editId);
  bool edited = SendMessageA(edit, EM_GETMODIFY, 0, 0) != 0;
  if (!edited) {
    if (ReadNumberField(dialog, editId, value)) return true;
  } else {
    char text[kNumberFieldLength + 1] = "";
    if (GetWindowTextLengthA(edit) <= kNumberFieldLength) GetWindowTextA(edit, text, sizeof text);
    if (IsWholeNumberText(text) && ParseNumberText(text, value) == NumberRead && *value >= range.minimum &&
        *value <= range.maximum)
      return ReadNumberField(dialog, editId, value);
  }
  char format[kLongTextLength + 1];
  LanguageString(IDS_FMT_NUMBER_RANGE, format, sizeof format);
  char message[kLongTextLength + 32];
  snprintf(message, sizeof message, format, range.minimum, range.maximum);
  DialogMessageText(dialog, message, MB_ICONEXCLAMATION);
  FocusControl(dialog, editId);
  return false;
}

bool ReadObjectCounts(HWND dialog) {
  // A list file stores "*" for no description: one that begins with it
  // would be read back as none and lost at the next save.
  char first[2] = "";
  GetDlgItemTextA(dialog, IDC_DESCRIPTION, first, sizeof first);
  if (first[0] == '*') {
    DialogMessage(dialog, IDS_DESCRIPTION_STAR, MB_ICONEXCLAMATION);
    FocusControl(dialog, IDC_DESCRIPTION);
    return false;
  }
  uint32_t repeats, delay;
  return ReadNumberInRange(dialog, IDC_REPEAT_COUNT, kRepeatCountRange, &repeats) &&
         ReadNumberInRange(dialog, IDC_POST_DELAY, kPostDelayRange, &delay);
}

void FocusControl(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return;
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  char className[16] = "";
  GetClassNameA(control, className, sizeof className);
  if (lstrcmpiA(className, "ovSEdit") == 0 || lstrcmpiA(className, "Edit") == 0)
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void EnableControl(HWND dialog, int id, bool enable, int next) {
  HWND control = GetDlgItem(dialog, id);
  if (!enable && next && GetFocus() == control) FocusControl(dialog, next);
  EnableWindow(control, enable ? TRUE : FALSE);
}

void LimitText(HWND dialog, int id, int characters) {
  SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

bool FieldTextFits(HWND dialog, int id) {
  if (GetWindowTextLengthA(GetDlgItem(dialog, id)) < kTextBufferSize) return true;
  DialogMessage(dialog, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
  FocusControl(dialog, id);
  return false;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
