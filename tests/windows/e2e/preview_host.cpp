// A preview host for the tests: a window with a preview area, as Screen Saver Settings has.
//   preview_host <Skyfare.scr>    starts "<scr> /p <area>" and checks the preview's parent, size,
//                                 resizing and end when the area is destroyed; then that a
//                                 handle naming no window ends the saver at once
//   preview_host --same-process   runs the preview in this process and checks its picture
// Prints one line per check; exits 0 when all passed.
#include "windows/platform/win32_api.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "windows/app/installation_folder.h"
#include "windows/app/preview_window.h"

namespace {

constexpr wchar_t kHostClass[] = L"SkyfareTestPreviewHost";
int failures = 0;

void check(bool passed, const char* what) {
  std::printf("%s: %s\n", passed ? "ok" : "FAIL", what);
  std::fflush(stdout);
  if (!passed)
    ++failures;
}

// Pumps this thread's messages until the condition holds or the time is up.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs, HANDLE process = nullptr) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
      return false;
    const DWORD count = process == nullptr ? 0 : 1;
    MsgWaitForMultipleObjects(count, &process, FALSE,
                              static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                              QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return true;
}

HWND makeHost(int width, int height) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = CreateSolidBrush(RGB(0, 0, 255));
  windowClass.lpszClassName = kHostClass;
  RegisterClassExW(&windowClass);
  const HWND host =
      CreateWindowExW(0, kHostClass, L"Preview host", WS_POPUP | WS_VISIBLE, 50, 50, width, height,
                      nullptr, nullptr, windowClass.hInstance, nullptr);
  pumpUntil([] { return false; }, 200);
  return host;
}

SIZE clientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

struct Saver {
  PROCESS_INFORMATION process{};
  bool start(const std::wstring& scr, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + scr + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(scr.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process) != 0;
  }
  bool ended() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }
  DWORD exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
  }
  ~Saver() {
    if (process.hProcess != nullptr) {
      if (!ended())
        TerminateProcess(process.hProcess, 99);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }
};

int previewOfAnotherProcess(const std::wstring& scr) {
  const HWND host = makeHost(320, 240);
  Saver saver;
  check(saver.start(scr, L"/p " + std::to_wstring(reinterpret_cast<UINT_PTR>(host))),
        "the saver starts");
  HWND preview = nullptr;
  pumpUntil(
      [&] {
        preview = FindWindowExW(host, nullptr, nullptr, L"Preview");
        return preview != nullptr;
      },
      10000, saver.process.hProcess);
  check(preview != nullptr, "a child window titled Preview appears in the host's area");
  if (preview != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(preview, &owner);
    check(owner == saver.process.dwProcessId, "the preview belongs to the saver's process");
    check(GetParent(preview) == host, "its parent is the host's area");
    check((GetWindowLongPtrW(preview, GWL_STYLE) & WS_CHILD) != 0, "it is a child window");
    check(pumpUntil(
              [&] {
                const SIZE size = clientSize(preview);
                return size.cx == 320 && size.cy == 240;
              },
              1000),
          "it fills the area");
    SetWindowPos(host, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    check(pumpUntil(
              [&] {
                const SIZE now = clientSize(preview);
                return now.cx == 400 && now.cy == 300;
              },
              1000),
          "it follows the area's new size within a second");
  }
  const ULONGLONG destroying = GetTickCount64();
  DestroyWindow(host);
  const ULONGLONG destroyed = GetTickCount64();
  const bool ended = pumpUntil([&] { return saver.ended(); }, 1000, saver.process.hProcess);
  check(ended, "the saver ends within a second of the area's destruction");
  std::printf("the area took %llu ms to destroy; the saver ended %llu ms after\n",
              destroyed - destroying, GetTickCount64() - destroyed);
  check(ended && saver.exitCode() == 0, "with exit code 0");

  Saver nowhere;
  nowhere.start(scr, L"/p 123456");
  check(pumpUntil([&] { return nowhere.ended(); }, 3000, nowhere.process.hProcess),
        "a handle that names no window ends the saver at once");
  return failures == 0 ? 0 : 1;
}

COLORREF screenPixel(int x, int y) {
  const HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

int previewInThisProcess() {
  const std::string folder = skyfare::kInstallationFolder;
  const std::wstring pictureFile = std::wstring(folder.begin(), folder.end()) + L"preview.bmp";
  const auto picture = static_cast<HBITMAP>(
      LoadImageW(nullptr, pictureFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  check(picture != nullptr, "the data folder holds the preview picture");
  if (picture == nullptr)
    return 1;
  BITMAP info{};
  GetObjectW(picture, sizeof info, &info);
  check(info.bmWidth == 153 && info.bmHeight == 112, "the picture is 153 x 112");

  const HWND host = makeHost(320, 240);
  int previewResult = -1;
  std::thread previewThread(
      [&] { previewResult = skyfare::runPreview(GetModuleHandleW(nullptr), host, pictureFile); });
  HWND preview = nullptr;
  pumpUntil(
      [&] {
        preview = FindWindowExW(host, nullptr, nullptr, L"Preview");
        return preview != nullptr;
      },
      5000);
  pumpUntil([] { return false; }, 500);
  check(preview != nullptr, "the preview window appears");
  POINT origin{0, 0};
  ClientToScreen(host, &origin);
  const HDC pictureDc = CreateCompatibleDC(nullptr);
  SelectObject(pictureDc, picture);
  int matching = 0, samples = 0;
  for (int y = 4; y < 112; y += 27) {
    for (int x = 4; x < 153; x += 37) {
      ++samples;
      matching += screenPixel(origin.x + x, origin.y + y) == GetPixel(pictureDc, x, y) ? 1 : 0;
    }
  }
  DeleteDC(pictureDc);
  std::printf("%d of %d samples match the picture\n", matching, samples);
  check(matching == samples, "the picture is at the top left at its own size");
  check(screenPixel(origin.x + 250, origin.y + 180) == RGB(0, 0, 0), "the rest is black");
  DestroyWindow(host);
  previewThread.join();
  check(previewResult == 0, "the preview ends with its host");
  DeleteObject(picture);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--same-process")
    return previewInThisProcess();
  if (argc == 2)
    return previewOfAnotherProcess(argv[1]);
  std::fprintf(stderr, "usage: preview_host <Skyfare.scr> | --same-process\n");
  return 2;
}
