# Run by CPack on the staged files before it builds a package. For a .deb it
# finishes them as Debian's own packaging helpers do: the programs lose the
# compiler's .comment notes as well as its symbols, and the manual page and the
# changelog are compressed with gzip -9n: best compression, and no file name
# or time in the header, so that one source always gives the same package.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(staged "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
foreach(path IN LISTS CPACK_DEB_PROGRAMS)
  execute_process(
    COMMAND "${CPACK_DEB_STRIP}" --remove-section=.comment --remove-section=.note
            "${staged}/${path}"
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(path IN LISTS CPACK_DEB_GZIP)
  execute_process(COMMAND gzip -9n "${staged}/${path}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
