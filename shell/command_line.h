/*
 * The program's command line: a list file name, then optionally the play
 * switch "/play" or "-play". Platform-neutral.
 *
 * The name runs to the first blank. A name in double quotes (as the desktop
 * shell passes a file it opens) may hold blanks. After the name and its
 * blanks, the whole rest must be the switch, in any letter case.
 */
#ifndef WENDLE_COMMAND_LINE_H
#define WENDLE_COMMAND_LINE_H

#include <stddef.h>

enum class CommandLineResult {
  Empty,    // nothing to open (no name, or a line that begins with a blank)
  Name,     // name holds the list file's name
  TooLong,  // the name does not fit the buffer: nothing is opened
};

// Reads text into name (size characters, always terminated) and *play.
CommandLineResult ParseCommandLine(const char* text, char* name, size_t size, bool* play);

#endif
