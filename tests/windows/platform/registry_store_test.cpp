#include "windows/platform/registry_store.h"

#include <gtest/gtest.h>
#include "windows/platform/win32_api.h"

#include <sddl.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/settings/setting_keys.h"
#include "tests/windows/platform/debug_line_capture.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

constexpr wchar_t kRoot[] = L"Software\\VB and VBA Program Settings\\";

struct RawValue {
  DWORD type = 0;
  std::vector<BYTE> bytes;
  bool operator==(const RawValue&) const = default;
};

// Every test gets an application of its own, removed with all it holds at the end, so the
// user's own settings are never touched.
class RegistryStoreTest : public ::testing::Test {
 protected:
  RegistryStoreTest()
      : application_("SkyfareTest-" + std::to_string(GetCurrentProcessId()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
  ~RegistryStoreTest() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, (kRoot + wideFromUtf8(application_)).c_str());
  }

  const std::string& application() const { return application_; }
  std::wstring sectionPath(std::string_view section) const {
    return RegistryStore::sectionKeyPath(application_, section);
  }

  void putRaw(std::string_view section, const wchar_t* name, DWORD type, const void* data,
              std::size_t bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sectionPath(section).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data),
                             static_cast<DWORD>(bytes)),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  std::optional<RawValue> raw(std::string_view section, const wchar_t* name) const {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, sectionPath(section).c_str(), name,
                     RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &bytes) != ERROR_SUCCESS)
      return std::nullopt;
    RawValue value{type, std::vector<BYTE>(bytes)};
    RegGetValueW(HKEY_CURRENT_USER, sectionPath(section).c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                 &type, value.bytes.data(), &bytes);
    value.bytes.resize(bytes);
    return value;
  }

  bool keyExists(const std::wstring& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  // The section's key refuses new values and new subkeys; it may still be read, and its access
  // rules changed back and the key deleted, so the test can clean up.
  void makeReadOnly(std::string_view section, bool readOnly) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sectionPath(section).c_str(), 0, nullptr, 0,
                              WRITE_DAC, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        readOnly ? L"D:P(A;;KRSDWDRC;;;WD)" : L"D:P(A;;KA;;;WD)", SDDL_REVISION_1, &descriptor,
        nullptr));
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    LocalFree(descriptor);
    RegCloseKey(key);
  }

  RegistryStore store_;

 private:
  std::string application_;
};

TEST_F(RegistryStoreTest, HardTextsRoundTripAsUtf16Strings) {
  const std::string texts[] = {
      "",
      "C:\\Corvinel\\Skyfare\\city lights.bmp",
      "Grüße, čeština, 日本語",
      "\xF0\x9F\x9B\xAB four-byte \xF0\x9F\x9B\xAC",
      "  blanks around  ",
      "line one\r\nline two",
      std::string("nul \0 inside", 12),
      std::string(100000, 'x') + "\xE2\x9C\x88",
  };
  for (std::size_t i = 0; i < std::size(texts); ++i)
    store_.SaveSetting(application(), "Startup", "Key" + std::to_string(i), texts[i]);
  RegistryStore reader;
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    EXPECT_EQ(reader.GetSetting(application(), "Startup", "Key" + std::to_string(i), "1"), texts[i])
        << i;
  }
  const std::optional<RawValue> stored = raw("Startup", L"Key2");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
  const std::wstring wide =
      L"Gr\x00FC\x00DF"
      L"e, \x010D"
      L"e\x0161tina, \x65E5\x672C\x8A9E";
  const auto* units = reinterpret_cast<const wchar_t*>(stored->bytes.data());
  EXPECT_EQ(std::wstring(units, stored->bytes.size() / 2), wide + L'\0')
      << "UTF-16 with its terminator";
}

TEST_F(RegistryStoreTest, MissingKeysSectionsAndApplicationsReadAsTheDefaultAndCreateNothing) {
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Speed", "1"), "1");
  EXPECT_FALSE(keyExists(kRoot + wideFromUtf8(application()))) << "a read must not create keys";
  store_.SaveSetting(application(), "Startup", "Clock", "0");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Speed", "1"), "1");
  EXPECT_EQ(store_.GetSetting(application(), "System", "SetReg", "1"), "1");
  EXPECT_FALSE(keyExists(sectionPath("System")));
}

