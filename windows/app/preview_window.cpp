#include "windows/app/preview_window.h"

#include <memory>
#include <type_traits>

namespace skyfare {
namespace {

constexpr wchar_t kPreviewWindowClass[] = L"SkyfarePreview";
constexpr UINT_PTR kHostWatchTimer = 1;
// Windows destroys a child with its parent, even across processes; the watch also catches a
// host whose destruction never reaches us (Wine does not always tell another process).
constexpr UINT kHostWatchIntervalMs = 250;

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

struct PreviewState {
  HWND host;
  HBITMAP picture;
  SIZE pictureSize;
};

SIZE clientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void paint(HWND window, const PreviewState& state) {
  PAINTSTRUCT paintInfo;
  const HDC target = BeginPaint(window, &paintInfo);
  FillRect(target, &paintInfo.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (state.picture != nullptr) {
    const HDC source = CreateCompatibleDC(target);
    const HGDIOBJ previous = SelectObject(source, state.picture);
    BitBlt(target, 0, 0, state.pictureSize.cx, state.pictureSize.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
  }
  EndPaint(window, &paintInfo);
}

LRESULT CALLBACK previewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  const auto* state =
      reinterpret_cast<const PreviewState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      if (state != nullptr) {
        paint(window, *state);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (state != nullptr && wParam == kHostWatchTimer) {
        if (!IsWindow(state->host)) {
          PostQuitMessage(0);
        } else {
          const SIZE host = clientSize(state->host);
          const SIZE own = clientSize(window);
          if (host.cx != own.cx || host.cy != own.cy)
            SetWindowPos(window, nullptr, 0, 0, host.cx, host.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

SIZE bitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0)
    return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

}  // namespace

int runPreview(HINSTANCE instance, HWND host, const std::wstring& pictureFile) {
  if (host == nullptr || !IsWindow(host))
    return 0;
  // A picture that cannot be read leaves the area black.
  const OwnedBitmap picture(static_cast<HBITMAP>(
      LoadImageW(nullptr, pictureFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  PreviewState state{host, picture.get(), bitmapSize(picture.get())};

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = previewProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPreviewWindowClass;
  RegisterClassExW(&windowClass);

  const SIZE hostSize = clientSize(host);
  const HWND preview =
      CreateWindowExW(0, kPreviewWindowClass, L"Preview", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                      host, nullptr, instance, &state);
  int exitCode = 0;
  if (preview != nullptr) {
    SetWindowLongPtrW(preview, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host));
    SetWindowPos(preview, HWND_TOP, 0, 0, hostSize.cx, hostSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(preview, kHostWatchTimer, kHostWatchIntervalMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    exitCode = static_cast<int>(message.wParam);
    if (IsWindow(preview))
      DestroyWindow(preview);
  }
  UnregisterClassW(kPreviewWindowClass, instance);
  return exitCode;
}

}  // namespace skyfare
