# Run at install time when the Debian package is staged: the manual page compressed as Debian
# ships it, and the package's changelog. Needs SKYFARE_CHANGELOG_TEMPLATE, SKYFARE_WORK_DIR and
# the variables the changelog names.
set(staged_prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(doc_dir "${staged_prefix}/share/doc/skyfare")

function(gzip_in_place file)
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot compress ${file}")
  endif()
endfunction()

gzip_in_place("${staged_prefix}/share/man/man6/skyfare.6")

execute_process(COMMAND date -R -u -d "${SKYFARE_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE SKYFARE_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read the release date ${SKYFARE_RELEASE_DATE}")
endif()
configure_file("${SKYFARE_CHANGELOG_TEMPLATE}" "${doc_dir}/changelog" @ONLY)
gzip_in_place("${doc_dir}/changelog")
