// FindPreviousInstance: is the program already running?
#include "support/support_library.h"

// Any top-level window of the class (with that title, when one is given)
// belongs to a running instance; hidden windows count too.
BOOL WINAPI FindPreviousInstance(LPCSTR className, LPCSTR windowName) {
  if (!className && !windowName) return FALSE;
  return FindWindowA(className, windowName) != nullptr;
}
