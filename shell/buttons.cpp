// What every icon button of the main window shares, ribbon or play button:
// the owner drawing with its icon, and the subclass that shows the button's
// help on the status bar while the mouse moves over it.
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "state/main_window_state.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

// How far the icon moves right and down while the button is held.
constexpr int kPressedShift = 2;

WNDPROC KeptProcedure(HWND button) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_USERDATA)); }

void DrawButtonFace(const DRAWITEMSTRUCT* item, int id, int baseId, int iconX, int iconY, bool pressed) {
  Draw3DPanel(item->hDC, &item->rcItem, pressed ? FALSE : TRUE, 1);
  int index = id - baseId;
  if (index < 0 || index >= kButtonIconCount || !g_state.buttonIcons[index]) return;
  int shift = pressed ? kPressedShift : 0;
  int x = item->rcItem.left + iconX + shift, y = item->rcItem.top + iconY + shift;
  HICON icon = g_state.buttonIcons[index];
  // A command that is not available now shows its icon greyed.
  if (item->itemState & ODS_DISABLED)
    DrawStateA(item->hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 0, 0, DST_ICON | DSS_DISABLED);
  else
    DrawIcon(item->hDC, x, y, icon);
}

}  // namespace

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
  if (command == 0 || command == g_state.lastHelpCommand) return;
  ShowStatusString(static_cast<UINT>(command - IDM_FIRST));
  g_state.lastHelpCommand = command;
}

int DrawButton(HWND /*window*/, int id, const DRAWITEMSTRUCT* item, int baseId, int iconX, int iconY, int focusX,
               int focusY, bool focusAllowed) {
  if (!item) return 0;
  RECT focus = item->rcItem;
  InflateRect(&focus, -focusX, -focusY);
  // The focus shows whether or not the keyboard was used last
  // (ODS_NOFOCUSRECT is not obeyed): a face drawn anew gets its focus
  // rectangle back, and a focus change alone toggles it (DrawFocusRect
  // inverts), so it goes again when the focus leaves.
  bool focused = focusAllowed && (item->itemState & ODS_FOCUS);
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    bool pressed = (item->itemAction & ODA_SELECT) && (item->itemState & ODS_SELECTED);
    DrawButtonFace(item, id, baseId, iconX, iconY, pressed);
    if (focused) DrawFocusRect(item->hDC, &focus);
    return 1;
  }
  if (item->itemAction & ODA_FOCUS) {
    if (focusAllowed) DrawFocusRect(item->hDC, &focus);
    return 1;
  }
  return 0;
}
