#include "chooser/path_rules.h"

namespace skyfare {

namespace {

bool matchesFrom(const QString& name, qsizetype at, const QString& pattern, qsizetype from) {
  if (from == pattern.size())
    return at == name.size();
  const QChar wanted = pattern.at(from);
  if (wanted == u'*') {
    for (qsizetype rest = at; rest <= name.size(); ++rest) {
      if (matchesFrom(name, rest, pattern, from + 1))
        return true;
    }
    return false;
  }
  if (at == name.size())
    return false;
  if (wanted != u'?' && wanted.toCaseFolded() != name.at(at).toCaseFolded())
    return false;
  return matchesFrom(name, at + 1, pattern, from + 1);
}

bool contains(const QString& root, const QString& path) {
  if (!path.startsWith(root))
    return false;
  return root.endsWith(u'/') || path.size() == root.size() || path.at(root.size()) == u'/';
}

}  // namespace

QString joinFolderAndName(const QString& folder, const QString& name) {
  if (folder.endsWith(u'/'))
    return folder + name;
  return folder + u'/' + name;
}

bool matchesPattern(const QString& name, const QString& pattern) {
  if (pattern == QStringLiteral("*.*"))
    return true;
  return matchesFrom(name, 0, pattern, 0);
}

std::optional<QString> chosenPath(const QString& folder, const QString& typedName,
                                  const QString& selectedName) {
  if (typedName.isEmpty())
    return std::nullopt;
  if (typedName == selectedName)
    return joinFolderAndName(folder, typedName);
  return typedName;
}

QStringList ancestorsOf(const QString& folder) {
  QStringList chain{QStringLiteral("/")};
  QString path;
  for (const QString& part : folder.split(u'/', Qt::SkipEmptyParts)) {
    path += u'/' + part;
    chain.append(path);
  }
  return chain;
}

QString volumeOf(const QString& path, const QStringList& roots) {
  QString best = QStringLiteral("/");
  for (const QString& root : roots) {
    if (root.size() > best.size() && contains(root, path))
      best = root;
  }
  return best;
}

}  // namespace skyfare
