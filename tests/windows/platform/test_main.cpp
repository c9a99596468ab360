#include <gtest/gtest.h>

#include "tests/windows/platform/child_process.h"

int wmain(int argc, wchar_t** argv) {
  if (const int childExit = skyfare::testing::runChildRole(argc, argv); childExit >= 0)
    return childExit;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
