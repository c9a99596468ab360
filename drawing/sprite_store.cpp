#include "drawing/sprite_store.h"

#include <QFileInfo>

#include "drawing/picture_coverage.h"
#include "pictures/sprite_picture.h"

namespace skyfare {

void SpriteStore::setDensePictureFolder(const std::string& folder) {
  densePictureFolder_ = QFileInfo(QString::fromStdString(folder)).canonicalFilePath();
}

SpriteHandle SpriteStore::create() {
  sprites_.emplace_back();
  return static_cast<SpriteHandle>(sprites_.size());
}

QImage SpriteStore::loadImage(SpriteHandle sprite, const std::string& fileName,
                              int transparentMode) {
  Sprite* target = find(sprite);
  if (target == nullptr)
    return {};
  PictureRead read = loadSpritePicture(fileName, transparentMode);
  QImage picture = std::move(read.image);
  target->image = picture;
  target->coverage = pictureCoverage(target->image);
  target->imageVersion = ++lastImageVersion_;
  target->denseSource.reset();
  if (target->image.isNull()) {
    sayPictureUnreadable(fileName, read.problem);
  } else if (!densePictureFolder_.isEmpty() &&
             QFileInfo(QString::fromStdString(fileName)).canonicalPath() == densePictureFolder_) {
    target->denseSource = std::make_shared<const DenseSource>(DenseSource{
        fileName, transparentMode, target->image.size(), !target->image.hasAlphaChannel()});
    target->image = QImage();
  }
  return picture;
}

SpriteStore::Sprite* SpriteStore::find(SpriteHandle sprite) {
  if (sprite < 1 || static_cast<std::size_t>(sprite) > sprites_.size())
    return nullptr;
  return &sprites_[static_cast<std::size_t>(sprite) - 1];
}

const SpriteStore::Sprite* SpriteStore::find(SpriteHandle sprite) const {
  return const_cast<SpriteStore*>(this)->find(sprite);
}

}  // namespace skyfare
