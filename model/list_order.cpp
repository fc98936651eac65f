#include "model/list_order.h"

#include <windows.h>

#include <algorithm>
#include <random>
#include <string>

#include "model/local_memory.h"
#include "model/sound_object.h"

namespace {

constexpr size_t kTextSize = 512;

std::wstring Wide(const char* text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

std::wstring BlockText(HLOCAL block) {
  char text[kTextSize];
  return block && CopyTextBlock(block, text, sizeof text) ? Wide(text) : std::wstring();
}

// The bytes that sort a text as the user's language does, without case.
// Most keys fit the buffer: one call makes them.
std::string SortBytes(const char* text) {
  wchar_t wide[kTextSize];
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kTextSize) - 1;
  if (length <= 0) return std::string();
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  char key[4 * kTextSize];
  int size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide, length, reinterpret_cast<LPWSTR>(key), sizeof key,
                           nullptr, nullptr, 0);
  if (size > 0) return std::string(key, static_cast<size_t>(size));
  size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide, length, nullptr, 0, nullptr, nullptr, 0);
  if (size <= 0) return std::string();
  std::string bigger(static_cast<size_t>(size), '\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide, length, reinterpret_cast<LPWSTR>(&bigger[0]), size, nullptr,
                nullptr, 0);
  return bigger;
}

// The text in lower case, as the user's language lowers it: matching two
// lowered texts ignores case in every script that has one.
std::wstring Lowered(const std::wstring& text) {
  if (text.empty()) return text;
  const DWORD flags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
  const int length = static_cast<int>(text.size());
  int size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.c_str(), length, nullptr, 0, nullptr, nullptr, 0);
  if (size <= 0) return text;
  std::wstring lowered(static_cast<size_t>(size), L'\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.c_str(), length, &lowered[0], size, nullptr, nullptr, 0);
  return lowered;
}

// Kinds in the order the Add dialog offers them.
int KindRank(uint32_t flags) {
  if (flags & Wave) return 0;
  if (flags & Midi) return 1;
  if (flags & AudioFile) return 2;
  if (flags & Video) return 3;
  if (flags & CdTrack) return 4;
  if (flags & Pause) return 5;
  return 6;
}

std::string KeyOf(SoundObjectHandle handle, SortKey key) {
  LockedBlock<SoundObject> record(handle);
  if (!record) return std::string();
  switch (key) {
    case SortKey::Description: {
      char text[kTextSize] = "";
      ObjectRowText(*record, text, sizeof text);
      return SortBytes(text);
    }
    case SortKey::FileName: {
      // After every name, tracks by number.
      if (!record->fileName) return std::string(1, '\xFF') + static_cast<char>(record->trackNumber);
      char name[kTextSize] = "";
      CopyTextBlock(record->fileName, name, sizeof name);
      return SortBytes(name);
    }
    case SortKey::Kind:
      return std::string(1, static_cast<char>('0' + KindRank(record->flags)));
  }
  return std::string();
}

}  // namespace

std::vector<uint32_t> SortOrder(const ObjectList& list, SortKey key, bool descending) {
  const size_t count = static_cast<size_t>(list.Count());
  std::vector<std::string> keys(count);
  for (size_t i = 0; i < count; ++i) keys[i] = KeyOf(list.At(static_cast<int>(i)), key);
  std::vector<uint32_t> order(count);
  for (size_t i = 0; i < count; ++i) order[i] = static_cast<uint32_t>(i);
  // Stable both ways: descending reverses the comparison, not the result.
  if (descending)
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return keys[b] < keys[a]; });
  else
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  return order;
}

std::vector<uint32_t> ShuffleOrder(int count, uint32_t seed) {
  std::vector<uint32_t> order(count > 0 ? static_cast<size_t>(count) : 0);
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
  std::mt19937 random(seed);
  // Fisher-Yates by hand: std::shuffle's draws differ between libraries.
  for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random() % i]);
  return order;
}

int FindObject(const ObjectList& list, const char* text, int after) {
  const std::wstring wanted = Lowered(Wide(text));
  const int count = list.Count();
  if (wanted.empty() || count <= 0) return -1;
  if (after < -1 || after >= count) after = -1;
  for (int step = 1; step <= count; ++step) {
    const int index = (after + step) % count;
    LockedBlock<SoundObject> record(list.At(index));
    if (!record) continue;
    for (HLOCAL block : {record->description, record->fileName})
      if (block && Lowered(BlockText(block)).find(wanted) != std::wstring::npos) return index;
  }
  return -1;
}
