#include "core/settings/setting_keys.h"

#include <gtest/gtest.h>

#include "tests/support/memory_store.h"

namespace skyfare {
namespace {

using testing::MemoryStore;

TEST(SetRegistry, WritesEveryKeyOnceInTableOrderWithSetRegLastAndDataFilesInTheFolder) {
  MemoryStore store;
  SetRegistry(store, "/opt/skyfare/");
  ASSERT_EQ(store.log.size(), kSettingKeys.size());
  for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
    const SettingKey& key = kSettingKeys[i];
    const std::string folder = key.defaultInDataFolder ? "/opt/skyfare/" : "";
    EXPECT_EQ(store.log[i], "set " + std::string(key.section) + "/" + std::string(key.name) + "=" +
                                folder + std::string(key.firstRunDefault));
  }
  EXPECT_EQ(store.log.back(), "set System/SetReg=2");
  EXPECT_EQ(store.values["Startup/BMPFileName"], "/opt/skyfare/city lights.bmp");
}

TEST(FirstRun, ResetsEveryStoreWhoseMarkerIsNotTwo) {
  for (const char* marker : {"", "1", "3", "abc", "2.6"}) {
    MemoryStore store;
    if (*marker)
      store.values["System/SetReg"] = marker;
    store.values["Startup/Speed"] = "50";
    initialiseOnFirstRun(store, "/d/");
    EXPECT_EQ(store.values["Startup/Speed"], "3") << "marker " << marker;
    EXPECT_EQ(store.log.front(), "get System/SetReg");
  }
}

TEST(FirstRun, LeavesAnInitialisedStoreAlone) {
  for (const char* marker : {"2", " 2", "2.0", "1.5"}) {
    MemoryStore store;
    store.values["System/SetReg"] = marker;
    store.values["Startup/Speed"] = "50";
    initialiseOnFirstRun(store, "/d/");
    EXPECT_EQ(store.values["Startup/Speed"], "50") << "marker " << marker;
    EXPECT_EQ(store.log.size(), 1u);
  }
}

TEST(KeyTable, ReadsPassTheOneDefault) {
  MemoryStore store;
  EXPECT_EQ(readSetting(store, Key::Message), "1");
}

}  // namespace
}  // namespace skyfare
