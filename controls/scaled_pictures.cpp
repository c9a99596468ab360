#include "controls/scaled_pictures.h"

namespace skyfare {

const QImage& ScaledPictures::scaled(const SpriteOp& op, const SceneMapping& mapping) {
  ScaledPicture& entry = pictures_[Key(op.sprite, mapping.scale())];
  if (entry.image.isNull() || entry.imageVersion != op.imageVersion) {
    const QSize size(mapping.scaledLength(op.image.width()),
                     mapping.scaledLength(op.image.height()));
    entry.imageVersion = op.imageVersion;
    entry.image = size == op.image.size()
                      ? op.image
                      : op.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(op.image.format());
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
