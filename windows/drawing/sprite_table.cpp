#include "windows/drawing/sprite_table.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "raster/area_scale.h"
#include "raster/density_choice.h"
#include "raster/picture_coverage.h"
#include "raster/picture_density.h"
#include "raster/picture_keying.h"
#include "windows/drawing/wic_picture_reader.h"
#include "windows/platform/debug_line.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

// The folder a path names or lies in, as a full path in lower case, for comparing folders the
// way the file system does.
std::wstring folderKey(const std::wstring& path, bool isFolder) {
  std::wstring full(MAX_PATH, L'\0');
  wchar_t* namePart = nullptr;
  DWORD length =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
  if (length >= full.size()) {
    full.resize(length + 1);
    length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
  }
  if (length == 0 || length >= full.size())
    return {};
  full.resize(length);
  if (!isFolder) {
    full.resize(full.find_last_of(L"\\/") == std::wstring::npos ? 0 : full.find_last_of(L"\\/"));
  }
  while (!full.empty() && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  std::transform(full.begin(), full.end(), full.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return full;
}

int scaledLength(int length, double scale) {
  return static_cast<int>(std::lround(length * scale));
}

}  // namespace

void SpriteTable::setDensePictureFolder(const std::string& folder) {
  densePictureFolder_ = folderKey(wideFromUtf8(folder), true);
}

SpriteHandle SpriteTable::create() {
  sprites_.emplace_back();
  return static_cast<SpriteHandle>(sprites_.size());
}

void SpriteTable::load(SpriteHandle handle, const std::string& fileName, int transparentMode) {
  Sprite* sprite = find(handle);
  if (sprite == nullptr)
    return;
  const std::wstring path = wideFromUtf8(fileName);
  PictureFile read = factory_ != nullptr
                         ? readPictureFile(*factory_, path, kSceneWidth, kSceneHeight)
                         : PictureFile{{}, "no picture decoder on this system"};
  const BgraPicture picture = keyedForMode(std::move(read.straight), transparentMode);
  auto coverage = std::make_shared<const PixelRects>(pictureCoverage(picture));
  *sprite = Sprite{RunPicture(picture), std::move(coverage), ++lastPictureVersion_,
                   sprite->x,           sprite->y,           {},
                   transparentMode};
  if (sprite->picture.isNull())
    sayOnce(path, read.problem);
  else if (!densePictureFolder_.empty() && folderKey(path, false) == densePictureFolder_)
    sprite->fileName = path;
  for (const double scale : scales_) prepare(handle, *sprite, picture, scale);
}

SpriteTable::Sprite* SpriteTable::find(SpriteHandle sprite) {
  if (sprite < 1 || static_cast<std::size_t>(sprite) > sprites_.size())
    return nullptr;
  return &sprites_[static_cast<std::size_t>(sprite) - 1];
}

void SpriteTable::addScale(double scale) {
  if (scale <= 0 || std::find(scales_.begin(), scales_.end(), scale) != scales_.end())
    return;
  scales_.push_back(scale);
  for (std::size_t i = 0; i < sprites_.size(); ++i)
    prepare(static_cast<SpriteHandle>(i + 1), sprites_[i], sprites_[i].picture.unpacked(), scale);
}

const RunPicture* SpriteTable::scaled(const raster::SpriteOp& op, double scale) const {
  const auto found = prepared_.find(Key(op.sprite, scale));
  if (found == prepared_.end() || found->second.isNull())
    return nullptr;
  return &found->second;
}

void SpriteTable::prepare(SpriteHandle handle, const Sprite& sprite, const BgraPicture& plain,
                          double scale) {
  const int width = scaledLength(sprite.picture.width(), scale);
  const int height = scaledLength(sprite.picture.height(), scale);
  const BgraPicture dense = densePicture(sprite, scale);
  prepared_.insert_or_assign(
      Key(handle, scale), RunPicture(scaledPicture(dense.isNull() ? plain : dense, width, height)));
}

BgraPicture SpriteTable::densePicture(const Sprite& sprite, double scale) {
  const int density = densityForScale(scale);
  if (sprite.fileName.empty() || density == 0 || factory_ == nullptr)
    return {};
  const std::wstring denseName =
      wideFromUtf8(densityPngFileName(utf8FromWide(sprite.fileName), density));
  if (GetFileAttributesW(denseName.c_str()) == INVALID_FILE_ATTRIBUTES)
    return {};
  const int width = sprite.picture.width() * density;
  const int height = sprite.picture.height() * density;
  // One pixel more than it should have in each direction shows a file of another size.
  PictureFile read = readPictureFile(*factory_, denseName, width + 1, height + 1);
  BgraPicture dense = keyedForMode(std::move(read.straight), sprite.transparentMode);
  if (dense.width == width && dense.height == height && dense.opaque == sprite.picture.opaque())
    return dense;
  sayOnce(denseName, read.problem.empty() ? "not the picture at its density" : read.problem);
  return {};
}

void SpriteTable::sayOnce(const std::wstring& fileName, const std::string& problem) {
  if (reported_.insert(fileName).second)
    debugLine("cannot read picture " + utf8FromWide(fileName) + ": " + problem);
}

}  // namespace skyfare
