#include "windows/platform/single_instance.h"

#include "windows/platform/debug_line.h"
#include "windows/platform/system_message.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

// Local\ is the user's own session: another user's saver is no instance of this one.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Skyfare-saver-instance";

}  // namespace

SingleInstance::SingleInstance() : SingleInstance(kInstanceMutexName) {}

SingleInstance::SingleInstance(std::wstring name) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  const DWORD error = GetLastError();
  if (!mutex) {
    debugLine("cannot take the instance lock " + utf8FromWide(name) + " (" + systemMessage(error) +
              "); running without it");
    return;
  }
  mutex_.reset(mutex);
  heldElsewhere_ = error == ERROR_ALREADY_EXISTS;
}

void SingleInstance::tellAnotherInstanceRuns() const {
  debugLine("another Skyfare is running; this one ends");
}

}  // namespace skyfare
