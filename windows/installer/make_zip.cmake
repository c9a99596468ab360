# Makes the archive for installing by hand: Skyfare.scr, the data folder as Corvinel/Skyfare/
# (copied to C:\ it becomes the folder the saver reads) and INSTALL.txt with Windows line ends.
#   cmake -DSCREEN_SAVER=... -DDATA_DIR=... -DREADME=... -DVERSION=... -DSTAGE=... -DZIP=...
#         -P make_zip.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable SCREEN_SAVER DATA_DIR README VERSION STAGE ZIP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "make_zip.cmake needs -D${variable}=...")
  endif()
endforeach()

# A fresh stage each time, so a file dropped from the data folder leaves the archive too.
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/Corvinel")
file(COPY "${DATA_DIR}/" DESTINATION "${STAGE}/Corvinel/Skyfare")
file(COPY_FILE "${SCREEN_SAVER}" "${STAGE}/Skyfare.scr")
file(READ "${README}" text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${STAGE}/INSTALL.txt" "${text}")

file(REMOVE "${ZIP}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip Skyfare.scr INSTALL.txt Corvinel
  WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Making ${ZIP} failed: ${result}")
endif()