TEST_F(RegistryStoreTest, ValuesThatAreNoProperStringReadAsMissingAndStayAsTheyWere) {
  const DWORD number = 2;
  const BYTE binary[] = {'3', 0, 0, 0};
  const wchar_t unterminated[] = {L'4', L'5'};
  const BYTE odd[] = {'6', 0, 0};
  const wchar_t expandable[] = L"%SystemRoot%";
  const wchar_t multi[] =
      L"7\0"
      L"8\0";
  const std::wstring huge((RegistryStore::kLargestValueBytes / 2) + 16, L'9');
  putRaw("Startup", L"Dword", REG_DWORD, &number, sizeof number);
  putRaw("Startup", L"Binary", REG_BINARY, binary, sizeof binary);
  putRaw("Startup", L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
  putRaw("Startup", L"Odd", REG_SZ, odd, sizeof odd);
  putRaw("Startup", L"Empty", REG_SZ, nullptr, 0);
  putRaw("Startup", L"Expandable", REG_EXPAND_SZ, expandable, sizeof expandable);
  putRaw("Startup", L"Multi", REG_MULTI_SZ, multi, sizeof multi);
  putRaw("Startup", L"Huge", REG_SZ, huge.c_str(), (huge.size() + 1) * 2);
  const wchar_t* names[] = {L"Dword", L"Binary",     L"Unterminated", L"Odd",
                            L"Empty", L"Expandable", L"Multi",        L"Huge"};
  std::vector<std::optional<RawValue>> before;
  for (const wchar_t* name : names) before.push_back(raw("Startup", name));
  for (const wchar_t* name : names) {
    EXPECT_EQ(store_.GetSetting(application(), "Startup", utf8FromWide(name), "default"), "default")
        << utf8FromWide(name);
  }
  for (std::size_t i = 0; i < std::size(names); ++i) {
    ASSERT_TRUE(before[i]);
    EXPECT_EQ(raw("Startup", names[i]), before[i]) << "a read leaves it as it was";
  }
}

TEST_F(RegistryStoreTest, TheFirstRunWritesTheTwentyDefaultsOnceAndSetRegLast) {
  constexpr std::string_view kFolder = "C:\\Corvinel\\Skyfare\\";
  // The store under test with the program's own application name would touch the user's
  // settings, so the first run is driven through a store bound to the test's application.
  class TestApplicationStore final : public SettingsStore {
   public:
    TestApplicationStore(RegistryStore& store, std::string application)
        : store_(store), application_(std::move(application)) {}
    std::string GetSetting(std::string_view, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override {
      return store_.GetSetting(application_, section, key, defaultValue);
    }
    void SaveSetting(std::string_view, std::string_view section, std::string_view key,
                     std::string_view value) override {
      store_.SaveSetting(application_, section, key, value);
    }
    void SaveSettings(std::string_view, std::span<const SettingWrite> writes) override {
      store_.SaveSettings(application_, writes);
    }

   private:
    RegistryStore& store_;
    std::string application_;
  } store(store_, application());

  initialiseOnFirstRun(store, kFolder);
  for (const SettingKey& row : kSettingKeys) {
    const std::optional<RawValue> stored = raw(row.section, wideFromUtf8(row.name).c_str());
    ASSERT_TRUE(stored) << row.name;
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(store_.GetSetting(application(), row.section, row.name, "?"),
              firstRunDefault(row.key, kFolder))
        << row.name;
  }
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "BMPFileName", "?"),
            "C:\\Corvinel\\Skyfare\\city lights.bmp");

  store_.SaveSetting(application(), "Startup", "Speed", "50");
  initialiseOnFirstRun(store, kFolder);
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Speed", "1"), "50")
      << "a store already set up keeps the user's choices";
}

TEST_F(RegistryStoreTest, AReadOnlyKeyTellsEachFailureOnceAndAWriteThatFailsIsNotStored) {
  store_.SaveSetting(application(), "Startup", "Message", "before");
  makeReadOnly("Startup", true);
  std::vector<WriteFailure> told;
  store_.setWriteFailureListener([&](const WriteFailure& failure) { told.push_back(failure); });
  testing::DebugLineCapture lines;
  for (const char* message : {"G", "Ga", "Gat", "Gate"})
    store_.SaveSetting(application(), "Startup", "Message", message);
  ASSERT_EQ(told.size(), 1u) << "one failure, however many writes it spoils";
  EXPECT_EQ(told[0].file, "HKEY_CURRENT_USER\\" + utf8FromWide(sectionPath("Startup")));
  EXPECT_FALSE(told[0].cause.empty());
  ASSERT_EQ(lines.lines().size(), 1u);
  EXPECT_EQ(lines.lines()[0],
            "skyfare: could not write settings key " + told[0].file + ": " + told[0].cause + "\n");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "before");

  // Several values together stop at the first that fails: the marker written last is not
  // stored after a value before it was lost.
  const std::array<SettingWrite, 2> firstRun = {
      {{"Startup", "Speed", "3"}, {"System", "SetReg", "2"}}};
  store_.SaveSettings(application(), firstRun);
  EXPECT_EQ(store_.GetSetting(application(), "System", "SetReg", "1"), "1");
  EXPECT_EQ(told.size(), 1u) << "the same failure again";

  makeReadOnly("Startup", false);
  store_.SaveSetting(application(), "Startup", "Message", "after");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "after");
  makeReadOnly("Startup", true);
  store_.SaveSetting(application(), "Startup", "Message", "again");
  EXPECT_EQ(told.size(), 2u) << "failing after a success is a new failure";
  makeReadOnly("Startup", false);
}

