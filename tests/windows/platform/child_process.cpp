#include "tests/windows/platform/child_process.h"

#include <string_view>

#include "windows/platform/command_line.h"
#include "windows/platform/single_instance.h"
#include "windows/platform/win_host_services.h"

namespace skyfare::testing {
namespace {

std::wstring ownPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// Holds the instance mutex of the given name, says so through the event, and waits to be ended.
int holdInstance(const std::wstring& mutexName, const std::wstring& readyEvent) {
  const SingleInstance instance(mutexName);
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str());
  if (!ready)
    return 3;
  SetEvent(ready);
  CloseHandle(ready);
  Sleep(INFINITE);
  return 0;
}

// Hides the cursor and sets the saver flag, then ends through the host services.
int endThroughHost(int exitCode) {
  WinHostServices host;
  host.showCursor(false);
  host.setScreenSaverRunning(true);
  host.endProcess(exitCode);
}

}  // namespace

HANDLE startSelf(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + ownPath() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

DWORD runSelf(const std::wstring& arguments, DWORD timeoutMs) {
  HANDLE process = startSelf(arguments);
  if (!process)
    return static_cast<DWORD>(-1);
  DWORD exitCode = STILL_ACTIVE;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process, &exitCode);
  } else {
    TerminateProcess(process, 1);
  }
  CloseHandle(process);
  return exitCode;
}

int runChildRole(int argc, wchar_t** argv) {
  if (argc < 2)
    return -1;
  const std::wstring_view role = argv[1];
  if (role == L"--ask-instance" && argc == 3)
    return SingleInstance(argv[2]).anotherInstanceRuns() ? 1 : 0;
  if (role == L"--hold-instance" && argc == 4)
    return holdInstance(argv[2], argv[3]);
  if (role == L"--expect-arguments")
    return processArguments() ==
                   " --expect-arguments  /P:45 Gr\xC3\xBC\xC3\x9F"
                   "e"
               ? 0
               : 1;
  if (role == L"--end-through-host" && argc == 3)
    return endThroughHost(_wtoi(argv[2]));
  return -1;
}

}  // namespace skyfare::testing
