// Names in upper case, as Wendle keeps file names and commands.
#ifndef WENDLE_NAME_CASE_H
#define WENDLE_NAME_CASE_H

#include <cstddef>

// Upper-cases a name in place (a buffer of size bytes, in the program's
// code page). In UTF-8 a few letters take more bytes in upper case than in
// lower case, and in an ANSI code page some have no upper case there: such
// a name is left as it is rather than cut or given a "?".
void UpperCaseName(char* name, size_t size);

#endif
