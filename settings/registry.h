// Small helpers for Wendle's registry keys under HKEY_CURRENT_USER.
#ifndef WENDLE_REGISTRY_H
#define WENDLE_REGISTRY_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "support/scoped_win.h"

// Class strings given to the keys when they are created.
constexpr char kSettingsKeyClass[] = "REG_SZ";
constexpr char kHotKeysKeyClass[] = "REG_DWORD";

// An open registry key, closed when it goes out of scope.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens the key named by a language string for reading only.
  bool OpenForReading(UINT pathId);
  // Creates or opens the key named by a language string with full access;
  // a new key gets the class string keyClass.
  bool Create(UINT pathId, const char* keyClass);

  // A DWORD value; false when it is missing or of another type or size.
  bool ReadDword(UINT nameId, uint32_t* value) const;
  // A REG_SZ value of at most size - 1 characters, always terminated; false
  // (text untouched) when it is missing or of another type.
  bool ReadString(UINT nameId, char* text, size_t size) const;
  bool WriteDword(UINT nameId, uint32_t value) const;
  bool WriteString(UINT nameId, const char* text) const;

 private:
  ScopedRegKey key_;
};

#endif
