#include "shell/buttons.h"

#include "resources/ids.h"
#include "shell/shell_state.h"
#include "settings/settings_record.h"
#include "support/dpi.h"
#include "support/pictures.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

// How far the icon moves right and down while the button is held (at 96
// DPI, as every size here).
constexpr int kPressedShift = 2;
constexpr int kButtonIconSize = 32;

WNDPROC KeptProcedure(HWND button) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_USERDATA)); }

void DrawButtonFace(const DRAWITEMSTRUCT* item, int id, int iconX, int iconY, bool pressed, int dpi) {
  Draw3DPanel(item->hDC, &item->rcItem, pressed ? FALSE : TRUE, 1);
  int slot = ButtonIconSlot(id);
  if (slot < 0 || slot >= kButtonIconCount || !g_shell.buttonIcons[slot]) return;
  int shift = pressed ? Scale(kPressedShift, dpi) : 0;
  int x = item->rcItem.left + iconX + shift, y = item->rcItem.top + iconY + shift;
  HICON icon = g_shell.buttonIcons[slot];
  // A command that is not available now shows its icon greyed.
  if (item->itemState & ODS_DISABLED)
    DrawStateA(item->hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 0, 0, DST_ICON | DSS_DISABLED);
  else
    DrawIconEx(item->hDC, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);  // at the icon's own size
}

}  // namespace

void LoadButtonIcons(HINSTANCE instance, int dpi) {
  FreeButtonIcons();
  // Slot 22 (1523) has no icon: the pop-up menu has that id.
  const int pixels = PictureSizeForDpi(kButtonIconSize, dpi);
  for (int slot = 0; slot < kButtonIconCount; ++slot)
    g_shell.buttonIcons[slot] = LoadPicture(instance, ButtonIconId(slot), pixels);
}

void FreeButtonIcons() {
  for (HICON& icon : g_shell.buttonIcons) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
  }
}

int ButtonCommand(int controlId) {
  switch (controlId) {
    case IDC_BTN_ADD:
      return IDM_SOUND_ADD;
    case IDC_BTN_APPEND:
      return IDM_FILE_APPEND;
    case IDC_BTN_BROWSE:
      return IDM_SOUND_BROWSE;
    case IDC_BTN_HOT_KEYS:
      return IDM_OPT_HOT_KEYS;
    case IDC_BTN_CATALOG_CD:
      return IDM_OPT_CATALOG_CD;
    case IDC_BTN_HELP:
      return IDM_HELP_INDEX;
    case IDC_BTN_INSERT:
      return IDM_FILE_INSERT;
    case IDC_BTN_MODIFY:
      return IDM_SOUND_MODIFY;
    case IDC_BTN_NEW:
      return IDM_FILE_NEW;
    case IDC_BTN_OPEN:
      return IDM_FILE_OPEN;
    case IDC_BTN_PLAY_ALL:
      return IDM_SOUND_PLAY_ALL;
    case IDC_BTN_PLAY:
      return IDM_SOUND_PLAY_SELECTED;
    case IDC_BTN_PLAY_ALL_MODE:
      return IDM_OPT_PLAY_ALL_MODE;
    case IDC_BTN_REMOVE:
      return IDM_SOUND_REMOVE;
    case IDC_BTN_SAVE:
      return IDM_FILE_SAVE;
    case IDC_BTN_STOP_SKIP:
      return IDM_SOUND_STOP_SKIP;
    case IDC_BTN_STOP_PLAY_ALL:
      return IDM_SOUND_STOP_PLAY_ALL;
    default:
      return 0;
  }
}

void SubclassButton(HWND button) {
  if (!IsWindow(button)) return;
  // Keep the old procedure before installing the new one: the new one
  // passes every message on to it.
  SetWindowLongPtrA(button, GWLP_USERDATA, GetWindowLongPtrA(button, GWLP_WNDPROC));
  SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonSubclassProc));
}

void UnsubclassButton(HWND button) {
  LONG_PTR kept = GetWindowLongPtrA(button, GWLP_USERDATA);
  if (kept) SetWindowLongPtrA(button, GWLP_WNDPROC, kept);
}

LRESULT CALLBACK ButtonSubclassProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC kept = KeptProcedure(button);
  switch (message) {
    case WM_DESTROY:
      UnsubclassButton(button);
      break;
    case WM_MOUSEMOVE:
      if (g_settings.preferenceFlags & StatusBarButtonHelp)
        ShowButtonHelp(static_cast<int>(GetWindowLongPtrA(button, GWLP_ID)));
      break;
    default:
      break;
  }
  if (!kept) return DefWindowProcA(button, message, wParam, lParam);
  return CallWindowProcA(kept, button, message, wParam, lParam);
}

void ShowButtonHelp(int controlId) {
  int command = ButtonCommand(controlId);
  // Mouse moves come in streams: the text is loaded once per button
  // entered, not on every move.
  if (command == 0 || command == g_shell.lastHelpCommand) return;
  ShowStatusString(CommandHelpString(command));
  g_shell.lastHelpCommand = command;
}

int DrawButton(int id, const DRAWITEMSTRUCT* item, int iconX, int iconY, int focusX, int focusY, bool focusAllowed) {
  if (!item) return 0;
  const int dpi = DpiOf(item->hwndItem);
  RECT focus = item->rcItem;
  InflateRect(&focus, -Scale(focusX, dpi), -Scale(focusY, dpi));
  // The focus shows whether or not the keyboard was used last
  // (ODS_NOFOCUSRECT is not obeyed): a face drawn anew gets its focus
  // rectangle back, and a focus change alone toggles it (DrawFocusRect
  // inverts), so it goes again when the focus leaves.
  bool focused = focusAllowed && (item->itemState & ODS_FOCUS);
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    bool pressed = (item->itemAction & ODA_SELECT) && (item->itemState & ODS_SELECTED);
    DrawButtonFace(item, id, Scale(iconX, dpi), Scale(iconY, dpi), pressed, dpi);
    if (focused) DrawFocusRect(item->hDC, &focus);
    return 1;
  }
  if (item->itemAction & ODA_FOCUS) {
    if (focusAllowed) DrawFocusRect(item->hDC, &focus);
    return 1;
  }
  return 0;
}
