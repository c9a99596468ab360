#include "drawing/scaled_pictures.h"

#include <malloc.h>

#include <set>

namespace skyfare {
namespace {

// A picture is kept packed only when that takes at most a quarter of its pixels' memory: one
// that hardly packs (a photograph) is kept as it is, or a frame drawing it would hold both.
constexpr qsizetype kPixelBytesPerPackedByte = 4;

bool packsWell(const PackedPicture& packed, const QImage& picture) {
  return !packed.isEmpty() &&
         static_cast<qsizetype>(packed.packedBytes()) * kPixelBytesPerPackedByte <=
             picture.sizeInBytes();
}

// Preparing frees megabytes of pictures read and reduced, which the C library keeps for later
// once it has freed a large picture before; the frames after it allocate next to nothing.
void handBackFreedMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

QSize sizeAt(const SceneMapping& mapping, QSize pictureSize) {
  return QSize(mapping.scaledLength(pictureSize.width()),
               mapping.scaledLength(pictureSize.height()));
}

}  // namespace

void ScaledPictures::setSource(SpriteHandle sprite, std::uint64_t imageVersion,
                               const QImage& picture, std::shared_ptr<const DenseSource> dense) {
  bool preparedAny = false;
  for (const auto& [scale, use] : scales_) {
    if (scale <= 0)
      continue;
    prepared_.insert_or_assign(Key(sprite, scale),
                               prepare(imageVersion, picture, dense.get(), use.mapping));
    preparedAny = true;
  }
  sources_.insert_or_assign(sprite, Source{imageVersion, dense ? QImage() : picture, dense});
  if (preparedAny)
    handBackFreedMemory();
}

void ScaledPictures::addScale(const SceneMapping& mapping) {
  const double scale = mapping.scale();
  Scale& use = scales_.try_emplace(scale, Scale{mapping, 0}).first->second;
  if (use.renderers++ > 0 || scale <= 0)
    return;
  for (const auto& [sprite, source] : sources_) {
    prepared_.insert_or_assign(Key(sprite, scale), prepare(source.imageVersion, source.picture,
                                                           source.dense.get(), mapping));
  }
  handBackFreedMemory();
}

void ScaledPictures::removeScale(double scale) {
  const auto use = scales_.find(scale);
  if (use == scales_.end() || --use->second.renderers > 0)
    return;
  scales_.erase(use);
  const auto atScale = [scale](const auto& entry) { return entry.first.second == scale; };
  std::erase_if(prepared_, atScale);
  std::erase_if(madeWhileDrawing_, atScale);
}

const QImage& ScaledPictures::scaled(const SpriteOp& op, const SceneMapping& mapping) {
  const Key key(op.sprite, mapping.scale());
  if (const auto found = prepared_.find(key);
      found != prepared_.end() && found->second.imageVersion == op.imageVersion) {
    Prepared& prepared = found->second;
    if (prepared.unpacked.isNull() && !prepared.packed.isEmpty())
      prepared.unpacked = prepared.packed.unpack();
    return prepared.unpacked;
  }
  auto made = madeWhileDrawing_.find(key);
  if (made == madeWhileDrawing_.end() || made->second.imageVersion != op.imageVersion) {
    Prepared picture{op.imageVersion,
                     {},
                     pictureForScreen(op.image, op.denseSource.get(), mapping.scale(),
                                      sizeAt(mapping, op.pictureSize()))};
    made = madeWhileDrawing_.insert_or_assign(key, std::move(picture)).first;
  }
  return made->second.unpacked;
}

void ScaledPictures::letGoOfUndrawn(const DisplayList& drawn) {
  std::set<std::pair<SpriteHandle, std::uint64_t>> drawnPictures;
  for (const DrawOp& op : drawn) {
    if (const auto* sprite = std::get_if<SpriteOp>(&op))
      drawnPictures.emplace(sprite->sprite, sprite->imageVersion);
  }
  const auto isDrawn = [&](const auto& entry) {
    return drawnPictures.contains({entry.first.first, entry.second.imageVersion});
  };
  for (auto& entry : prepared_) {
    if (!entry.second.packed.isEmpty() && !isDrawn(entry))
      entry.second.unpacked = QImage();
  }
  std::erase_if(madeWhileDrawing_, [&](const auto& entry) { return !isDrawn(entry); });
}

ScaledPictures::Prepared ScaledPictures::prepare(std::uint64_t imageVersion, const QImage& picture,
                                                 const DenseSource* dense,
                                                 const SceneMapping& mapping) {
  const QSize pictureSize = dense != nullptr ? dense->size : picture.size();
  Prepared prepared{
      imageVersion,
      {},
      pictureForScreen(picture, dense, mapping.scale(), sizeAt(mapping, pictureSize))};
  // A picture of one density at its own size is the sprite's own, which its store holds anyway.
  if (dense == nullptr && prepared.unpacked.cacheKey() == picture.cacheKey())
    return prepared;
  PackedPicture packed(prepared.unpacked);
  if (packsWell(packed, prepared.unpacked)) {
    prepared.packed = std::move(packed);
    prepared.unpacked = QImage();
  }
  return prepared;
}

}  // namespace skyfare
