#include "windows/platform/registry_store.h"

#include "windows/platform/win32_api.h"

#include <memory>
#include <type_traits>
#include <vector>

#include "windows/platform/debug_line.h"
#include "windows/platform/system_message.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

constexpr wchar_t kSettingsRoot[] = L"Software\\VB and VBA Program Settings\\";
constexpr wchar_t kCurrentUser[] = L"HKEY_CURRENT_USER\\";
// Another writer may change a value between asking its size and reading it.
constexpr int kReadAttempts = 3;

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

UniqueKey openSection(const std::wstring& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
    return nullptr;
  return UniqueKey(key);
}

// The text of a proper REG_SZ value, or nothing.
std::optional<std::wstring> readText(HKEY key, const std::wstring& name) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
      return std::nullopt;
    if (type != REG_SZ || bytes % sizeof(wchar_t) != 0 || bytes == 0 ||
        bytes > RegistryStore::kLargestValueBytes)
      return std::nullopt;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t));
    DWORD readBytes = bytes;
    const LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(data.data()), &readBytes);
    if (status == ERROR_MORE_DATA)
      continue;
    if (status != ERROR_SUCCESS || type != REG_SZ || readBytes % sizeof(wchar_t) != 0 ||
        readBytes == 0)
      return std::nullopt;
    const std::size_t units = readBytes / sizeof(wchar_t);
    if (data[units - 1] != L'\0')
      return std::nullopt;
    return std::wstring(data.data(), units - 1);
  }
  return std::nullopt;
}

}  // namespace

std::wstring RegistryStore::sectionKeyPath(std::string_view application, std::string_view section) {
  return kSettingsRoot + wideFromUtf8(application) + L"\\" + wideFromUtf8(section);
}

std::string RegistryStore::GetSetting(std::string_view application, std::string_view section,
                                      std::string_view key, std::string_view defaultValue) {
  const UniqueKey sectionKey = openSection(sectionKeyPath(application, section), KEY_QUERY_VALUE);
  if (!sectionKey)
    return std::string(defaultValue);
  const std::optional<std::wstring> text = readText(sectionKey.get(), wideFromUtf8(key));
  if (!text)
    return std::string(defaultValue);
  return utf8FromWide(*text);
}

void RegistryStore::SaveSetting(std::string_view application, std::string_view section,
                                std::string_view key, std::string_view value) {
  const SettingWrite one{section, key, value};
  SaveSettings(application, {&one, 1});
}

void RegistryStore::SaveSettings(std::string_view application,
                                 std::span<const SettingWrite> writes) {
  for (const SettingWrite& each : writes) {
    if (!write(application, each))
      return;
  }
  if (!writes.empty())
    toldWriteFailure_.reset();
}

bool RegistryStore::write(std::string_view application, const SettingWrite& setting) {
  const std::wstring path = sectionKeyPath(application, setting.section);
  const std::string place = utf8FromWide(kCurrentUser + path);
  const std::wstring value = wideFromUtf8(setting.value);
  const std::size_t bytes = (value.size() + 1) * sizeof(wchar_t);
  if (bytes > kLargestValueBytes) {
    tellWriteFailure({place, "the value of " + std::string(setting.key) + " is too long"});
    return false;
  }
  HKEY created = nullptr;
  LSTATUS status =
      RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) {
    const UniqueKey key(created);
    status =
        RegSetValueExW(key.get(), wideFromUtf8(setting.key).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(bytes));
  }
  if (status != ERROR_SUCCESS) {
    tellWriteFailure({place, systemMessage(static_cast<DWORD>(status))});
    return false;
  }
  return true;
}

void RegistryStore::setWriteFailureListener(WriteFailureListener listener) {
  writeFailureListener_ = std::move(listener);
}

void RegistryStore::tellWriteFailure(WriteFailure failure) {
  if (toldWriteFailure_ == failure)
    return;
  if (failure.cause.empty()) {
    debugLine("could not write settings key " + failure.file);
  } else {
    debugLine("could not write settings key " + failure.file + ": " + failure.cause);
  }
  toldWriteFailure_ = failure;
  if (writeFailureListener_)
    writeFailureListener_(failure);
}

}  // namespace skyfare
