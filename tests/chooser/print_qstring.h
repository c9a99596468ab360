#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Lets test failures print Qt strings as text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}
QT_END_NAMESPACE
