// The main window's normal rectangle and maximized state in the registry.
#include "support/support_library.h"
#include "vi32rid/library.h"
#include "support/scoped_win.h"

#include <algorithm>

namespace {

// The registry value: REG_BINARY holding exactly this record.
struct StoredPlacement {
  DWORD version;
  LONG x, y, width, height;  // screen coordinates of the normal rectangle
  DWORD maximized;
};

constexpr DWORD kPlacementVersion = 1;
// No screen is larger; anything beyond is damage, not a window.
constexpr LONG kLargestSize = 0x8000;
// Far beyond any desktop, yet clear of arithmetic overflow.
constexpr LONG kFarthestPosition = 0x1000000;

bool ReadStoredPlacement(LPCSTR keyPath, LPCSTR valueName, StoredPlacement* stored) {
  ScopedRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD size = sizeof *stored;
  LONG result = RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(stored), &size);
  return result == ERROR_SUCCESS && type == REG_BINARY && size == sizeof *stored &&
         stored->version == kPlacementVersion;
}

bool IsPlausible(const StoredPlacement& stored) {
  return stored.width > 0 && stored.height > 0 && stored.width <= kLargestSize && stored.height <= kLargestSize;
}

// A rectangle that shows on no work area (a monitor since removed, a
// resolution since lowered) is moved onto the nearest one, shrunk to fit.
void BringOntoScreen(RECT* rect) {
  RECT area = vi32rid::WorkAreaNear(*rect);
  RECT visible;
  if (IntersectRect(&visible, rect, &area)) return;
  rect->right = rect->left + std::min(rect->right - rect->left, area.right - area.left);
  rect->bottom = rect->top + std::min(rect->bottom - rect->top, area.bottom - area.top);
  vi32rid::KeepInside(rect, area);
}

// GetWindowPlacement gives the normal rectangle in work-area coordinates
// (except for tool windows); the stored rectangle is in screen coordinates.
POINT WorkAreaOffset(HWND window) {
  POINT offset = {0, 0};
  if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return offset;
  MONITORINFO info;
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    offset.x = info.rcWork.left - info.rcMonitor.left;
    offset.y = info.rcWork.top - info.rcMonitor.top;
  }
  return offset;
}

}  // namespace

BOOL WINAPI LoadWindowPlacement(LPCSTR keyPath, LPCSTR valueName, RECT* rect, int* maximized) {
  if (!rect) return FALSE;
  StoredPlacement stored;
  if (!keyPath || !ReadStoredPlacement(keyPath, valueName, &stored) || !IsPlausible(stored)) {
    SetRectEmpty(rect);  // no placement: the window starts empty and grows to its minimum
    return FALSE;
  }
  LONG x = std::clamp(stored.x, -kFarthestPosition, kFarthestPosition);
  LONG y = std::clamp(stored.y, -kFarthestPosition, kFarthestPosition);
  RECT placed = {x, y, x + stored.width, y + stored.height};
  BringOntoScreen(&placed);
  // The caller takes x, y, width and height in the four fields.
  rect->left = placed.left;
  rect->top = placed.top;
  rect->right = placed.right - placed.left;
  rect->bottom = placed.bottom - placed.top;
  if (maximized) *maximized = stored.maximized ? 1 : 0;
  return TRUE;
}

BOOL WINAPI SaveWindowPlacement(HWND window, LPCSTR keyPath, LPCSTR valueName) {
  WINDOWPLACEMENT placement;
  placement.length = sizeof placement;
  if (!keyPath || !IsWindow(window) || !GetWindowPlacement(window, &placement)) return FALSE;

  POINT offset = WorkAreaOffset(window);
  const RECT& normal = placement.rcNormalPosition;
  StoredPlacement stored;
  stored.version = kPlacementVersion;
  stored.x = normal.left + offset.x;
  stored.y = normal.top + offset.y;
  stored.width = normal.right - normal.left;
  stored.height = normal.bottom - normal.top;
  // A minimized window that will come back maximized counts as maximized.
  stored.maximized = placement.showCmd == SW_SHOWMAXIMIZED || IsZoomed(window) ||
                     (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED));

  ScopedRegKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.out(), nullptr) !=
      ERROR_SUCCESS)
    return FALSE;
  LONG result =
      RegSetValueExA(key.get(), valueName, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
  return result == ERROR_SUCCESS;
}
