#include "drawing/scaled_pictures.h"

#include <malloc.h>

#include <set>

#include "pictures/reduced_bmp.h"

namespace skyfare {
namespace {

// A picture is kept packed only when that takes at most a quarter of its pixels' memory: one
// that hardly packs (a photograph) is kept as it is, or a frame drawing it would hold both.
constexpr qsizetype kPixelBytesPerPackedByte = 4;

bool packsWell(const PackedPicture& packed) {
  return !packed.isEmpty() &&
         static_cast<qsizetype>(packed.packedBytes()) * kPixelBytesPerPackedByte <=
             packed.pixelBytes();
}

// A picture reduced from its denser file, packed band by band as it is made, so a screen's
// background is never whole in memory: empty when the file does not reduce straight to that
// size (it is enlarged, or it cannot be read), which pictureForScreen then sees to.
PackedPicture packedForScreen(const DenseSource& source, double scale, QSize size) {
  const std::optional<DenseFile> file = denseFileFor(source, scale);
  if (!file || size.isEmpty() || size.width() > file->size.width() ||
      size.height() > file->size.height())
    return {};
  PackedPicture packed(size,
                       source.opaque ? QImage::Format_RGB888 : QImage::Format_ARGB32_Premultiplied);
  const bool read = readReducedBmpInBands(
      file->name, file->size, size, !source.opaque, packed.rowsPerBand(),
      [&packed](int band, const QImage& rows) { return packed.packBand(band, rows); });
  return read ? std::move(packed) : PackedPicture();
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
    if (prepared.unpacked.isNull() && !prepared.packed.isEmpty()) {
      prepared.unpacked = prepared.packed.unpack();
      prepared.someRows = QImage();
    }
    return prepared.unpacked;
  }
  auto made = madeWhileDrawing_.find(key);
  if (made == madeWhileDrawing_.end() || made->second.imageVersion != op.imageVersion) {
    Prepared picture;
    picture.imageVersion = op.imageVersion;
    picture.unpacked = pictureForScreen(op.image, op.denseSource.get(), mapping.scale(),
                                        sizeAt(mapping, op.pictureSize()));
    made = madeWhileDrawing_.insert_or_assign(key, std::move(picture)).first;
  }
  return made->second.unpacked;
}

const QImage& ScaledPictures::scaledRows(const SpriteOp& op, const SceneMapping& mapping,
                                         int firstRow, int endRow, int& topRow) {
  topRow = 0;
  const auto found = prepared_.find(Key(op.sprite, mapping.scale()));
  if (found == prepared_.end() || found->second.imageVersion != op.imageVersion ||
      !found->second.unpacked.isNull() || found->second.packed.isEmpty())
    return scaled(op, mapping);
  Prepared& prepared = found->second;
  const int heldEnd = prepared.someRowsTop + prepared.someRows.height();
  if (prepared.someRows.isNull() || firstRow < prepared.someRowsTop || endRow > heldEnd)
    prepared.someRows = prepared.packed.unpackRows(firstRow, endRow, prepared.someRowsTop);
  topRow = prepared.someRowsTop;
  return prepared.someRows;
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
  bool letGo = false;
  for (auto& entry : prepared_) {
    Prepared& prepared = entry.second;
    const bool unpackedGoes = !prepared.packed.isEmpty() && !isDrawn(entry);
    letGo |= (unpackedGoes && !prepared.unpacked.isNull()) || !prepared.someRows.isNull();
    if (unpackedGoes)
      prepared.unpacked = QImage();
    prepared.someRows = QImage();
  }
  letGo |= std::erase_if(madeWhileDrawing_, [&](const auto& entry) { return !isDrawn(entry); }) > 0;
  // What painting a picture once took (a screen's background, band by band) goes back too.
  if (letGo)
    handBackFreedMemory();
}

ScaledPictures::Prepared ScaledPictures::prepare(std::uint64_t imageVersion, const QImage& picture,
                                                 const DenseSource* dense,
                                                 const SceneMapping& mapping) {
  const QSize pictureSize = dense != nullptr ? dense->size : picture.size();
  const QSize size = sizeAt(mapping, pictureSize);
  Prepared prepared;
  prepared.imageVersion = imageVersion;
  if (dense != nullptr) {
    prepared.packed = packedForScreen(*dense, mapping.scale(), size);
    if (!prepared.packed.isEmpty()) {
      if (!packsWell(prepared.packed)) {
        prepared.unpacked = prepared.packed.unpack();
        prepared.packed = PackedPicture();
      }
      return prepared;
    }
  }
  prepared.unpacked = pictureForScreen(picture, dense, mapping.scale(), size);
  // A picture of one density at its own size is the sprite's own, which its store holds anyway.
  if (dense == nullptr && prepared.unpacked.cacheKey() == picture.cacheKey())
    return prepared;
  PackedPicture packed(prepared.unpacked);
  if (packsWell(packed)) {
    prepared.packed = std::move(packed);
    prepared.unpacked = QImage();
  }
  return prepared;
}

}  // namespace skyfare
