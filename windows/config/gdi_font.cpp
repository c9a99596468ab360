#include "windows/config/gdi_font.h"

#include <cwchar>
#include <utility>

namespace skyfare {

namespace {

constexpr int kTenthsPerInch = 720;

}  // namespace

LOGFONTW fontOf(HWND window) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (font == nullptr)
    font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW description{};
  GetObjectW(font, sizeof description, &description);
  return description;
}

OwnedFont createFace(const std::wstring& face, int tenthsOfPoint, int dpi) {
  LOGFONTW description{};
  description.lfHeight = -MulDiv(tenthsOfPoint, dpi, kTenthsPerInch);
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = DEFAULT_QUALITY;
  wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return OwnedFont(CreateFontIndirectW(&description));
}

void showFont(HWND control, OwnedFont& keeper, OwnedFont font) {
  if (!font)
    return;
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  keeper = std::move(font);
}

}  // namespace skyfare
