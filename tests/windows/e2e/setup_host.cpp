// The Control Box in a program of its own over the real registry store, as "/c" shows it, for
// the test driver to find and drive from another process.
#include <windows.h>

#include "windows/config/run_configure.h"
#include "windows/platform/registry_store.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  skyfare::RegistryStore store;
  return skyfare::runConfigure(instance, store, "C:\\Corvinel\\Skyfare\\");
}
