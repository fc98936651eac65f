#include "vi32rid/library.h"

#include <cstdio>

// The linker's symbol for the start of this module's image.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace vi32rid {

HINSTANCE LibraryInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

void LoadText(HINSTANCE module, UINT id, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  if (LoadStringA(module, id, buffer, size) <= 0) buffer[0] = '\0';
}

void ResolveText(HINSTANCE module, LPCSTR source, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  if (IS_INTRESOURCE(source))
    LoadText(module, LOWORD(reinterpret_cast<ULONG_PTR>(source)), buffer, size);
  else
    snprintf(buffer, static_cast<size_t>(size), "%s", source);
}

RECT WorkAreaNear(const RECT& rect) {
  MONITORINFO info;
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
  if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcWork;
  RECT area;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return area;
}

void KeepInside(RECT* rect, const RECT& area) {
  LONG width = rect->right - rect->left;
  LONG height = rect->bottom - rect->top;
  LONG x = rect->left;
  LONG y = rect->top;
  // Right and bottom first, so a rectangle larger than the area keeps its
  // top-left corner (and so its caption) visible.
  if (x + width > area.right) x = area.right - width;
  if (y + height > area.bottom) y = area.bottom - height;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  SetRect(rect, x, y, x + width, y + height);
}

}  // namespace vi32rid
