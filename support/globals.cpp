#include "support/globals.h"

Globals g_globals;
