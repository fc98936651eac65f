// wd_eng.dll, the English language module: a resource-only library that
// holds every text the program loads, within the lengths the program reads
// and with exactly the placeholders it fills.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

// The text whole, however long (empty when the id is missing).
std::string Text(UINT id) {
  char text[4096] = "";
  int length = LoadStringA(bench::LanguageModule(), id, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

// Every id the program loads from the module, with the most characters it
// reads of it (511 where it reads a whole text buffer).
std::map<UINT, size_t> RequiredIds() {
  std::map<UINT, size_t> ids;
  auto range = [&ids](UINT first, UINT last) {
    for (UINT id = first; id <= last; ++id) ids[id] = 511;
  };
  range(0, 6);    // File menu help
  range(16, 22);  // Sound menu help
  range(24, 25);
  range(32, 41);  // Options menu help
  range(48, 52);  // Help menu help
  range(54, 54);
  range(64, 67);  // Move menu help
  range(96, 103);
  range(105, 107);
  range(110, 110);
  range(112, 126);
  range(128, 128);
  range(130, 139);
  range(141, 148);
  range(150, 152);
  range(154, 169);
  range(192, 200);
  range(224, 225);
  range(236, 246);
  range(260, 263);  // Pause and the time played
  ids[IDS_FMT_FILES_DROPPED] = 63;
  ids[IDS_FMT_ITEMS_READ] = 40;
  ids[IDS_FMT_ITEMS_WRITTEN] = 40;
  ids[IDS_FMT_NOW_PLAYING] = 62;
  ids[IDS_FMT_PAUSE_PLAYING] = 62;
  ids[IDS_FMT_PASS] = 31;
  ids[IDS_FMT_COUNTDOWN] = 62;
  ids[IDS_FMT_PAUSED] = 62;
  ids[IDS_FMT_PLAY_TIME] = 62;
  ids[IDS_FMT_CANNOT_PLAY] = 127;
  ids[IDS_FMT_RUN_FAILURES] = 127;
  ids[IDS_FMT_NUMBER_RANGE] = 127;
  return ids;
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
  EXPECT_EQ(Text(IDS_APP_CAPTION), "Wendle");
}

TEST(LanguageModule, EveryTextIsPresentAndFitsWhatTheProgramReads) {
  for (const auto& [id, limit] : RequiredIds()) {
    std::string text = Text(id);
    EXPECT_FALSE(text.empty()) << "string " << id << " is missing";
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

TEST(LanguageModule, FormatTextsCarryExactlyTheirPlaceholders) {
  const std::map<UINT, std::vector<std::string>> formats = {
      {IDS_FMT_FILES_DROPPED, {"%u"}},
      {IDS_FMT_ITEMS_READ, {"%u"}},
      {IDS_FMT_ITEMS_WRITTEN, {"%u", "%u"}},
      {IDS_FMT_NOW_PLAYING, {"%s"}},
      {IDS_FMT_PAUSE_PLAYING, {"%u"}},
      {IDS_FMT_PASS, {"%u", "%u"}},
      {IDS_FMT_COUNTDOWN, {"%u"}},
      {IDS_FMT_CANNOT_PLAY, {"%s", "%s"}},
      {IDS_FMT_RUN_FAILURES, {"%u"}},
      {IDS_FMT_NUMBER_RANGE, {"%u", "%u"}},
      {IDS_FMT_PAUSED, {"%s"}},
      {IDS_FMT_PLAY_TIME, {"%s", "%s", "%s"}},
  };
  for (const auto& [id, limit] : RequiredIds()) {
    auto expected = formats.find(id);
    std::vector<std::string> wanted = expected == formats.end() ? std::vector<std::string>() : expected->second;
    EXPECT_EQ(Conversions(Text(id)), wanted) << "string " << id << ": \"" << Text(id) << "\"";
  }
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
  wchar_t wide[64] = L"";
  LoadStringW(bench::LanguageModule(), IDS_FMT_PLAY_TIME, wide, 64);
  EXPECT_EQ(std::wstring(wide), L"Playing %s \x2014 %s / %s");
  EXPECT_NE(std::string(out).find("C:\\MUSIC\\SONG.WAV"), std::string::npos);
}

TEST(LanguageModule, EveryMenuCommandHasItsHelpText) {
  // The program's own menus (linked into this test) name the commands.
  std::set<UINT> commands;
  std::vector<HMENU> pending;
  for (UINT menuId : {IDR_MAIN_MENU, IDR_POPUP_MENU}) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
    ASSERT_NE(menu, nullptr) << "menu " << menuId;
    pending.push_back(menu);
    while (!pending.empty()) {
      HMENU current = pending.back();
      pending.pop_back();
      for (int i = 0; i < GetMenuItemCount(current); ++i) {
        HMENU sub = GetSubMenu(current, i);
        if (sub) {
          pending.push_back(sub);
          continue;
        }
        UINT id = GetMenuItemID(current, i);
        if (id != 0 && id != static_cast<UINT>(-1)) commands.insert(id);
      }
    }
    DestroyMenu(menu);
  }
  EXPECT_EQ(commands.size(), 40u);  // every command id of ids.h appears
  for (UINT id : commands) {
    ASSERT_GE(id, static_cast<UINT>(IDM_FIRST));
    ASSERT_LE(id, static_cast<UINT>(IDM_LAST));
    EXPECT_FALSE(Text(CommandHelpString(static_cast<int>(id))).empty()) << "no help for command " << id;
  }
  // Help texts are distinct, so each command says what it does.
  std::set<std::string> texts;
  for (UINT id : commands) texts.insert(Text(CommandHelpString(static_cast<int>(id))));
  EXPECT_EQ(texts.size(), commands.size());
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
}

TEST_F(LanguageRegistry, HotKeysKeyAndItsValueNamesAreUsable) {
  ExpectUsableKey(IDS_REG_HOTKEYS_KEY, IDS_REG_HOTKEY1_KEY, IDS_REG_HOTKEY4_MODS);
  EXPECT_NE(Text(IDS_REG_HOTKEYS_KEY), Text(IDS_REG_SETTINGS_KEY));
}

}  // namespace
