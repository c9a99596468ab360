#include "windows/chooser/chooser_layout.h"

#include <string>

#include "windows/chooser/chooser_ids.h"

namespace skyfare {

namespace {

constexpr int kTwipsPerInch = 1440;
// Distances at 96 dots per inch, scaled to the screen's.
constexpr int kMarginPx = 8;
constexpr int kGapPx = 4;
constexpr int kCaptionHeightPx = 16;
constexpr int kBoxHeightPx = 22;
constexpr int kButtonWidthPx = 80;
constexpr int kButtonHeightPx = 24;
constexpr int kDropDownHeightPx = 160;
constexpr int kFolderIndentPx = 12;
constexpr int kFolderSignWidthPx = 16;
constexpr int kReferenceDpi = 96;

class Scale {
 public:
  explicit Scale(HWND window) {
    const HDC screen = GetDC(window);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(window, screen);
  }
  int pixels(int referencePx) const { return MulDiv(referencePx, dpi_, kReferenceDpi); }
  int fromTwips(int twips) const { return MulDiv(twips, dpi_, kTwipsPerInch); }

 private:
  int dpi_ = kReferenceDpi;
};

void place(HWND dialog, int id, int x, int y, int width, int height) {
  SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// One column: a caption and a box at the top, a list filling the middle, a caption and a
// drop-down list at the bottom.
struct Column {
  int captionTop;
  int box;
  int list;
  int captionBottom;
  int dropDown;
};

void placeColumn(HWND dialog, const Scale& scale, const Column& ids, int x, int width, int top,
                 int bottom) {
  const int caption = scale.pixels(kCaptionHeightPx);
  const int box = scale.pixels(kBoxHeightPx);
  const int gap = scale.pixels(kGapPx);
  place(dialog, ids.captionTop, x, top, width, caption);
  place(dialog, ids.box, x, top + caption, width, box);
  const int listTop = top + caption + box + gap;
  const int dropDownTop = bottom - box;
  const int captionBottomTop = dropDownTop - caption;
  place(dialog, ids.list, x, listTop, width, captionBottomTop - gap - listTop);
  place(dialog, ids.captionBottom, x, captionBottomTop, width, caption);
  // A drop-down list's height includes its open list.
  place(dialog, ids.dropDown, x, dropDownTop, width, scale.pixels(kDropDownHeightPx));
}

void drawFolderSign(HDC target, const RECT& area, bool open) {
  const int height = area.bottom - area.top;
  const int width = area.right - area.left;
  const int top = area.top + height / 4;
  const int bottom = area.bottom - height / 5;
  const HGDIOBJ previousBrush = SelectObject(target, GetStockObject(DC_BRUSH));
  const HGDIOBJ previousPen = SelectObject(target, GetStockObject(BLACK_PEN));
  SetDCBrushColor(target, RGB(240, 200, 80));
  Rectangle(target, area.left + 1, top - 2, area.left + width / 2, top + 1);
  Rectangle(target, area.left + 1, top, area.right - 2, bottom);
  if (open) {
    SetDCBrushColor(target, RGB(255, 230, 140));
    Rectangle(target, area.left + 3, top + 3, area.right - 1, bottom);
  }
  SelectObject(target, previousPen);
  SelectObject(target, previousBrush);
}

}  // namespace

void layOutChooser(HWND dialog, SIZE clientSizeTwips) {
  const Scale scale(dialog);
  RECT frame{0, 0, scale.fromTwips(clientSizeTwips.cx), scale.fromTwips(clientSizeTwips.cy)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  RECT client{};
  GetClientRect(dialog, &client);
  const int margin = scale.pixels(kMarginPx);
  const int buttonWidth = scale.pixels(kButtonWidthPx);
  const int buttonHeight = scale.pixels(kButtonHeightPx);
  const int buttonTop = client.bottom - margin - buttonHeight;
  place(dialog, IDC_cmdOK, client.right - margin - buttonWidth, buttonTop, buttonWidth,
        buttonHeight);
  place(dialog, IDC_cmdCancel, client.right - 2 * margin - 2 * buttonWidth, buttonTop, buttonWidth,
        buttonHeight);

  const int columnWidth = (client.right - 3 * margin) / 2;
  const int columnBottom = buttonTop - margin;
  placeColumn(
      dialog, scale,
      {IDC_captionFileName, IDC_txtFileName, IDC_filFiles, IDC_captionFileType, IDC_cboFileType},
      margin, columnWidth, margin, columnBottom);
  placeColumn(
      dialog, scale,
      {IDC_captionDirectories, IDC_lblDirName, IDC_dirDirectory, IDC_captionDrive, IDC_drvDrive},
      2 * margin + columnWidth, columnWidth, margin, columnBottom);
}

void drawFolderEntry(const DRAWITEMSTRUCT& item, int depth, bool open) {
  if (item.itemID == static_cast<UINT>(-1))
    return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

  const Scale scale(item.hwndItem);
  const int signLeft = item.rcItem.left + scale.pixels(2) + depth * scale.pixels(kFolderIndentPx);
  const RECT sign{signLeft, item.rcItem.top, signLeft + scale.pixels(kFolderSignWidthPx),
                  item.rcItem.bottom};
  drawFolderSign(item.hDC, sign, open);

  const LRESULT length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
  if (length > 0) {
    std::wstring name(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<size_t>(length));
    RECT text = item.rcItem;
    text.left = sign.right + scale.pixels(kGapPx);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if ((item.itemState & ODS_FOCUS) != 0)
    DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace skyfare
