/*
 * The options in memory and their registry store (HKEY_CURRENT_USER).
 * Key paths and value names are language strings, looked up at every access.
 */
#ifndef WENDLE_SETTINGS_H
#define WENDLE_SETTINGS_H

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "playback/play_all.h"
#include "settings/settings_record.h"

void LoadSettings();
// What Play All plays by, as the options stand now.
PlayAllOptions CurrentPlayAllOptions();
void LoadHotKeys();
// Writes the hot keys; false (after message 142) when the key could not be
// opened or a value could not be written.
bool SaveHotKeys(HWND owner);
// Writes the listed DWORD values (ids 162 to 166) from their fields and
// tells the user how it went; false when the key could not be opened.
// preferenceBits, when given, are also stored: those bits of the stored
// preferences (value 163) take their values in memory, the others stay.
bool WriteSettingValues(HWND owner, std::initializer_list<UINT> valueIds, uint32_t preferenceBits = 0);

// The recent lists, most recent first (at most kRecentListCount), and
// storing them; a failed write is not said (the menu is only a help).
std::vector<std::string> LoadRecentLists();
void SaveRecentLists(const std::vector<std::string>& paths);
// The list open at the last close and the index of its selected object
// ("" and -1 when there was none).
void LoadLastList(std::string* path, int* selected);
void SaveLastList(const std::string& path, int selected);
// Stores the volume and the mute at once, without a word (they change by
// the slider, the keys and the system's mixer); false when it failed.
bool StoreVolume();

// Lets the user pick the Favorite Selection and stores it.
void SetFavoriteSelection();
// The stored Favorite Selection path, or "*" when there is none.
void ReadFavoriteSelection(char* path, size_t size);

// Runs the configured WAV or MIDI editor on a file (fileName may be null).
void RunSoundFileEditor(const char* fileName);

#endif
