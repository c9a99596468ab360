#include "platform/font_alias.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

// Runs against this machine's font configuration, which the setup script gives the Liberation
// faces as the stand-ins for their metric-compatible names.
TEST(FontAlias, ANameThatStandsForAnInstalledFamilyGivesThatFamily) {
  EXPECT_EQ(familyAliasedBy("Arial"), "Liberation Sans");
  EXPECT_EQ(familyAliasedBy("arial"), "Liberation Sans");
  EXPECT_EQ(familyAliasedBy("Courier New"), "Liberation Mono");
}

TEST(FontAlias, FamiliesOfTheirOwnAndUnknownNamesStandForNothing) {
  for (const char* name : {"Liberation Sans", "DejaVu Sans", "Nonexistent Face", "1", ""})
    EXPECT_EQ(familyAliasedBy(name), "") << name << " would be drawn in a default face";
}

}  // namespace
}  // namespace skyfare
