/*
 * What every dialog of Wendle does alike: the add/modify parameter of the
 * Sound Object dialogs, centring, colours, the explanation font, Help,
 * number fields with their spins, and message boxes owned by the dialog.
 */
#ifndef WENDLE_DIALOG_COMMON_H
#define WENDLE_DIALOG_COMMON_H

#include <windows.h>

#include <cstdint>

#include "support/globals.h"
#include "settings/settings_record.h"

// DialogParam: how a Sound Object dialog is opened.
//   add mode:    bit 31 set, the kind command (1509, 1513, 1520, 1522,
//                1533) in bits 16 to 30, the insertion method in bits 0-15;
//   modify mode: bit 31 clear, list index + 1 in bits 16 to 30, bits 0-15 0.
typedef uint32_t DialogParam;

constexpr DialogParam kDialogAddMode = 0x80000000u;
// The last list index that modify mode can carry.
constexpr int kMaxModifyIndex = 0x7FFF - 1;

constexpr DialogParam AddModeParam(int kindCommand, int insertionMethod) {
  return kDialogAddMode | (static_cast<DialogParam>(kindCommand & 0x7FFF) << 16) |
         static_cast<DialogParam>(insertionMethod & 0xFFFF);
}
// Only for 0 <= index <= kMaxModifyIndex.
constexpr DialogParam ModifyModeParam(int index) { return static_cast<DialogParam>(index + 1) << 16; }
constexpr bool IsAddMode(DialogParam param) { return (param & kDialogAddMode) != 0; }
constexpr int ParamKindCommand(DialogParam param) { return static_cast<int>((param >> 16) & 0x7FFF); }
constexpr int ParamInsertionMethod(DialogParam param) { return static_cast<int>(param & 0xFFFF); }
constexpr int ParamTargetIndex(DialogParam param) { return static_cast<int>(param >> 16) - 1; }

// The LPARAM that carries a DialogParam (never sign-extended) and back.
inline LPARAM DialogParamArg(DialogParam param) { return static_cast<LPARAM>(static_cast<ULONG_PTR>(param)); }
inline DialogParam DialogParamOf(LPARAM lParam) { return static_cast<DialogParam>(lParam); }

// The colour queries (WM_CTLCOLORMSGBOX, BTN, DLG, STATIC): the stock
// light-grey brush, and the same grey behind texts. True when message is one
// of them; *result is then the dialog procedure's answer.
bool HandleDialogColors(UINT message, WPARAM wParam, INT_PTR* result);

// The procedure of a dialog that needs nothing but its set-up and its
// commands (control id, notification code), with the colours every dialog
// has; and running one modally, owned by owner.
template <INT_PTR (*Initialize)(HWND), INT_PTR (*Command)(HWND, int, int)>
INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  INT_PTR result;
  if (HandleDialogColors(message, wParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return Initialize(dialog);
    case WM_COMMAND:
      return Command(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
      return FALSE;
  }
}

template <INT_PTR (*Initialize)(HWND), INT_PTR (*Command)(HWND, int, int)>
INT_PTR RunPlainDialog(HWND owner, int templateId) {
  return DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(templateId), owner, PlainDialogProc<Initialize, Command>,
                         0);
}

// Check boxes and radio buttons drawn without visual styles, as on the
// classic grey: the styles draw their labels in colours made for a light
// face, and a disabled label all but vanishes on the dialogs' grey.
void UseClassicChoiceBoxes(HWND dialog);

// Centres the dialog over its owner; the last step of every set-up.
void CenterOverOwner(HWND dialog);

// The stock variable-pitch font, at the dialog's DPI, on the explanation
// text (control 553).
void SetExplanationFont(HWND dialog);
void SetVariablePitchFont(HWND control);

// Help button: status text 102, then the help file at this context. The
// dialog stays open.
void ShowDialogHelp(UINT context);

// A message box owned by the dialog, caption language string 98; its text
// a language string or a ready text.
int DialogMessage(HWND dialog, UINT textId, UINT style);
int DialogMessageText(HWND dialog, const char* text, UINT style);

// Number fields: the longest text a number field takes (room for any
// 32-bit number with blanks around it, too short for a runaway paste).
constexpr int kNumberFieldLength = 32;

// The numbers a field takes, both ends included.
struct NumberRange {
  uint32_t minimum;
  uint32_t maximum;
};
constexpr NumberRange kRepeatCountRange = {0, 100};
constexpr NumberRange kPostDelayRange = {0, kMaxPauseSeconds};
constexpr NumberRange kPauseRange = {0, kMaxPauseSeconds};

// Attaches the spin to its edit with a range and puts it at the number the
// edit shows (held within the range); the edit takes digits only. The edit
// keeps its text even when that number lies outside the range (a value
// read from a list file): only the user's own steps change it.
void AttachNumberField(HWND dialog, int editId, int spinId, NumberRange range);
// Sets a number field and its spin to value.
void SetNumberField(HWND dialog, int editId, int spinId, uint32_t value);

// Reads a number field: false when it holds a number that no 32-bit
// unsigned value can be (a negative one, or one above 4294967295), or
// more text than a field takes. Text that is no number reads as 0. The
// field is rewritten to show exactly the number read, so every later
// reading of the control agrees.
bool ReadNumberField(HWND dialog, int editId, uint32_t* value);
// A number field as OK takes it. What the user typed must be a whole
// number within range; otherwise a message names the range, the field is
// focused and the result is false. A field the user did not edit keeps
// its value as it is, outside the range too.
bool ReadNumberInRange(HWND dialog, int editId, NumberRange range, uint32_t* value);
// The Description (516), Repeat Count (517) and Post Time Delay (529) of an
// object dialog: false (after telling the user, the field focused) for a
// description that begins with "*" or a count out of range.
bool ReadObjectCounts(HWND dialog);

// Focuses a dialog control (through the dialog manager, so the default
// button follows) and selects an edit's whole text.
void FocusControl(HWND dialog, int id);
// Enables or disables a control; a disabled control that had the focus
// hands it to next (when given).
void EnableControl(HWND dialog, int id, bool enable, int next = 0);

// Limits an edit to as many characters as the buffer it is read into holds.
void LimitText(HWND dialog, int id, int characters);

// True when the text of control id fits a text buffer (kTextBufferSize
// bytes with its end). A name in UTF-8 takes up to four bytes a character,
// so a field's character limit cannot promise that; a text that does not
// fit is refused with IDS_NAME_TOO_LONG and the field gets the focus,
// rather than being cut into another name.
bool FieldTextFits(HWND dialog, int id);

// True when a check box or radio button is checked.
bool IsChecked(HWND dialog, int id);

#endif
