#include "windows/platform/system_message.h"

#include <memory>

#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

struct LocalFreer {
  void operator()(wchar_t* text) const { LocalFree(text); }
};

}  // namespace

std::string systemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalFreer> owned(buffer);
  if (length == 0 || !buffer)
    return {};
  std::wstring text(buffer, length);
  for (wchar_t& c : text) {
    if (c == L'\r' || c == L'\n')
      c = L' ';
  }
  while (!text.empty() && (text.back() == L' ' || text.back() == L'.')) text.pop_back();
  return utf8FromWide(text);
}

}  // namespace skyfare
