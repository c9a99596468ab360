#include "windows/config/win_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "windows/config/gap_layout.h"

namespace skyfare {

namespace {

constexpr int kGapPaddingPx = 3;

struct WindowDc {
  explicit WindowDc(HWND w) : window(w), dc(GetDC(w)) {}
  ~WindowDc() {
    if (dc != nullptr)
      ReleaseDC(window, dc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HWND window;
  HDC dc;
};

int textWidthPx(HDC dc, const std::wstring& text, std::size_t length) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(length), &size);
  return size.cx;
}

}  // namespace

int trackbarValue(HWND bar) {
  return static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0));
}

void setTrackbar(HWND bar, int value) {
  SendMessageW(bar, TBM_SETPOS, TRUE, value);
}

void setTrackbarRange(HWND bar, int minimum, int maximum) {
  SendMessageW(bar, TBM_SETRANGEMIN, FALSE, minimum);
  SendMessageW(bar, TBM_SETRANGEMAX, TRUE, maximum);
  SendMessageW(bar, TBM_SETLINESIZE, 0, 1);
  SendMessageW(bar, TBM_SETPAGESIZE, 0, 1);
}

bool isTicked(HWND box) {
  return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setTicked(HWND box, bool ticked) {
  SendMessageW(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int comboSelection(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void setComboSelection(HWND combo, int position) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

int comboCount(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
}

void addComboEntry(HWND combo, const std::wstring& text) {
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring comboEntry(HWND combo, int position) {
  const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == CB_ERR)
    return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(position),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

int findComboEntry(HWND combo, const std::wstring& text) {
  const int count = comboCount(combo);
  for (int position = 0; position < count; ++position) {
    if (comboEntry(combo, position) == text)
      return position;
  }
  return -1;
}

void placeInLabelGap(HWND label, const HWND* controls, const int* widthsPx, int count) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
  const BlankRun gap = longestBlankRun(text);

  RECT labelRect{};
  GetWindowRect(label, &labelRect);
  MapWindowPoints(HWND_DESKTOP, GetParent(label), reinterpret_cast<POINT*>(&labelRect), 2);

  const WindowDc screen(label);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = SelectObject(screen.dc, font);
  const int left = labelRect.left + textWidthPx(screen.dc, text, gap.start) + kGapPaddingPx;
  const int right = labelRect.left + textWidthPx(screen.dc, text, gap.end) - kGapPaddingPx;
  SelectObject(screen.dc, previous);

  std::vector<int> widths(widthsPx, widthsPx + count);
  const std::vector<int> lefts = placeSideBySide(left, right, kGapPaddingPx, widths);
  const int middle = (labelRect.top + labelRect.bottom) / 2;
  for (int i = 0; i < count; ++i) {
    RECT shown{};
    GetWindowRect(controls[i], &shown);
    const int height = shown.bottom - shown.top;
    // A drop-down box's height is that of its open list; it is centred by its closed one.
    RECT dropped = shown;
    SendMessageW(controls[i], CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    SetWindowPos(controls[i], nullptr, lefts[static_cast<size_t>(i)], middle - height / 2,
                 widths[static_cast<size_t>(i)],
                 std::max(height, int(dropped.bottom - dropped.top)),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace skyfare
