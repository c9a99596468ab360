#include "controls/scaled_pictures.h"

#include "controls/density_variant.h"

namespace skyfare {

const QImage& ScaledPictures::scaled(const SpriteOp& op, const SceneMapping& mapping) {
  ScaledPicture& entry = pictures_[Key(op.sprite, mapping.scale())];
  if (!entry.made || entry.imageVersion != op.imageVersion) {
    const QSize pictureSize = op.pictureSize();
    const QSize size(mapping.scaledLength(pictureSize.width()),
                     mapping.scaledLength(pictureSize.height()));
    entry.made = true;
    entry.imageVersion = op.imageVersion;
    entry.image = pictureForScreen(op.image, op.denseSource.get(), mapping.scale(), size);
  }
  return entry.image;
}

void ScaledPictures::keepOnly(const DisplayList& drawn, const std::set<double>& scalesInUse) {
  std::map<SpriteHandle, std::uint64_t> drawnVersions;
  for (const DrawOp& op : drawn) {
    if (const auto* sprite = std::get_if<SpriteOp>(&op))
      drawnVersions[sprite->sprite] = sprite->imageVersion;
  }
  std::erase_if(pictures_, [&](const auto& entry) {
    const auto found = drawnVersions.find(entry.first.first);
    return found == drawnVersions.end() || found->second != entry.second.imageVersion ||
           !scalesInUse.contains(entry.first.second);
  });
}

}  // namespace skyfare
