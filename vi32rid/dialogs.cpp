// CenterDialog: places a dialog over the middle of its parent.
#include "support/support_library.h"
#include "vi32rid/library.h"

namespace {

// What the dialog is centred on: the parent's window, or the work area when
// there is no parent to see (none, or minimized).
RECT CentringArea(HWND parent, HWND dialog) {
  RECT area;
  if (parent && IsWindow(parent) && !IsIconic(parent) && GetWindowRect(parent, &area)) return area;
  RECT own;
  GetWindowRect(dialog, &own);
  return vi32rid::WorkAreaNear(own);
}

}  // namespace

BOOL WINAPI CenterDialog(HWND parent, HWND dialog) {
  RECT box;
  if (!IsWindow(dialog) || !GetWindowRect(dialog, &box)) return FALSE;
  RECT area = CentringArea(parent, dialog);
  LONG width = box.right - box.left;
  LONG height = box.bottom - box.top;
  LONG x = area.left + ((area.right - area.left) - width) / 2;
  LONG y = area.top + ((area.bottom - area.top) - height) / 2;
  SetRect(&box, x, y, x + width, y + height);
  // Keep it whole on the monitor it lands on, clear of the task bar.
  vi32rid::KeepInside(&box, vi32rid::WorkAreaNear(box));

  POINT origin = {box.left, box.top};
  if (GetWindowLongPtrA(dialog, GWL_STYLE) & WS_CHILD) ScreenToClient(GetParent(dialog), &origin);
  return SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