TEST_F(RegistryStoreTest, AValueTooLongToBeReadBackIsNotWrittenAndIsTold) {
  store_.SaveSetting(application(), "Startup", "Message", "kept");
  std::vector<WriteFailure> told;
  store_.setWriteFailureListener([&](const WriteFailure& failure) { told.push_back(failure); });
  store_.SaveSetting(application(), "Startup", "Message",
                     std::string(RegistryStore::kLargestValueBytes / 2, 'x'));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].cause, "the value of Message is too long");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "kept");
  const std::string longest(RegistryStore::kLargestValueBytes / 2 - 1, 'y');
  store_.SaveSetting(application(), "Startup", "Message", longest);
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), longest);
}

// The store keeps a section's key open between reads: what another writer changes meanwhile,
// long values, and a section deleted and made again must still read as they are now.
TEST_F(RegistryStoreTest, ReadsSeeTheRegistryAsItIsNowWhateverChangedBetweenThem) {
  const auto put = [this](const std::wstring& text) {
    putRaw("Startup", L"Message", REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  };
  put(L"first");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "first");
  put(L"second");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "second");
  const std::wstring longer(5000, L'l');
  put(longer);
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), utf8FromWide(longer));
  put(L"short again");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "short again");

  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, sectionPath("Startup").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "1");
  put(L"made again");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "made again");
  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, sectionPath("Startup").c_str()), ERROR_SUCCESS);
  put(L"and again");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "and again");
  store_.SaveSetting(application(), "Startup", "Message", "written by the store");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "written by the store");
}

// A store that follows changes answers again from what it read until its event is set; every
// kind of change sets it, and after takeChanges the reads are the registry's again.
TEST_F(RegistryStoreTest, AFollowedChangeSetsTheEventAndIsReadAfterItIsTaken) {
  const auto put = [this](const std::wstring& text) {
    putRaw("Startup", L"Message", REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  };
  put(L"first");
  const HANDLE changed = store_.followChanges();
  ASSERT_NE(changed, nullptr);
  EXPECT_EQ(store_.followChanges(), changed);
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "first");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Missing", "default"), "default");
  EXPECT_EQ(WaitForSingleObject(changed, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  const auto takenAfterChange = [&](const char* what) {
    ASSERT_EQ(WaitForSingleObject(changed, 5000), WAIT_OBJECT_0) << what;
    store_.takeChanges();
  };
  put(L"second");
  takenAfterChange("a changed value");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "second");
  putRaw("Startup", L"Missing", REG_SZ, L"now here", sizeof(L"now here"));
  takenAfterChange("a new value");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Missing", "default"), "now here");
  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, sectionPath("Startup").c_str()), ERROR_SUCCESS);
  takenAfterChange("a deleted section");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "1");

  // The store's own writes are read back at once.
  store_.SaveSetting(application(), "Startup", "Message", "its own");
  EXPECT_EQ(store_.GetSetting(application(), "Startup", "Message", "1"), "its own");
}

// Another process reads what was written: the registry tool exports it as UTF-16 text.
TEST_F(RegistryStoreTest, AnotherProcessReadsTheValuesWritten) {
  store_.SaveSetting(application(), "Startup", "Message", "Grüße \xF0\x9F\x9B\xAB");
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring file =
      std::wstring(folder) + L"skyfare-export-" + std::to_wstring(GetCurrentProcessId()) + L".reg";
  std::wstring command =
      L"reg.exe export \"HKEY_CURRENT_USER\\" + sectionPath("Startup") + L"\" \"" + file + L"\" /y";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, 20000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  in.close();
  DeleteFileW(file.c_str());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << "UTF-16 with its byte-order mark";
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                          (bytes.size() - 2) / 2);
  EXPECT_NE(text.find(L"\"Message\"=\"Gr\x00FC\x00DF"
                      L"e \xD83D\xDEEB\""),
            std::wstring::npos)
      << utf8FromWide(text);
}

}  // namespace
}  // namespace skyfare
