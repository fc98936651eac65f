#include "support/support_library.h"

BOOL WINAPI IsInRange(DWORD value, DWORD minimum, DWORD maximum) { return value >= minimum && value <= maximum; }
