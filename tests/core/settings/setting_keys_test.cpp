#include "core/settings/setting_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_store.h"

namespace skyfare {
namespace {

using testing::MemoryStore;

TEST(SetRegistry, WritesEveryDefaultOnceInItsOrderWithSetRegLastAndDataFilesInTheFolder) {
  MemoryStore store;
  SetRegistry(store, "/opt/skyfare/");
  const std::vector<std::string> expected = {
      "set Startup/BackGround=3",
      "set Startup/BMPFileName=/opt/skyfare/city lights.bmp",
      "set Startup/Clock=1",
      "set Startup/FontClock=20",
      "set Startup/FontName=Arial",
      "set Startup/FontSize=20",
      "set Startup/LogoChecked=0",
      "set Startup/LogoFileName=/opt/skyfare/SF-Logo.bmp",
      "set Startup/Message=Place a Message Here",
      "set Startup/MessageChecked=0",
      "set Startup/Prop=1",
      "set Startup/SecDelay=30",
      "set Startup/SelectedFont=2",
      "set Startup/SelectedFontSize=2",
      "set Startup/Speed=3",
      "set Startup/Volume=-1533",
      "set System/MouseSens=4",
      "set System/PwrSave=0",
      "set System/SoundOff=Never",
      "set System/SetReg=2",
  };
  EXPECT_EQ(store.log, expected);
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
