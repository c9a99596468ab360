#include "windows/drawing/gdi_text.h"

#include <algorithm>
#include <cmath>

#include "windows/platform/debug_line.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

// Room for antialiasing and for glyphs that hinting at another scale makes a little wider.
constexpr int kTextPaddingPx = 2;

template <typename List, typename Matches>
typename List::iterator findAndRaise(List& list, Matches matches) {
  const auto found = std::find_if(list.begin(), list.end(), matches);
  if (found != list.end())
    list.splice(list.begin(), list, found);
  return found == list.end() ? list.end() : list.begin();
}

}  // namespace

GdiText::GdiText() : measuring_(CreateCompatibleDC(nullptr)) {}

PixelRect GdiText::inkExtent(const raster::FontChoice& choice, const std::string& text) {
  const auto kept = findAndRaise(extents_, [&](const KeptExtent& entry) {
    return entry.choice == choice && entry.text == text;
  });
  if (kept != extents_.end())
    return kept->extent;
  PixelRect extent;
  if (measuring_) {
    const SelectedObject selected(measuring_.get(), font(choice, choice.sizePx));
    TEXTMETRICW metrics{};
    GetTextMetricsW(measuring_.get(), &metrics);
    const std::wstring wide = wideFromUtf8(text);
    SIZE advance{};
    GetTextExtentPoint32W(measuring_.get(), wide.c_str(), static_cast<int>(wide.size()), &advance);
    // An italic face leans past its advance by up to about a quarter of its height.
    const int lean = choice.italic ? metrics.tmHeight / 4 : 0;
    extent = {-kTextPaddingPx, -kTextPaddingPx,
              static_cast<int>(advance.cx) + metrics.tmOverhang + lean + 2 * kTextPaddingPx,
              static_cast<int>(std::max(advance.cy, metrics.tmHeight)) + 2 * kTextPaddingPx};
  }
  extents_.push_front({choice, text, extent});
  if (extents_.size() > kKept)
    extents_.pop_back();
  return extent;
}

void GdiText::paintText(const raster::TextOp& op, const SceneFit& fit, const PixelRect& clip) {
  if (target_ == nullptr)
    return;
  const int height = std::max(1, static_cast<int>(std::lround(op.font.sizePx * fit.scale())));
  const int saved = SaveDC(target_);
  IntersectClipRect(target_, clip.x, clip.y, clip.right(), clip.bottom());
  SelectObject(target_, font(op.font, height));
  SetBkMode(target_, TRANSPARENT);
  // A scene colour has red in its low byte, as a COLORREF does.
  SetTextColor(target_, static_cast<COLORREF>(op.colour & 0x00FFFFFF));
  SetTextAlign(target_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  const std::wstring wide = wideFromUtf8(op.text);
  TextOutW(target_, fit.toTargetX(op.x), fit.toTargetY(op.y), wide.c_str(),
           static_cast<int>(wide.size()));
  RestoreDC(target_, saved);
  // The composer writes the surface's pixels itself next.
  GdiFlush();
}

HFONT GdiText::font(const raster::FontChoice& choice, int pixelHeight) {
  const auto kept = findAndRaise(fonts_, [&](const KeptFont& entry) {
    return entry.choice == choice && entry.pixelHeight == pixelHeight;
  });
  if (kept != fonts_.end())
    return kept->font.get();
  LOGFONTW logical{};
  logical.lfHeight = -pixelHeight;  // the character height, as a font's pixel size means
  logical.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
  logical.lfItalic = choice.italic ? TRUE : FALSE;
  logical.lfUnderline = choice.underline ? TRUE : FALSE;
  logical.lfCharSet = static_cast<BYTE>(std::clamp(choice.charset, 0, 255));
  logical.lfOutPrecision = OUT_TT_PRECIS;
  logical.lfQuality = ANTIALIASED_QUALITY;
  const std::wstring name = wideFromUtf8(choice.name);
  const std::size_t copied = std::min(name.size(), std::size(logical.lfFaceName) - 1);
  std::copy_n(name.begin(), copied, logical.lfFaceName);
  fonts_.push_front({choice, pixelHeight, UniqueFont(CreateFontIndirectW(&logical))});
  if (fonts_.size() > kKept)
    fonts_.pop_back();
  return fonts_.front().font.get();
}

}  // namespace skyfare
