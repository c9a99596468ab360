#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace skyfare {

struct FontRelease {
  void operator()(HFONT font) const { DeleteObject(font); }
};
// A font this program made; it is deleted with its owner.
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontRelease>;

// The font a window draws its text in, as a LOGFONT; the stock GUI font when it has none.
LOGFONTW fontOf(HWND window);

// A regular face at a size in tenths of a point, for a window on a screen of `dpi` dots an inch.
OwnedFont createFace(const std::wstring& face, int tenthsOfPoint, int dpi);

// Gives a control a font and keeps it alive for as long as the control shows it: the font the
// control showed before is deleted only after the new one is set.
void showFont(HWND control, OwnedFont& keeper, OwnedFont font);

}  // namespace skyfare
