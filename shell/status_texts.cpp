// The texts the main window shows about Play All: its count and order in
// the labels above the list.
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "settings/settings_record.h"
#include "support/language.h"

void ShowPlayListCount(HWND mainWindow, uint32_t count) {
  if (count == 0) {
    SetDlgItemTextA(mainWindow, IDC_LABEL_COUNT, LanguageText(IDS_NON_STOP));
    return;
  }
  SetDlgItemInt(mainWindow, IDC_LABEL_COUNT, count, FALSE);
}

void ShowPlayOrder(HWND mainWindow, uint32_t order) {
  UINT text = IDS_ORDER_RANDOM;
  if (order == PlayOrderSequential)
    text = IDS_ORDER_SEQUENTIAL;
  else if (g_settings.preferenceFlags & RandomExclusive)
    text = IDS_ORDER_RANDOM_EXCL;
  SetDlgItemTextA(mainWindow, IDC_LABEL_ORDER, LanguageText(text));
}
