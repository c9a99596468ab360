#include "platform/qt_host_services.h"

#include <QApplication>
#include <QCursor>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QRegularExpression>
#include <QTime>
#include <cstdio>
#include <ctime>

namespace skyfare {
namespace {

// Qt's Wayland platform sets no cursor for Qt::BlankCursor, so the pointer stays drawn; a
// transparent one of a single pixel hides it there.
QCursor hiddenCursor() {
  if (!QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
    return QCursor(Qt::BlankCursor);
  QPixmap clear(1, 1);
  clear.fill(Qt::transparent);
  return QCursor(clear);
}

}  // namespace

QtHostServices::~QtHostServices() {
  showCursor(true);
}

std::uint32_t QtHostServices::tickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                  static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);  // wraps like a 32-bit tick counter
}

double QtHostServices::secondsSinceMidnight() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

std::string QtHostServices::timeOfDayText(int secondsSinceMidnight) {
  return timeFormat_.text(secondsSinceMidnight);
}

LocalTimeFormat::LocalTimeFormat() {
  format_ = QLocale::system().timeFormat(QLocale::LongFormat);
  // Drop the time zone ("t", "tt", …) and the blanks it leaves behind.
  format_.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b\\s*")));
  format_ = format_.trimmed();
}

std::string LocalTimeFormat::text(int secondsSinceMidnight) {
  if (secondsSinceMidnight != lastSeconds_) {
    lastSeconds_ = secondsSinceMidnight;
    const QTime time = QTime(0, 0).addSecs(secondsSinceMidnight);
    lastText_ = QLocale::system().toString(time, format_).toStdString();
  }
  return lastText_;
}

void QtHostServices::showCursor(bool visible) {
  if (pointerOwner_ == PointerOwner::Host)
    return;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return;
  if (!visible && !cursorHidden_) {
    QGuiApplication::setOverrideCursor(hiddenCursor());
    cursorHidden_ = true;
  } else if (visible && cursorHidden_) {
    QGuiApplication::restoreOverrideCursor();
    cursorHidden_ = false;
  }
}

void QtHostServices::messageBox(const std::string& text, const std::string& title) {
  std::fprintf(stderr, "skyfare: %s: %s\n", title.c_str(), text.c_str());
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    return;
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok);
  box.exec();
}

void QtHostServices::endProcess(int exitCode) {
  QCoreApplication::exit(exitCode);
}

}  // namespace skyfare
