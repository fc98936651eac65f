// wd_eng.dll, the English language module: a resource-only library that
// holds every text the program's code names, within the lengths the program
// reads and with exactly the placeholders it fills (as resources/ids.h notes
// them), and a help text for every menu command.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench/program_sources.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

// The text whole, however long (empty when the id is missing).
std::string Text(UINT id) {
  char text[4096] = "";
  int length = LoadStringA(bench::LanguageModule(), id, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

// What ids.h notes beside a format text: what the program fills it with
// ("one number", "two numbers", "file, reason", "text, two times") and, in
// brackets, the most characters it reads of it. A number is printed with
// %u, any other part is a text (%s). A text without such a note is no
// format: the program reads it whole (511 characters) and shows it as it is.
struct Note {
  std::vector<std::string> conversions;
  size_t limit = 511;
};

Note NoteOf(const bench::IdDefine& define) {
  Note note;
  size_t open = define.comment.find('[');
  size_t close = define.comment.find(']', open);
  if (open == std::string::npos || close == std::string::npos) return note;
  note.limit = strtoul(define.comment.c_str() + open + 1, nullptr, 10);
  std::string fill = define.comment.substr(0, open);
  size_t start = 0;
  for (;;) {
    size_t end = fill.find(',', start);
    std::istringstream part(fill.substr(start, end == std::string::npos ? std::string::npos : end - start));
    std::string word, noun;
    part >> word;
    int count = 1;
    if (word == "one" || word == "two" || word == "three") {
      count = word == "one" ? 1 : word == "two" ? 2 : 3;
      part >> noun;
    } else {
      noun = word;
    }
    EXPECT_FALSE(noun.empty()) << define.name << ": \"" << define.comment << "\" names no part";
    for (int i = 0; i < count; ++i) note.conversions.push_back(noun.compare(0, 6, "number") == 0 ? "%u" : "%s");
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return note;
}

// The module's own texts (ids.h's IDS_ ids, but the program's own three
// early ones, which live in the program).
std::vector<bench::IdDefine> ModuleIds() {
  std::vector<bench::IdDefine> ids;
  for (const bench::IdDefine& define : bench::IdDefinesNamed("IDS_"))
    if (define.name.compare(0, 8, "IDS_OWN_") != 0) ids.push_back(define);
  return ids;
}

// The command ids of both menus (IDM_FIRST and IDM_LAST only mark the range).
std::set<UINT> MenuCommands() {
  std::set<UINT> commands;
  std::vector<HMENU> pending;
  for (UINT menuId : {IDR_MAIN_MENU, IDR_POPUP_MENU}) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
    EXPECT_NE(menu, nullptr) << "menu " << menuId;
    if (!menu) continue;
    pending.push_back(menu);
    while (!pending.empty()) {
      HMENU current = pending.back();
      pending.pop_back();
      for (int i = 0; i < GetMenuItemCount(current); ++i) {
        if (HMENU sub = GetSubMenu(current, i)) {
          pending.push_back(sub);
          continue;
        }
        UINT id = GetMenuItemID(current, i);
        if (id != 0 && id != static_cast<UINT>(-1)) commands.insert(id);
      }
    }
    DestroyMenu(menu);
  }
  return commands;
}

// The conversions of a printf-style format, such as {"%u", "%s"}; a "%%"
// counts as one as well, since the program never expects it.
std::vector<std::string> Conversions(const std::string& text) {
  std::vector<std::string> found;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    size_t end = i + 1;
    while (end < text.size() && strchr("-+ #0123456789.lhIL", text[end])) ++end;
    if (end < text.size()) ++end;  // the conversion character
    found.push_back(text.substr(i, end - i));
    i = end - 1;
  }
  return found;
}

TEST(LanguageModule, LoadsAsALibraryWithoutCode) {
  HMODULE module = bench::LanguageModule();
  ASSERT_NE(module, nullptr) << "LoadLibraryA failed: " << GetLastError();
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
  EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
  EXPECT_EQ(nt->OptionalHeader.AddressOfEntryPoint, 0u);  // nothing runs on load
  EXPECT_FALSE(Text(IDS_APP_CAPTION).empty());
}

// Every text id the program's code names is in the module: a missing one
// would show as an empty message or status line.
TEST(LanguageModule, HoldsEveryTextTheProgramNames) {
  std::set<std::string> used = bench::NamesTheProgramUses("IDS_");
  EXPECT_GT(used.size(), 50u) << "the program's sources were not read";
  for (const std::string& name : used) {
    if (name.compare(0, 8, "IDS_OWN_") == 0) continue;  // the program's own table
    EXPECT_FALSE(Text(bench::IdValue(name)).empty()) << name << " is named by the program but missing";
  }
}

TEST(LanguageModule, EveryTextFitsWhatTheProgramReadsAndIsPlainText) {
  std::map<UINT, size_t> limits;
  for (UINT command : MenuCommands()) limits[CommandHelpString(static_cast<int>(command))] = 511;  // status-bar help
  for (const bench::IdDefine& define : ModuleIds()) limits[define.value] = NoteOf(define).limit;
  for (const auto& [id, limit] : limits) {
    std::string text = Text(id);
    if (text.empty()) continue;  // whether it must be there is checked above
    EXPECT_LE(text.size(), limit) << "string " << id << ": \"" << text << "\"";
    // Plain printable ANSI: no stray bytes from the source's encoding. The
    // time played's dash is the one character beyond, written by its
    // Unicode number; menu item texts hold a tab before their key.
    wchar_t wide[512] = L"";
    int length = LoadStringW(bench::LanguageModule(), id, wide, 512);
    for (int i = 0; i < length; ++i) {
      const bool dash = id == IDS_FMT_PLAY_TIME && wide[i] == 0x2014;
      const bool tab = (id == IDS_MENU_PAUSE || id == IDS_MENU_RESUME) && wide[i] == '\t';
      EXPECT_TRUE(dash || tab || (wide[i] >= 0x20 && wide[i] < 0x7F)) << "string " << id << " holds " << int(wide[i]);
    }
  }
}

// A format text carries exactly the conversions its ids.h note names, in
// that order; every other text carries none, since it is shown as it is.
TEST(LanguageModule, FormatTextsCarryExactlyThePlaceholdersTheirNotesName) {
  int formats = 0;
  for (const bench::IdDefine& define : ModuleIds()) {
    std::string text = Text(define.value);
    if (text.empty()) continue;
    Note note = NoteOf(define);
    formats += !note.conversions.empty();
    EXPECT_EQ(Conversions(text), note.conversions) << define.name << ": \"" << text << "\"";
  }
  EXPECT_GE(formats, 10) << "the notes of ids.h were not read";
  for (UINT command : MenuCommands())
    EXPECT_TRUE(Conversions(Text(CommandHelpString(static_cast<int>(command)))).empty())
        << "help of command " << command;
}

TEST(LanguageModule, FormatTextsFormatIntoTheProgramsBuffers) {
  // As the program fills them: the largest numbers still give a whole text.
  char out[512];
  EXPECT_GT(wsprintfA(out, Text(IDS_FMT_FILES_DROPPED).c_str(), 4294967295u), 0);
  EXPECT_NE(std::string(out).find("4294967295"), std::string::npos);
  snprintf(out, sizeof out, Text(IDS_FMT_PASS).c_str(), 2u, 3u);
  EXPECT_NE(std::string(out).find('2'), std::string::npos);
  EXPECT_LT(std::string(out).find('2'), std::string(out).find('3'));  // pass, then count
  snprintf(out, sizeof out, Text(IDS_FMT_ITEMS_WRITTEN).c_str(), 7u, 9u);
  EXPECT_LT(std::string(out).find('7'), std::string(out).find('9'));  // written, then total
  snprintf(out, sizeof out, Text(IDS_FMT_NOW_PLAYING).c_str(), "C:\\MUSIC\\SONG.WAV");
  EXPECT_NE(std::string(out).find("C:\\MUSIC\\SONG.WAV"), std::string::npos);
}

// Every command of ids.h is in a menu and has a status-bar help text of its
// own (command N's is string N - IDM_FIRST), so each says what it does.
TEST(LanguageModule, EveryMenuCommandHasItsOwnHelpText) {
  std::set<UINT> commands = MenuCommands();
  for (const bench::IdDefine& define : bench::IdDefinesNamed("IDM_")) {
    if (define.name == "IDM_FIRST" || define.name == "IDM_LAST") continue;
    // The recent lists' items are made at run time; their help is checked
    // below with the rest.
    if (define.name.compare(0, 15, "IDM_RECENT_LIST") == 0) continue;
    EXPECT_EQ(commands.count(define.value), 1u) << define.name << " is in no menu";
  }
  for (UINT id = IDM_RECENT_LIST_FIRST; id <= IDM_RECENT_LIST_LAST; ++id) commands.insert(id);
  std::map<std::string, UINT> texts;
  for (UINT id : commands) {
    ASSERT_GE(id, static_cast<UINT>(IDM_FIRST));
    ASSERT_LE(id, static_cast<UINT>(IDM_LAST));
    std::string help = Text(CommandHelpString(static_cast<int>(id)));
    EXPECT_FALSE(help.empty()) << "no help for command " << id;
    if (help.empty()) continue;
    EXPECT_EQ(texts.count(help), 0u) << "commands " << texts[help] << " and " << id << " share their help";
    texts[help] = id;
  }
}

class LanguageRegistry : public testing::Test {
 protected:
  void SetUp() override { bench::ClearRegistry(); }
  void TearDown() override { bench::ClearRegistry(); }

  // Creates the key of the module's path text and writes one value per
  // name; every name must land as a value of its own.
  void ExpectUsableKey(UINT pathId, UINT firstName, UINT lastName) {
    std::string path = Text(pathId);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.front(), '\\') << path;
    EXPECT_NE(path.back(), '\\') << path;
    EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    std::set<std::string> names;
    for (UINT id = firstName; id <= lastName; ++id) {
      std::string name = Text(id);
      EXPECT_EQ(name.find('\\'), std::string::npos) << name;
      CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));  // the registry ignores case
      names.insert(name);
      DWORD data = id;
      EXPECT_EQ(RegSetValueExA(key, Text(id).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data),
                ERROR_SUCCESS)
          << Text(id);
    }
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    EXPECT_EQ(count, lastName - firstName + 1);
    EXPECT_EQ(names.size(), lastName - firstName + 1);
    RegCloseKey(key);
  }
};

TEST_F(LanguageRegistry, SettingsKeyAndItsValueNamesAreUsable) {
  ExpectUsableKey(IDS_REG_SETTINGS_KEY, IDS_REG_WINDOW_PLACEMENT, IDS_REG_MIDI_EDITOR);
  // Each range counts the key's values anew.
  bench::ClearRegistry();
  ExpectUsableKey(IDS_REG_SETTINGS_KEY, IDS_REG_OPEN_LAST_LIST, IDS_REG_LAST_SELECTED);
  bench::ClearRegistry();
  ExpectUsableKey(IDS_REG_SETTINGS_KEY, IDS_REG_RECENT_LIST_FIRST, IDS_REG_RECENT_LIST_LAST);
}

TEST_F(LanguageRegistry, HotKeysKeyAndItsValueNamesAreUsable) {
  ExpectUsableKey(IDS_REG_HOTKEYS_KEY, IDS_REG_HOTKEY1_KEY, IDS_REG_HOTKEY4_MODS);
  EXPECT_NE(Text(IDS_REG_HOTKEYS_KEY), Text(IDS_REG_SETTINGS_KEY));
}

}  // namespace
