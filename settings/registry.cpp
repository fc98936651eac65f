#include "settings/registry.h"

#include <cstring>

#include "support/language.h"

bool RegistryKey::OpenForReading(UINT pathId) {
  return RegOpenKeyExA(HKEY_CURRENT_USER, LanguageText(pathId), 0, KEY_READ, key_.out()) == ERROR_SUCCESS;
}

bool RegistryKey::Create(UINT pathId, const char* keyClass) {
  char keyClassCopy[16];
  lstrcpynA(keyClassCopy, keyClass, sizeof keyClassCopy);
  return RegCreateKeyExA(HKEY_CURRENT_USER, LanguageText(pathId), 0, keyClassCopy, REG_OPTION_NON_VOLATILE,
                         KEY_ALL_ACCESS, nullptr, key_.out(), nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::ReadDword(UINT nameId, uint32_t* value) const {
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(key_.get(), LanguageText(nameId), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return false;
  *value = data;
  return true;
}

bool RegistryKey::ReadString(UINT nameId, char* text, size_t size) const {
  if (size == 0) return false;
  char data[1024];
  DWORD type = 0;
  DWORD bytes = sizeof data - 1;
  if (RegQueryValueExA(key_.get(), LanguageText(nameId), nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  data[bytes] = '\0';  // a stored string need not be terminated
  size_t length = strlen(data);
  if (length >= size) return false;  // never hand on a cut path
  memcpy(text, data, length + 1);
  return true;
}

bool RegistryKey::WriteDword(UINT nameId, uint32_t value) const {
  DWORD data = value;
  return RegSetValueExA(key_.get(), LanguageText(nameId), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

bool RegistryKey::WriteString(UINT nameId, const char* text) const {
  return RegSetValueExA(key_.get(), LanguageText(nameId), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(strlen(text) + 1)) == ERROR_SUCCESS;
}
