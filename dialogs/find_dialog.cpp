// Find (dialog 320): the text the list is searched for.
#include <windows.h>

#include "dialogs/dialog_common.h"
#include "dialogs/option_dialogs.h"
#include "resources/ids.h"
#include "support/globals.h"

namespace {

struct FindDialogState {
  char* text = nullptr;
  size_t size = 0;
};
FindDialogState s_find;

INT_PTR OnInitDialog(HWND dialog) {
  LimitText(dialog, IDC_FIND_TEXT, static_cast<int>(s_find.size) - 1);
  SetDlgItemTextA(dialog, IDC_FIND_TEXT, s_find.text);
  SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_SETSEL, 0, -1);
  CenterOverOwner(dialog);
  return TRUE;
}

INT_PTR CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  INT_PTR result;
  if (HandleDialogColors(message, wParam, &result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_OK) {
        GetDlgItemTextA(dialog, IDC_FIND_TEXT, s_find.text, static_cast<int>(s_find.size));
        EndDialog(dialog, s_find.text[0] ? 1 : 0);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (LOWORD(wParam) == IDC_HELP_BUTTON) {
        ShowDialogHelp(HELPCTX_PROCEDURES);  // finding is one of the list's procedures
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR FindDialog(HWND owner, char* text, size_t size) {
  if (!text || size < 2) return 0;
  s_find.text = text;
  s_find.size = size;
  return DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_FIND), owner, FindDialogProc, 0);
}
