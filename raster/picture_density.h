#pragma once

#include <array>
#include <string>
#include <string_view>

namespace skyfare {

// Besides its 1× file, every picture of the data folder is drawn at these densities (picture
// pixels per scene pixel), so a large screen can show it sharp instead of enlarged.
inline constexpr std::array<int, 3> kPictureDensities{2, 3, 4};

namespace detail {

// Where the extension of the file's name starts (its size when there is none). A dot in a
// folder's name or at the start of the file's name starts no extension.
inline std::size_t extensionStart(std::string_view fileName, std::string_view separators) {
  const std::size_t slash = fileName.find_last_of(separators);
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos || dot <= nameStart ? fileName.size() : dot;
}

inline std::string densityMark(int density) {
  return '@' + std::to_string(density) + 'x';
}

}  // namespace detail

// The file of a picture drawn at a density: "@<density>x" before the extension, the naming of
// high-density pictures on the desktop, and ".zst" after it, for the frames that
// assets/framed_bmp.h writes ("jet01.bmp" gives "jet01@2x.bmp.zst", "city lights.bmp" gives
// "city lights@4x.bmp.zst"). Works on a bare name and on a full path alike.
inline std::string densityFileName(std::string_view fileName, int density) {
  const std::size_t dot = detail::extensionStart(fileName, "/");
  return std::string(fileName.substr(0, dot)) + detail::densityMark(density) +
         std::string(fileName.substr(dot)) + ".zst";
}

// The same picture in the Windows data folder, which holds PNG files in place of the zstd
// frames: "jet01.bmp" gives "jet01@2x.png". Either slash separates folders, as on Windows.
inline std::string densityPngFileName(std::string_view fileName, int density) {
  const std::size_t dot = detail::extensionStart(fileName, "/\\");
  return std::string(fileName.substr(0, dot)) + detail::densityMark(density) + ".png";
}

}  // namespace skyfare
