#include "windows/platform/command_line.h"

#include <gtest/gtest.h>

#include "core/app/run_mode.h"
#include "tests/windows/platform/child_process.h"
#include "tests/windows/platform/desktop.h"

namespace skyfare {
namespace {

TEST(CommandLine, ThePartAfterTheProgramNameIsWhatTheParserGets) {
  struct Row {
    std::wstring_view commandLine;
    std::wstring_view arguments;
  };
  const Row rows[] = {
      {L"\"C:\\Program Files\\Sky fare\\Skyfare.scr\" /p 4567", L" /p 4567"},
      {L"C:\\WINDOWS\\Skyfare.scr /s", L" /s"},
      {L"Skyfare.scr", L""},
      {L"\"C:\\x y\\Skyfare.scr\"", L""},
      {L"\"C:\\unclosed /s", L""},
      {L"  Skyfare.scr\t/c:123", L"\t/c:123"},
      {L"", L""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(argumentsOf(row.commandLine), row.arguments) << std::wstring(row.commandLine).size();
}

TEST(CommandLine, TheProcessesOwnArgumentsArriveAsUtf8AfterItsQuotedName) {
  // The helper is started under its full, quoted path and compares what it is given.
  EXPECT_EQ(testing::runSelf(L"--expect-arguments  /P:45 Gr\x00FC\x00DF"
                             L"e"),
            0u);
}

TEST(CommandLine, APreviewHandleNamesARealWindowOrNone) {
  SKYFARE_REQUIRE_DESKTOP();
  HWND window = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPED, 0, 0, 152, 112, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  const auto number = static_cast<std::int64_t>(
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
  const StartRequest request = parseCommandLine("/p " + std::to_string(number));
  EXPECT_EQ(previewHostWindow(request.hostWindow), window);
  DestroyWindow(window);
  EXPECT_EQ(previewHostWindow(number), nullptr) << "a window that is gone";
  EXPECT_EQ(previewHostWindow(0), nullptr);
  EXPECT_EQ(previewHostWindow(-5), nullptr);
  EXPECT_EQ(previewHostWindow(std::int64_t{1} << 40), nullptr);
  EXPECT_EQ(previewHostWindow(parseCommandLine("/p 99999999").hostWindow), nullptr);
}

}  // namespace
}  // namespace skyfare
