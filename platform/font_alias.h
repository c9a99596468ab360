#pragma once

#include <QString>

namespace skyfare {

// The family the system draws for `name` when the font configuration names it as a stand-in
// for `name` ("Arial" drawn as a metric-compatible face). Empty when `name` is a family of its
// own, or unknown, so that only the default faces would be drawn for it. Needs a
// QGuiApplication.
QString familyAliasedBy(const QString& name);

}  // namespace skyfare
