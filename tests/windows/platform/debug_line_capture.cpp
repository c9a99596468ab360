#include "tests/windows/platform/debug_line_capture.h"

#include <algorithm>

#include "windows/platform/wide_text.h"

namespace skyfare::testing {
namespace {

constexpr DWORD kDebugStringNarrow = 0x40010006;  // DBG_PRINTEXCEPTION_C
constexpr DWORD kDebugStringWide = 0x4001000A;    // DBG_PRINTEXCEPTION_WIDE_C

// The one capture of the test thread: the handler has no argument to find it by.
thread_local DebugLineCapture* activeCapture = nullptr;

}  // namespace

DebugLineCapture::DebugLineCapture() {
  activeCapture = this;
  handler_ = AddVectoredExceptionHandler(1, &DebugLineCapture::onException);
}

DebugLineCapture::~DebugLineCapture() {
  RemoveVectoredExceptionHandler(handler_);
  activeCapture = nullptr;
}

LONG CALLBACK DebugLineCapture::onException(EXCEPTION_POINTERS* exception) {
  DebugLineCapture* capture = activeCapture;
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (!capture || record.NumberParameters < 2)
    return EXCEPTION_CONTINUE_SEARCH;
  const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
  const auto text = record.ExceptionInformation[1];
  if (record.ExceptionCode == kDebugStringWide) {
    // The system follows a wide string with its narrow copy; the wide one is kept.
    capture->sawWide_ = true;
    std::wstring_view wide(reinterpret_cast<const wchar_t*>(text), length);
    if (!wide.empty() && wide.back() == L'\0')
      wide.remove_suffix(1);
    capture->lines_.push_back(utf8FromWide(wide));
  } else if (record.ExceptionCode == kDebugStringNarrow) {
    if (capture->sawWide_) {
      capture->sawWide_ = false;
    } else {
      // Only the narrow form comes from a system that converts wide strings to its code page.
      std::string_view narrow(reinterpret_cast<const char*>(text), length);
      if (!narrow.empty() && narrow.back() == '\0')
        narrow.remove_suffix(1);
      std::wstring wide(narrow.size(), L'\0');
      const int units =
          MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()),
                              wide.data(), static_cast<int>(wide.size()));
      wide.resize(static_cast<std::size_t>(std::max(units, 0)));
      capture->lines_.push_back(utf8FromWide(wide));
    }
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace skyfare::testing
