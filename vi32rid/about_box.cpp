// ShowAboutBox: the program's modal About box.
#include "support/support_library.h"
#include "vi32rid/library.h"
#include "vi32rid/vi32rid_ids.h"

namespace {

constexpr int kTextSize = 512;

struct AboutTexts {
  HWND owner;
  HICON icon;
  char caption[kTextSize];
  char lines[3][kTextSize];
};

// The icon lives in the calling program's resources; a language module may
// carry one of its own, which then wins.
HICON LoadAboutIcon(HINSTANCE module, UINT iconId) {
  HICON icon = module ? LoadIconA(module, MAKEINTRESOURCEA(iconId)) : nullptr;
  if (!icon) icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId));
  if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
  return icon;  // shared icons: never destroyed
}

void OnInitAbout(HWND dialog, const AboutTexts* texts) {
  SetWindowTextA(dialog, texts->caption);
  SetDlgItemTextA(dialog, IDC_ABOUT_LINE1, texts->lines[0]);
  SetDlgItemTextA(dialog, IDC_ABOUT_LINE2, texts->lines[1]);
  SetDlgItemTextA(dialog, IDC_ABOUT_LINE3, texts->lines[2]);
  SendDlgItemMessageA(dialog, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(texts->icon), 0);
  CenterDialog(texts->owner, dialog);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitAbout(dialog, reinterpret_cast<const AboutTexts*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI ShowAboutBox(HWND owner, HINSTANCE module, UINT iconId, UINT captionId, UINT line1Id, UINT line2Id,
                        UINT line3Id, UINT /*flags*/) {
  AboutTexts texts;
  texts.owner = owner;
  texts.icon = LoadAboutIcon(module, iconId);
  vi32rid::LoadText(module, captionId, texts.caption, kTextSize);
  vi32rid::LoadText(module, line1Id, texts.lines[0], kTextSize);
  vi32rid::LoadText(module, line2Id, texts.lines[1], kTextSize);
  vi32rid::LoadText(module, line3Id, texts.lines[2], kTextSize);
  return static_cast<int>(DialogBoxParamA(vi32rid::LibraryInstance(), MAKEINTRESOURCEA(IDD_VI32RID_ABOUT), owner,
                                          AboutDialogProc, reinterpret_cast<LPARAM>(&texts)));
}
