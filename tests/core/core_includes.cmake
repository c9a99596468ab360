# Fails when a file of the core includes anything but the core's own headers and the C++
# standard library: no Qt, SDL, X11 or POSIX header, no header of the folders built on it.
#   cmake -DCORE_DIR=<core folder> -P core_includes.cmake
file(GLOB_RECURSE sources "${CORE_DIR}/*.h" "${CORE_DIR}/*.cpp")
set(faults)
foreach(source IN LISTS sources)
  file(STRINGS ${source} includes REGEX "^#include ")
  foreach(line IN LISTS includes)
    if(line MATCHES "^#include \"core/" OR line MATCHES "^#include <[a-z_]+>")
      continue()
    endif()
    file(RELATIVE_PATH name ${CORE_DIR} ${source})
    list(APPEND faults "core/${name}: ${line}")
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "the core includes what it may not:\n${text}")
endif()
