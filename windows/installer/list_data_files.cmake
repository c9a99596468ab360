# Writes the setup's lists of the data folder's files: File lines for the installer and Delete
# lines for the uninstaller, so the uninstaller takes away what was installed and nothing else.
# A list is rewritten only when it changes; each line carries the file's size and time, so a
# changed picture builds the setup again.
#   cmake -DDATA_DIR=... -DINSTALL_LIST=... -DREMOVAL_LIST=... -P list_data_files.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable DATA_DIR INSTALL_LIST REMOVAL_LIST)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "list_data_files.cmake needs -D${variable}=...")
  endif()
endforeach()

if(NOT IS_DIRECTORY "${DATA_DIR}")
  message(FATAL_ERROR "The data folder ${DATA_DIR} is missing")
endif()
file(GLOB entries LIST_DIRECTORIES true RELATIVE "${DATA_DIR}" "${DATA_DIR}/*")
list(SORT entries)
set(install_lines "")
set(removal_lines "")
foreach(name IN LISTS entries)
  # The saver reads a flat folder; a subfolder would be installed without being removed.
  if(IS_DIRECTORY "${DATA_DIR}/${name}")
    message(FATAL_ERROR "The data folder holds a folder, ${name}; it must hold files only")
  endif()
  file(SIZE "${DATA_DIR}/${name}" size)
  file(TIMESTAMP "${DATA_DIR}/${name}" time "%Y-%m-%dT%H:%M:%S" UTC)
  # "$" starts a variable in an NSIS string.
  string(REPLACE "$" "$$" nsis_name "${name}")
  string(REPLACE "$" "$$" nsis_path "${DATA_DIR}/${name}")
  string(APPEND install_lines "File \"${nsis_path}\" ; ${size} bytes, ${time}\n")
  string(APPEND removal_lines "Delete \"\${DATA_FOLDER}\\${nsis_name}\"\n")
endforeach()
if(install_lines STREQUAL "")
  message(FATAL_ERROR "The data folder ${DATA_DIR} is empty")
endif()

function(write_if_changed path text)
  file(WRITE "${path}.new" "${text}")
  file(COPY_FILE "${path}.new" "${path}" ONLY_IF_DIFFERENT)
  file(REMOVE "${path}.new")
endfunction()
write_if_changed("${INSTALL_LIST}" "${install_lines}")
write_if_changed("${REMOVAL_LIST}" "${removal_lines}")
