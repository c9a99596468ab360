#include "config/run_configure.h"

#include <QApplication>

#include "config/setup.h"
#include "platform/web_page.h"

namespace skyfare {

int runConfigure(SettingsStore& store, const std::string& dataFolder) {
  Setup setup(store, dataFolder,
              {.endProgram = [] { QCoreApplication::exit(0); }, .openPage = openWebPage});
  setup.show();
  QApplication::exec();
  return 0;
}

}  // namespace skyfare
