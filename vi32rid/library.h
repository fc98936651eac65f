// Helpers shared inside VI32RID.dll (not exported).
#ifndef VI32RID_LIBRARY_H
#define VI32RID_LIBRARY_H

#include <windows.h>

namespace vi32rid {

// This library's own module handle (for its dialog templates).
HINSTANCE LibraryInstance();

// Loads string id of module into buffer; a missing string leaves it empty.
void LoadText(HINSTANCE module, UINT id, char* buffer, int size);

// Copies either a ready text or, when source is a resource id
// (IS_INTRESOURCE), that string of module into buffer. A missing string
// leaves buffer empty. Always terminates buffer within size.
void ResolveText(HINSTANCE module, LPCSTR source, char* buffer, int size);

// The work area of the monitor nearest to rect.
RECT WorkAreaNear(const RECT& rect);

// Moves rect (keeping its size where it fits) so that it lies inside area.
void KeepInside(RECT* rect, const RECT& area);

}  // namespace vi32rid

#endif
