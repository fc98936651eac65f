/*
 * The options in memory: the Settings record, its bit sets and its
 * constants. One instance, g_settings, lives for the whole run; settings/
 * loads and stores it, and hands Play All what it needs when a run
 * starts (playback reads no option itself).
 */
#ifndef WENDLE_SETTINGS_RECORD_H
#define WENDLE_SETTINGS_RECORD_H

#include <atomic>
#include <cstdint>

enum PreferenceFlags : uint32_t {
  MinimizeOnPlayAll = 1,
  TitleWhenMinimized = 2,
  PauseBetweenObjects = 4,
  RandomExclusive = 8,
  StatusBarButtonHelp = 16,
  CatalogAbsolutePaths = 32,
  // Set: the media keys reach Wendle only while it is in front. Clear
  // (the default, and so for settings saved before the option) they are
  // taken from every program.
  MediaKeysInFrontOnly = 64,
};

enum ConfirmFlags : uint32_t {
  ConfirmFileDelete = 1,
  ConfirmObjectDelete = 2,
};

// Play orders: the ids of the Play All Mode dialog's order buttons.
constexpr uint32_t PlayOrderSequential = 526;
constexpr uint32_t PlayOrderRandom = 527;

// Insertion methods: the ids of the Add Sound Object dialog's radio buttons.
constexpr int InsertAtTop = 511;
constexpr int InsertAtCurrent = 512;
constexpr int InsertAppend = 513;

constexpr uint32_t kDefaultPlayListCount = 1;
constexpr uint32_t kDefaultPreferences = TitleWhenMinimized | StatusBarButtonHelp;
constexpr uint32_t kDefaultConfirmations = ConfirmFileDelete | ConfirmObjectDelete;
constexpr uint32_t kDefaultPauseSeconds = 2;
constexpr uint32_t kMaxPauseSeconds = 3600;
// Started without a list, Wendle opens the one it had at its last close.
constexpr uint32_t kDefaultOpenLastList = 1;
// Lists the File menu offers again.
constexpr int kRecentListCount = 8;
// The program's own volume in per cent, and its step by key.
constexpr uint32_t kMaxVolume = 100;
constexpr uint32_t kVolumeStep = 5;

// Play Next, Play All, Favorite, Pause/Resume: in the order of their ids.
constexpr int kHotKeyCount = 4;

struct HotKeySetting {
  uint32_t modifiers;  // MOD_ALT 1, MOD_CONTROL 2: at least one
  uint32_t keyIndex;   // 0..25: the letter A + keyIndex
};
constexpr uint32_t kHotKeyLetterCount = 26;
constexpr uint32_t kHotKeyModifiers = MOD_ALT | MOD_CONTROL;

// The hot-key event thread and the UI thread read them: atomic words.
struct Settings {
  std::atomic<uint32_t> playListCount{0};
  std::atomic<uint32_t> preferenceFlags{0};
  std::atomic<uint32_t> confirmFlags{0};
  std::atomic<uint32_t> playOrder{0};
  std::atomic<uint32_t> pauseSeconds{0};
  std::atomic<uint32_t> openLastList{0};
  std::atomic<uint32_t> volume{kMaxVolume};
  std::atomic<uint32_t> muted{0};
  HotKeySetting hotKeys[kHotKeyCount] = {};
  int insertionMethod = InsertAppend;
};

extern Settings g_settings;

#endif
