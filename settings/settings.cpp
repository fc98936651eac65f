#include "settings/settings.h"

#include "resources/ids.h"
#include "settings/registry.h"
#include "settings/settings_record.h"
#include "support/language.h"

Settings g_settings;

namespace {

// A list's path as stored: the program's paths hold at most 511 bytes.
constexpr size_t kMaxSettingPath = 512;

struct HotKeyDefault {
  uint32_t keyIndex;
  uint32_t modifiers;
};
// Control+Alt+N, Control+Alt+S, Control+Alt+F, Control+Alt+P. Settings
// stored before Pause existed have no Pause values and take its default.
constexpr HotKeyDefault kHotKeyDefaults[kHotKeyCount] = {{13, 3}, {18, 3}, {5, 3}, {15, 3}};

// The field behind a DWORD value of the settings key, or null.
std::atomic<uint32_t>* SettingField(UINT valueId) {
  switch (valueId) {
    case IDS_REG_PLAY_LIST_COUNT:
      return &g_settings.playListCount;
    case IDS_REG_PREFERENCES:
      return &g_settings.preferenceFlags;
    case IDS_REG_CONFIRMATIONS:
      return &g_settings.confirmFlags;
    case IDS_REG_PLAY_ORDER:
      return &g_settings.playOrder;
    case IDS_REG_PAUSE_SECONDS:
      return &g_settings.pauseSeconds;
    case IDS_REG_OPEN_LAST_LIST:
      return &g_settings.openLastList;
    case IDS_REG_VOLUME:
      return &g_settings.volume;
    case IDS_REG_MUTED:
      return &g_settings.muted;
    default:
      return nullptr;
  }
}

struct SettingDefault {
  UINT valueId;
  uint32_t value;
};
constexpr SettingDefault kSettingDefaults[] = {
    {IDS_REG_PLAY_LIST_COUNT, kDefaultPlayListCount},
    {IDS_REG_PREFERENCES, kDefaultPreferences},
    {IDS_REG_CONFIRMATIONS, kDefaultConfirmations},
    {IDS_REG_PLAY_ORDER, PlayOrderSequential},
    {IDS_REG_PAUSE_SECONDS, kDefaultPauseSeconds},
    {IDS_REG_VOLUME, kMaxVolume},
    {IDS_REG_MUTED, 0},
    {IDS_REG_OPEN_LAST_LIST, kDefaultOpenLastList},
};

// Whether another hot key than the one at index has key's combination.
bool HotKeyTaken(const HotKeySetting& key, int index) {
  for (int i = 0; i < kHotKeyCount; ++i) {
    const HotKeySetting& other = g_settings.hotKeys[i];
    if (i != index && other.keyIndex == key.keyIndex && other.modifiers == key.modifiers) return true;
  }
  return false;
}

UINT HotKeyIndexValue(int hotKey) { return IDS_REG_HOTKEY1_KEY + 2 * hotKey; }
UINT HotKeyModifiersValue(int hotKey) { return IDS_REG_HOTKEY1_MODS + 2 * hotKey; }

}  // namespace

void LoadSettings() {
  RegistryKey key;
  bool opened = key.OpenForReading(IDS_REG_SETTINGS_KEY);
  for (const SettingDefault& setting : kSettingDefaults) {
    uint32_t value = setting.value;
    // A value that is missing, or stored with another type or size, keeps
    // its default.
    if (opened && !key.ReadDword(setting.valueId, &value)) value = setting.value;
    SettingField(setting.valueId)->store(value);
  }
  if (g_settings.pauseSeconds.load() > kMaxPauseSeconds) g_settings.pauseSeconds = kMaxPauseSeconds;
  if (g_settings.volume.load() > kMaxVolume) g_settings.volume = kMaxVolume;
  g_settings.muted = g_settings.muted.load() ? 1 : 0;
  LoadHotKeys();
}

bool StoreVolume() {
  RegistryKey key;
  return key.Create(IDS_REG_SETTINGS_KEY, kSettingsKeyClass) && key.WriteDword(IDS_REG_VOLUME, g_settings.volume) &&
         key.WriteDword(IDS_REG_MUTED, g_settings.muted);
}

void LoadHotKeys() {
  RegistryKey key;
  bool opened = key.OpenForReading(IDS_REG_HOTKEYS_KEY);
  bool stored[kHotKeyCount] = {};
  for (int i = 0; i < kHotKeyCount; ++i) {
    HotKeySetting& hotKey = g_settings.hotKeys[i];
    hotKey.keyIndex = kHotKeyDefaults[i].keyIndex;
    hotKey.modifiers = kHotKeyDefaults[i].modifiers;
    if (!opened) continue;
    // A value that is missing (or not a DWORD) takes its default, and so
    // does one the dialog could not have stored: a key beyond Z, or no
    // Control or Alt (a global hot key on a bare letter would take that
    // letter from every program). Other modifier bits are dropped.
    uint32_t keyIndex = 0, modifiers = 0;
    bool hasKey = key.ReadDword(HotKeyIndexValue(i), &keyIndex);
    bool hasModifiers = key.ReadDword(HotKeyModifiersValue(i), &modifiers);
    if (hasKey && keyIndex < kHotKeyLetterCount) hotKey.keyIndex = keyIndex;
    if (hasModifiers && (modifiers & kHotKeyModifiers)) hotKey.modifiers = modifiers & kHotKeyModifiers;
    stored[i] = hasKey || hasModifiers;
  }
  // A key with nothing stored (Pause, in settings saved before it existed)
  // must not take a combination a stored key already has: it moves on to
  // the next free letter.
  for (int i = 0; i < kHotKeyCount; ++i) {
    if (stored[i]) continue;
    HotKeySetting& hotKey = g_settings.hotKeys[i];
    for (uint32_t tries = 0; tries < kHotKeyLetterCount && HotKeyTaken(hotKey, i); ++tries)
      hotKey.keyIndex = (hotKey.keyIndex + 1) % kHotKeyLetterCount;
  }
}

