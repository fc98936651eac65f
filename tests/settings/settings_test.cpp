#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "settings/settings_record.h"

namespace {

using bench::LanguageString;

class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    bench::ClearRegistry();
    settingsKey_ = LanguageString(IDS_REG_SETTINGS_KEY);
    hotKeysKey_ = LanguageString(IDS_REG_HOTKEYS_KEY);
    ASSERT_FALSE(settingsKey_.empty());
  }
  void StoreSetting(UINT id, DWORD value) {
    ASSERT_TRUE(bench::RegWriteDword(settingsKey_, LanguageString(id), value));
  }
  void StoreHotKey(UINT id, DWORD value) { ASSERT_TRUE(bench::RegWriteDword(hotKeysKey_, LanguageString(id), value)); }
  DWORD Stored(const std::string& key, UINT id) {
    DWORD value = 0xDEADBEEF;
    EXPECT_TRUE(bench::RegReadDword(key, LanguageString(id), &value));
    return value;
  }
  std::string KeyClass(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    char keyClass[64] = "";
    DWORD length = sizeof keyClass;
    RegQueryInfoKeyA(key, keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return keyClass;
  }
  void ExpectDefaults() {
    EXPECT_EQ(g_settings.playListCount, 1u);
    EXPECT_EQ(g_settings.preferenceFlags, 18u);
    EXPECT_EQ(g_settings.confirmFlags, 3u);
    EXPECT_EQ(g_settings.playOrder, PlayOrderSequential);
    EXPECT_EQ(g_settings.pauseSeconds, 2u);
  }
  void ExpectHotKey(int i, uint32_t keyIndex, uint32_t modifiers) {
    EXPECT_EQ(g_settings.hotKeys[i].keyIndex, keyIndex) << "hot key " << i;
    EXPECT_EQ(g_settings.hotKeys[i].modifiers, modifiers) << "hot key " << i;
  }

  bench::ListHost host_;
  std::string settingsKey_;
  std::string hotKeysKey_;
};

TEST_F(SettingsTest, NothingStoredGivesTheDefaults) {
  LoadSettings();
  ExpectDefaults();
  ExpectHotKey(0, 13, 3);  // Control+Alt+N
  ExpectHotKey(1, 18, 3);  // Control+Alt+S
  ExpectHotKey(2, 5, 3);   // Control+Alt+F
  ExpectHotKey(3, 15, 3);  // Control+Alt+P
}

// Settings saved before the Pause/Resume key existed hold the three other
// keys only: those read as they were, and Pause takes its default, or the
// next free letter when one of them already has Control+Alt+P (its
// default would be refused at every start).
TEST_F(SettingsTest, HotKeysSavedBeforePauseExistedGivePauseAFreeKey) {
  StoreHotKey(IDS_REG_HOTKEY1_KEY, 1);
  StoreHotKey(IDS_REG_HOTKEY1_MODS, 2);
  StoreHotKey(IDS_REG_HOTKEY2_KEY, 2);
  StoreHotKey(IDS_REG_HOTKEY2_MODS, 1);
  StoreHotKey(IDS_REG_HOTKEY3_KEY, 14);
  StoreHotKey(IDS_REG_HOTKEY3_MODS, 3);
  LoadSettings();
  ExpectHotKey(0, 1, 2);
  ExpectHotKey(1, 2, 1);
  ExpectHotKey(2, 14, 3);
  ExpectHotKey(3, 15, 3);  // Control+Alt+P

  StoreHotKey(IDS_REG_HOTKEY3_KEY, 15);  // P, the letter Pause would take
  StoreHotKey(IDS_REG_HOTKEY2_KEY, 16);  // and Q, the next one
  StoreHotKey(IDS_REG_HOTKEY2_MODS, 3);
  LoadSettings();
  ExpectHotKey(2, 15, 3);
  ExpectHotKey(3, 17, 3);  // Control+Alt+R
}

TEST_F(SettingsTest, AKeyWithOnlyTheFavoriteGivesTheDefaults) {
  ASSERT_TRUE(bench::RegWriteString(settingsKey_, LanguageString(IDS_REG_FAVORITE), "C:\\A.WAV"));
  LoadSettings();
  ExpectDefaults();
}

