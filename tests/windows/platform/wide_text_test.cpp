#include "windows/platform/wide_text.h"

#include <gtest/gtest.h>

#include <string>

namespace skyfare {
namespace {

TEST(WideText, EveryValidTextRoundTrips) {
  const std::string texts[] = {
      "",
      "Place a Message Here",
      "C:\\Corvinel\\Skyfare\\city lights.bmp",
      "Grüße, čeština, Ελληνικά, 日本語",
      "\xF0\x9F\x9B\xAB take-off \xF0\x9F\x9B\xAC landing",  // four-byte characters
      std::string("nul \0 inside", 12),
      "\xEF\xBF\xBF and \xF4\x8F\xBF\xBF",  // the last code points of their planes
  };
  for (const std::string& text : texts) EXPECT_EQ(utf8FromWide(wideFromUtf8(text)), text) << text;
  EXPECT_EQ(wideFromUtf8("\xF0\x9F\x9B\xAB"), std::wstring(L"\xD83D\xDEEB"));
  EXPECT_EQ(wideFromUtf8("\xC3\xA9"), std::wstring(L"\x00E9"));
}

TEST(WideText, EveryCodePointSurvivesBothWays) {
  std::wstring all;
  for (char32_t code = 1; code <= 0x10FFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF)
      continue;
    if (code < 0x10000) {
      all += static_cast<wchar_t>(code);
    } else {
      all += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
      all += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  EXPECT_TRUE(wideFromUtf8(utf8FromWide(all)) == all);
}

TEST(WideText, BrokenUtf8BecomesOneReplacementPerBrokenPiece) {
  struct Row {
    std::string utf8;
    std::wstring wide;
  };
  const Row rows[] = {
      {"a\x80z", L"a\xFFFDz"},                            // a stray continuation byte
      {"a\xE2\x82z", L"a\xFFFDz"},                        // a sequence cut short
      {"a\xE2\x82", L"a\xFFFD"},                          // cut short by the end
      {"\xC0\xAF", L"\xFFFD\xFFFD"},                      // an overlong slash
      {"\xE0\x80\xAF", L"\xFFFD\xFFFD\xFFFD"},            // another overlong slash
      {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},  // above U+10FFFF
      {"\xFF\xFE", L"\xFFFD\xFFFD"},
  };
  for (const Row& row : rows) EXPECT_EQ(wideFromUtf8(row.utf8), row.wide) << row.utf8;
}

TEST(WideText, LoneSurrogatesBecomeReplacements) {
  EXPECT_EQ(utf8FromWide(L"a\xD800z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(utf8FromWide(L"a\xDC00z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(utf8FromWide(L"\xDC00\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD") << "reversed pair";
  EXPECT_EQ(utf8FromWide(L"end\xD83D"), "end\xEF\xBF\xBD");
}

}  // namespace
}  // namespace skyfare
