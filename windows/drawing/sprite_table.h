#pragma once

#include <wincodec.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/controls/drawing_control.h"
#include "raster/bgra_picture.h"
#include "raster/frame_ops.h"
#include "raster/run_picture.h"

namespace skyfare {

// The sprites of the drawing component, handles 1, 2, 3, … never reused, each with its picture
// and place, and each picture prepared once for every scene scale a monitor shows: a frame only
// copies and blends. Pictures of the data folder are prepared from their denser PNGs beside
// them on monitors that show the scene enlarged. Every picture is kept as runs of equal pixels,
// which is all a frame reads. A handle that names no sprite is ignored.
class SpriteTable {
 public:
  struct Sprite {
    RunPicture picture;  // premultiplied; null for an empty sprite, which draws nothing
    std::shared_ptr<const PixelRects> coverage;  // where the picture can show
    std::uint64_t pictureVersion = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::wstring fileName;  // set when denser files may lie beside it
    int transparentMode = 0;
  };

  // Without a factory no picture can be read, and every sprite stays empty.
  explicit SpriteTable(IWICImagingFactory* factory) : factory_(factory) {}

  void setDensePictureFolder(const std::string& folder);
  SpriteHandle create();
  // Says in one line, once per file, when a file cannot be read; the sprite is then empty.
  void load(SpriteHandle sprite, const std::string& fileName, int transparentMode);
  Sprite* find(SpriteHandle sprite);

  // A monitor at this scale: every picture is prepared for it, now and whenever loaded later.
  void addScale(double scale);
  // The op's picture at the scale, exactly its scaled size; null when it has none.
  const RunPicture* scaled(const raster::SpriteOp& op, double scale) const;

 private:
  using Key = std::pair<SpriteHandle, double>;

  // `plain` is the sprite's picture unpacked.
  void prepare(SpriteHandle handle, const Sprite& sprite, const BgraPicture& plain, double scale);
  BgraPicture densePicture(const Sprite& sprite, double scale);
  void sayOnce(const std::wstring& fileName, const std::string& problem);

  IWICImagingFactory* factory_;
  std::wstring densePictureFolder_;  // full path, lower case; empty when none
  std::vector<Sprite> sprites_;
  std::uint64_t lastPictureVersion_ = 0;
  std::vector<double> scales_;
  std::map<Key, RunPicture> prepared_;
  std::set<std::wstring> reported_;
};

}  // namespace skyfare
