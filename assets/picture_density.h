#pragma once

#include <array>
#include <string>
#include <string_view>

namespace skyfare {

// Besides its 1× file, every picture of the data folder is drawn at these densities (picture
// pixels per scene pixel), so a large screen can show it sharp instead of enlarged.
inline constexpr std::array<int, 3> kPictureDensities{2, 3, 4};

// The file of a picture drawn at a density: "@<density>x" before the extension, the naming of
// high-density pictures on the desktop, and ".zst" after it, for the frames that
// assets/framed_bmp.h writes ("jet01.bmp" gives "jet01@2x.bmp.zst", "city lights.bmp" gives
// "city lights@4x.bmp.zst"). Works on a bare name and on a full path alike.
inline std::string densityFileName(std::string_view fileName, int density) {
  const std::size_t slash = fileName.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || dot <= nameStart)
    dot = fileName.size();
  std::string variant(fileName.substr(0, dot));
  variant += '@' + std::to_string(density) + 'x';
  variant += fileName.substr(dot);
  variant += ".zst";
  return variant;
}

}  // namespace skyfare