// Settings of an earlier version: every value but the new one is there,
// and the last list opens at start; once switched off, it stays off. The
// recent lists keep eight at most, in order, and a slot emptied reads as
// none.
TEST_F(SettingsTest, SettingsWrittenBeforeOpenTheLastListAndRecentListsKeepTheirOrder) {
  StoreSetting(IDS_REG_PLAY_LIST_COUNT, 2);
  StoreSetting(IDS_REG_PREFERENCES, kDefaultPreferences);
  StoreSetting(IDS_REG_PAUSE_SECONDS, 3);
  LoadSettings();
  EXPECT_EQ(g_settings.openLastList, 1u);
  StoreSetting(IDS_REG_OPEN_LAST_LIST, 0);
  LoadSettings();
  EXPECT_EQ(g_settings.openLastList, 0u);

  EXPECT_TRUE(LoadRecentLists().empty());
  std::vector<std::string> paths;
  for (int i = 0; i < 10; ++i) paths.push_back("C:\\LISTS\\L" + std::to_string(i) + ".WDL");
  SaveRecentLists(paths);
  EXPECT_EQ(LoadRecentLists(), std::vector<std::string>(paths.begin(), paths.begin() + 8));
  SaveRecentLists({paths[3], paths[1]});
  EXPECT_EQ(LoadRecentLists(), (std::vector<std::string>{paths[3], paths[1]}));

  std::string last;
  int selected = 0;
  LoadLastList(&last, &selected);
  EXPECT_EQ(last, "");
  EXPECT_EQ(selected, -1);
  SaveLastList("C:\\LISTS\\PARTY.M3U8", 41);
  LoadLastList(&last, &selected);
  EXPECT_EQ(last, "C:\\LISTS\\PARTY.M3U8");
  EXPECT_EQ(selected, 41);
}

TEST_F(SettingsTest, StoredValuesLoadWithOnlyThePauseLimited) {
  StoreSetting(IDS_REG_PLAY_LIST_COUNT, 70000);
  StoreSetting(IDS_REG_PREFERENCES, 0x1234);
  StoreSetting(IDS_REG_CONFIRMATIONS, 0);
  StoreSetting(IDS_REG_PLAY_ORDER, 999);
  StoreSetting(IDS_REG_PAUSE_SECONDS, 5000);
  LoadSettings();
  EXPECT_EQ(g_settings.playListCount, 70000u);
  EXPECT_EQ(g_settings.preferenceFlags, 0x1234u);
  EXPECT_EQ(g_settings.confirmFlags, 0u);
  EXPECT_EQ(g_settings.playOrder, 999u);
  EXPECT_EQ(g_settings.pauseSeconds, 3600u);

  StoreSetting(IDS_REG_PAUSE_SECONDS, 4294967295u);
  LoadSettings();
  EXPECT_EQ(g_settings.pauseSeconds, 3600u);
  StoreSetting(IDS_REG_PAUSE_SECONDS, 3600);
  LoadSettings();
  EXPECT_EQ(g_settings.pauseSeconds, 3600u);
}

TEST_F(SettingsTest, AValueOfAnotherTypeOrSizeReadsAsAbsent) {
  ASSERT_TRUE(bench::RegWriteString(settingsKey_, LanguageString(IDS_REG_PREFERENCES), "7"));
  const BYTE four[4] = {5, 0, 0, 0};
  ASSERT_TRUE(bench::RegWriteBinary(settingsKey_, LanguageString(IDS_REG_PLAY_LIST_COUNT), four, 4));
  // A REG_DWORD of the wrong size.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey_.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  const BYTE two[2] = {9, 0};
  RegSetValueExA(key, LanguageString(IDS_REG_PAUSE_SECONDS).c_str(), 0, REG_DWORD, two, 2);
  RegCloseKey(key);
  LoadSettings();
  ExpectDefaults();
}

