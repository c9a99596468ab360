#include "windows/platform/registry_store.h"

#include "windows/platform/win32_api.h"

#include "windows/platform/debug_line.h"
#include "windows/platform/system_message.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

constexpr wchar_t kSettingsRoot[] = L"Software\\VB and VBA Program Settings\\";
constexpr wchar_t kCurrentUser[] = L"HKEY_CURRENT_USER\\";
// Another writer may make a value longer between two attempts to read it.
constexpr int kReadAttempts = 3;
// Room for every setting but a long message, so most reads take one query.
constexpr std::size_t kFirstReadUnits = 256;

struct Read {
  LSTATUS status = ERROR_SUCCESS;
  std::optional<std::wstring> text;  // when the value is a proper REG_SZ
};

// The value into a buffer that grows when the value does not fit.
Read readText(HKEY key, const std::wstring& name, std::vector<wchar_t>& buffer) {
  if (buffer.size() < kFirstReadUnits)
    buffer.resize(kFirstReadUnits);
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status == ERROR_MORE_DATA) {
      if (type != REG_SZ || bytes > RegistryStore::kLargestValueBytes)
        return {};
      buffer.resize(bytes / sizeof(wchar_t) + 1);
      continue;
    }
    if (status != ERROR_SUCCESS)
      return {status, std::nullopt};
    if (type != REG_SZ || bytes % sizeof(wchar_t) != 0 || bytes == 0)
      return {};
    const std::size_t units = bytes / sizeof(wchar_t);
    if (buffer[units - 1] != L'\0')
      return {};
    return {ERROR_SUCCESS, std::wstring(buffer.data(), units - 1)};
  }
  return {};
}

}  // namespace

std::wstring RegistryStore::sectionKeyPath(std::string_view application, std::string_view section) {
  return kSettingsRoot + wideFromUtf8(application) + L"\\" + wideFromUtf8(section);
}

std::string RegistryStore::GetSetting(std::string_view application, std::string_view section,
                                      std::string_view key, std::string_view defaultValue) {
  std::pair<std::wstring, std::wstring> place{sectionKeyPath(application, section),
                                              wideFromUtf8(key)};
  if (changed_) {
    if (const auto found = remembered_.find(place); found != remembered_.end())
      return found->second ? utf8FromWide(*found->second) : std::string(defaultValue);
  }
  const auto& [path, name] = place;
  std::optional<std::wstring> text;
  if (HKEY open = sectionKey(path)) {
    Read read = readText(open, name, readBuffer_);
    if (read.status == ERROR_KEY_DELETED) {
      // Deleted since it was opened, and perhaps made again: the key of that name now.
      openSections_.erase(path);
      open = sectionKey(path);
      if (open != nullptr)
        read = readText(open, name, readBuffer_);
    }
    text = std::move(read.text);
  }
  const std::string value = text ? utf8FromWide(*text) : std::string(defaultValue);
  if (changed_)
    remembered_.insert_or_assign(std::move(place), std::move(text));
  return value;
}

HANDLE RegistryStore::followChanges() {
  if (changed_)
    return changed_.get();
  std::wstring rootPath = kSettingsRoot;
  rootPath.pop_back();  // no separator after the key's name
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, rootPath.c_str(), 0, KEY_NOTIFY, &root) != ERROR_SUCCESS)
    return nullptr;
  watchedRoot_.reset(root);
  changed_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!changed_ || !watchChanges()) {
    changed_.reset();
    watchedRoot_.reset();
    return nullptr;
  }
  return changed_.get();
}

void RegistryStore::takeChanges() {
  if (!changed_)
    return;
  // Watched again before forgetting, so that no change falls between the two.
  if (!watchChanges()) {
    changed_.reset();
    watchedRoot_.reset();
  }
  remembered_.clear();
}

bool RegistryStore::watchChanges() {
  return RegNotifyChangeKeyValue(watchedRoot_.get(), TRUE,
                                 REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                 changed_.get(), TRUE) == ERROR_SUCCESS;
}

HKEY RegistryStore::sectionKey(const std::wstring& path) {
  if (const auto found = openSections_.find(path); found != openSections_.end())
    return found->second.get();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return nullptr;
  return openSections_.emplace(path, UniqueKey(key)).first->second.get();
}

void RegistryStore::SaveSetting(std::string_view application, std::string_view section,
                                std::string_view key, std::string_view value) {
  const SettingWrite one{section, key, value};
  SaveSettings(application, {&one, 1});
}

void RegistryStore::SaveSettings(std::string_view application,
                                 std::span<const SettingWrite> writes) {
  remembered_.clear();
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
