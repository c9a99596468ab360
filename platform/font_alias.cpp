#include "platform/font_alias.h"

#include <fontconfig/fontconfig.h>
#include <QFont>
#include <QFontInfo>
#include <QStringList>

#include <memory>

namespace skyfare {
namespace {

struct PatternRelease {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};

// The families the font configuration tries, in order, for a request naming `family`; with no
// family, those it tries for any request: the default faces.
QStringList familiesTriedFor(const QString& family) {
  const std::unique_ptr<FcPattern, PatternRelease> pattern(FcPatternCreate());
  if (!pattern)
    return {};
  if (!family.isEmpty()) {
    const QByteArray utf8 = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(utf8.constData()));
  }
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  QStringList families;
  FcChar8* tried = nullptr;
  for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &tried) == FcResultMatch; ++i)
    families << QString::fromUtf8(reinterpret_cast<const char*>(tried));
  return families;
}

}  // namespace

QString familyAliasedBy(const QString& name) {
  const QString drawn = QFontInfo(QFont(name)).family();
  if (name.isEmpty() || drawn.compare(name, Qt::CaseInsensitive) == 0)
    return {};
  // An unknown name is drawn in a default face too; only a family that the name itself brings
  // in is one it stands for.
  if (!familiesTriedFor(name).contains(drawn, Qt::CaseInsensitive) ||
      familiesTriedFor({}).contains(drawn, Qt::CaseInsensitive))
    return {};
  return drawn;
}

}  // namespace skyfare
