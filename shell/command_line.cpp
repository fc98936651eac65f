#include "shell/command_line.h"

#include <string.h>

namespace {

bool IsPlaySwitch(const char* rest) {
  if (rest[0] != '/' && rest[0] != '-') return false;
  const char* word = "play";
  for (size_t i = 0; i < 4; ++i) {
    char c = rest[1 + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return rest[5] == '\0';
}

}  // namespace

CommandLineResult ParseCommandLine(const char* text, char* name, size_t size, bool* play) {
  *play = false;
  if (size > 0) name[0] = '\0';
  if (!text || size == 0) return CommandLineResult::Empty;

  const char* start = text;
  const char* end;
  const char* after;  // where the switch may follow
  if (*text == '"') {
    start = text + 1;
    const char* quote = strchr(start, '"');
    end = quote ? quote : start + strlen(start);
    after = quote ? quote + 1 : end;
    // Something glued to the closing quote is not a switch.
    if (*after != ' ' && *after != '\0') after = nullptr;
  } else {
    end = strchr(text, ' ');
    if (!end) end = text + strlen(text);
    after = end;
  }

  size_t length = static_cast<size_t>(end - start);
  if (length == 0) return CommandLineResult::Empty;
  if (length >= size) return CommandLineResult::TooLong;
  memcpy(name, start, length);
  name[length] = '\0';

  if (after && *after == ' ') {
    while (*after == ' ') ++after;
    *play = IsPlaySwitch(after);
  }
  return CommandLineResult::Name;
}
