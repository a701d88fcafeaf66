# Installation and packages: a GNU layout with a man page and the docs on
# Linux and the like (and a .deb from it), a flat folder for a Windows zip.
set(summary "practice questions on projectile motion, with worked answers")
set(authors "the projectile-questions authors")
# Texts read here at configure time: a change to one configures again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS README.md LICENSE packaging/changelog)

if(WIN32)
  # Unzipped, the folder holds the programs and two texts Notepad shows right.
  install(TARGETS projectile-questions projectile-set RUNTIME DESTINATION .)
  foreach(pair "README.md;README.txt" "LICENSE;LICENSE.txt")
    list(GET pair 0 source)
    list(GET pair 1 target)
    file(READ ${PROJECT_SOURCE_DIR}/${source} content)
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE ${PROJECT_BINARY_DIR}/${target} "${content}")
    install(FILES ${PROJECT_BINARY_DIR}/${target} DESTINATION .)
  endforeach()
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
else()
  include(GNUInstallDirs)
  install(TARGETS projectile-questions projectile-set RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES docs/projectile-questions.1 docs/projectile-set.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The copyright file in Debian's machine-readable form, around the licence's
  # own text: a continuation line starts with a space, an empty one is " .".
  file(STRINGS LICENSE license_lines)
  set(copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")
  string(APPEND copyright "Upstream-Name: projectile-questions\n\n")
  string(APPEND copyright "Files: *\nCopyright: 2026 ${authors}\nLicense: Expat\n")
  foreach(line IN LISTS license_lines)
    if(line STREQUAL "")
      set(line ".")
    endif()
    string(APPEND copyright " ${line}\n")
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/copyright "${copyright}")

  # The release's changelog must name the release being built.
  file(STRINGS packaging/changelog first_line LIMIT_COUNT 1)
  if(NOT first_line MATCHES "^projectile-questions \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not start with version ${PROJECT_VERSION}")
  endif()
  install(FILES README.md ${PROJECT_BINARY_DIR}/copyright packaging/changelog
          DESTINATION ${CMAKE_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  # Name, version and architecture, as Debian names its own packages.
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION education)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${authors} <authors@projectile-questions.example.org>")
  # CPack puts the summary first, as the synopsis line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "An interactive console program for students of mechanics. It asks how many
questions are wanted, then writes that many: each is, at random, a launch from
level ground at a speed and an angle, or a horizontal launch from a height,
and is followed at once by its fully worked answer: the velocity components,
time of flight, range, maximum height, final velocity, and the speed and
direction at impact, under g = 9.8 m/s^2 without air resistance, to six
significant digits. A second program, projectile-set, writes the questions of
one run for a class, or a version of them for each student: as plain text, as
worksheets with their answer keys, as a Moodle quiz file, as a Canvas (IMS QTI)
package, as a class's list, or as figures.")
  # What Debian's helpers would do to the staged files; a plain install keeps
  # them as they are.
  set(CPACK_DEB_STRIP ${CMAKE_STRIP})
  set(CPACK_DEB_PROGRAMS ${CMAKE_INSTALL_BINDIR}/projectile-questions
                         ${CMAKE_INSTALL_BINDIR}/projectile-set)
  set(CPACK_DEB_GZIP ${CMAKE_INSTALL_MANDIR}/man1/projectile-questions.1
                     ${CMAKE_INSTALL_MANDIR}/man1/projectile-set.1
                     ${CMAKE_INSTALL_DOCDIR}/changelog)
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb-finish.cmake)
endif()

set(CPACK_PACKAGE_VENDOR "${authors}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${summary}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
include(CPack)