// Each value missing, or one the dialog could not have stored, takes its
// own default; modifier bits other than Control and Alt are dropped.
TEST_F(SettingsTest, HotKeyValuesMissingOrOutOfRangeTakeTheirOwnDefaults) {
  StoreHotKey(IDS_REG_HOTKEY1_KEY, 0);   // A
  StoreHotKey(IDS_REG_HOTKEY2_MODS, 1);  // Alt
  StoreHotKey(IDS_REG_HOTKEY3_KEY, 26);  // beyond Z
  StoreHotKey(IDS_REG_HOTKEY3_MODS, 0);  // a bare letter
  StoreHotKey(IDS_REG_HOTKEY4_KEY, 3);
  StoreHotKey(IDS_REG_HOTKEY4_MODS, MOD_SHIFT | MOD_WIN | MOD_ALT);
  LoadSettings();
  ExpectHotKey(0, 0, 3);
  ExpectHotKey(1, 18, 1);
  ExpectHotKey(2, 5, 3);
  ExpectHotKey(3, 3, MOD_ALT);

  StoreHotKey(IDS_REG_HOTKEY4_MODS, MOD_SHIFT);
  LoadSettings();
  ExpectHotKey(3, 3, 3);
}

TEST_F(SettingsTest, SaveAndLoadHotKeysRoundTrip) {
  g_settings.hotKeys[0] = {2, 1};
  g_settings.hotKeys[1] = {3, 25};
  g_settings.hotKeys[2] = {1, 7};
  g_settings.hotKeys[3] = {2, 9};
  EXPECT_TRUE(SaveHotKeys(nullptr));
  EXPECT_EQ(KeyClass(hotKeysKey_), "REG_DWORD");
  EXPECT_EQ(Stored(hotKeysKey_, IDS_REG_HOTKEY2_KEY), 25u);
  EXPECT_EQ(Stored(hotKeysKey_, IDS_REG_HOTKEY3_MODS), 1u);
  EXPECT_EQ(Stored(hotKeysKey_, IDS_REG_HOTKEY4_KEY), 9u);
  EXPECT_EQ(Stored(hotKeysKey_, IDS_REG_HOTKEY4_MODS), 2u);
  g_settings.hotKeys[0] = {3, 3};
  g_settings.hotKeys[3] = {3, 3};
  LoadHotKeys();
  ExpectHotKey(0, 1, 2);
  ExpectHotKey(1, 25, 3);
  ExpectHotKey(2, 7, 1);
  ExpectHotKey(3, 9, 2);
}

TEST_F(SettingsTest, WriteSettingValuesStoresTheListedValuesAndSaysSo) {
  g_settings.playListCount = 4;
  g_settings.playOrder = PlayOrderRandom;
  g_settings.pauseSeconds = 9;
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDOK);
  EXPECT_TRUE(WriteSettingValues(host_.window(), {IDS_REG_PLAY_LIST_COUNT, IDS_REG_PLAY_ORDER}));
  ASSERT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(modals.Records()[0].text, LanguageString(IDS_SETTINGS_SAVED));
  EXPECT_EQ(modals.Records()[0].style, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(modals.Records()[0].owner, host_.window());
  EXPECT_EQ(Stored(settingsKey_, IDS_REG_PLAY_LIST_COUNT), 4u);
  EXPECT_EQ(Stored(settingsKey_, IDS_REG_PLAY_ORDER), 527u);
  DWORD unwritten;
  EXPECT_FALSE(bench::RegReadDword(settingsKey_, LanguageString(IDS_REG_PAUSE_SECONDS), &unwritten));
  EXPECT_EQ(KeyClass(settingsKey_), "REG_SZ");
}

TEST_F(SettingsTest, AKeyThatCannotBeCreatedIsReportedAndMemoryKept) {
  g_settings.playListCount = 6;
  g_settings.hotKeys[0] = {1, 2};
  bench::UnwritableRegistry unwritable;
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDOK);
  modals.AnswerMessageBox(IDOK);
  EXPECT_FALSE(WriteSettingValues(host_.window(), {IDS_REG_PLAY_LIST_COUNT}));
  EXPECT_FALSE(SaveHotKeys(host_.window()));
  ASSERT_EQ(modals.Records().size(), 2u);
  for (const bench::ModalRecord& box : modals.Records()) {
    EXPECT_EQ(box.text, LanguageString(IDS_REGISTRY_FAILED));
    EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONHAND));
  }
  EXPECT_EQ(modals.Records()[1].owner, host_.window());
  EXPECT_EQ(g_settings.playListCount, 6u);
  EXPECT_EQ(g_settings.hotKeys[0].keyIndex, 2u);
}

}  // namespace