bool SaveHotKeys(HWND owner) {
  RegistryKey key;
  if (!key.Create(IDS_REG_HOTKEYS_KEY, kHotKeysKeyClass)) {
    ShowMessage(owner, IDS_REGISTRY_FAILED, MB_ICONHAND);
    return false;
  }
  // Every value must be written: "saved" is said only then.
  bool allWritten = true;
  for (int i = 0; i < kHotKeyCount; ++i) {
    allWritten = key.WriteDword(HotKeyIndexValue(i), g_settings.hotKeys[i].keyIndex) && allWritten;
    allWritten = key.WriteDword(HotKeyModifiersValue(i), g_settings.hotKeys[i].modifiers) && allWritten;
  }
  if (!allWritten) ShowMessage(owner, IDS_REGISTRY_FAILED, MB_ICONHAND);
  return allWritten;
}

bool WriteSettingValues(HWND owner, std::initializer_list<UINT> valueIds, uint32_t preferenceBits) {
  RegistryKey key;
  if (!key.Create(IDS_REG_SETTINGS_KEY, kSettingsKeyClass)) {
    ShowMessage(owner, IDS_REGISTRY_FAILED, MB_ICONHAND);
    return false;
  }
  bool allWritten = true;
  for (UINT valueId : valueIds) {
    std::atomic<uint32_t>* field = SettingField(valueId);
    if (!field || !key.WriteDword(valueId, field->load())) allWritten = false;
  }
  if (preferenceBits) {
    uint32_t stored = kDefaultPreferences;
    key.ReadDword(IDS_REG_PREFERENCES, &stored);
    uint32_t merged = (stored & ~preferenceBits) | (g_settings.preferenceFlags & preferenceBits);
    if (!key.WriteDword(IDS_REG_PREFERENCES, merged)) allWritten = false;
  }
  if (allWritten)
    ShowMessage(owner, IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
  else
    ShowMessage(owner, IDS_REGISTRY_FAILED, MB_ICONHAND);
  return true;
}

std::vector<std::string> LoadRecentLists() {
  std::vector<std::string> paths;
  RegistryKey key;
  if (!key.OpenForReading(IDS_REG_SETTINGS_KEY)) return paths;
  for (UINT id = IDS_REG_RECENT_LIST_FIRST; id <= IDS_REG_RECENT_LIST_LAST; ++id) {
    char path[kMaxSettingPath] = "";
    if (key.ReadString(id, path, sizeof path) && path[0]) paths.push_back(path);
  }
  return paths;
}

void SaveRecentLists(const std::vector<std::string>& paths) {
  RegistryKey key;
  if (!key.Create(IDS_REG_SETTINGS_KEY, kSettingsKeyClass)) return;
  // Every slot is written, so a list taken off leaves no stale value.
  for (UINT id = IDS_REG_RECENT_LIST_FIRST; id <= IDS_REG_RECENT_LIST_LAST; ++id) {
    size_t index = id - IDS_REG_RECENT_LIST_FIRST;
    key.WriteString(id, index < paths.size() ? paths[index].c_str() : "");
  }
}

void LoadLastList(std::string* path, int* selected) {
  path->clear();
  *selected = -1;
  RegistryKey key;
  if (!key.OpenForReading(IDS_REG_SETTINGS_KEY)) return;
  char text[kMaxSettingPath] = "";
  if (key.ReadString(IDS_REG_LAST_LIST, text, sizeof text)) *path = text;
  uint32_t index = 0;
  if (!path->empty() && key.ReadDword(IDS_REG_LAST_SELECTED, &index) && index <= 0x7FFFFFFF)
    *selected = static_cast<int>(index);
}

void SaveLastList(const std::string& path, int selected) {
  RegistryKey key;
  if (!key.Create(IDS_REG_SETTINGS_KEY, kSettingsKeyClass)) return;
  key.WriteString(IDS_REG_LAST_LIST, path.c_str());
  key.WriteDword(IDS_REG_LAST_SELECTED, selected < 0 ? 0xFFFFFFFFu : static_cast<uint32_t>(selected));
}

PlayAllOptions CurrentPlayAllOptions() {
  PlayAllOptions options;
  options.passes = g_settings.playListCount;
  options.sequential = g_settings.playOrder == PlayOrderSequential;
  options.exclusive = (g_settings.preferenceFlags & RandomExclusive) != 0;
  options.pauseBetween = (g_settings.preferenceFlags & PauseBetweenObjects) != 0;
  options.pauseSeconds = g_settings.pauseSeconds;
  return options;
}
