# Installation and the Debian package. `cmake --install` lays the program out as a desktop expects
# it (prefix /usr/local unless given):
#   games/gh02                                  the program; it finds its data in ../share/gh02
#   share/gh02/                                 the demo adventure's data, as the builder wrote it
#   share/applications/org.gh02.gh02.desktop    the desktop entry
#   share/icons/hicolor/<n>x<n>/apps/gh02.png   the icons (48, 128, 256 and scalable)
#   share/metainfo/org.gh02.gh02.metainfo.xml   AppStream metadata
#   share/man/man6/gh02.6.gz                    the manual page
#   share/doc/gh02/                             README, the documents it links, copyright
# `cpack -G DEB` in the build folder packs the same files into gh02_<version>_<arch>.deb.
include(GNUInstallDirs)

set(GH02_APP_ID org.gh02.gh02)
set(GH02_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
set(GH02_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/gh02)
# The licence of the program, as an SPDX expression: the metadata and the package's copyright
# file say it. No licence has been granted yet.
set(GH02_LICENSE LicenseRef-proprietary)
set(GH02_MAINTAINER "GH02 developers <gh02@example.org>" CACHE STRING
  "The package's maintainer: name <address>")
# Debian keeps games in games/ (/usr/games and /usr/local/games are on its users' PATH); a system
# that does not can take bin/. The data search works from either.
set(GH02_INSTALL_BINDIR games CACHE PATH "Where the program goes, under the install prefix")

# The release day as the package's changelog writes it ("Mon, 07 Dec 2026 00:00:00 +0000") and
# its year for the copyright notice; the day of the week by Sakamoto's rule.
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" GH02_DAY_MATCH "${GH02_RELEASE_DATE}")
math(EXPR GH02_RELEASE_YEAR "${CMAKE_MATCH_1}")
math(EXPR month "${CMAKE_MATCH_2} - 1")
math(EXPR day "${CMAKE_MATCH_3}")
set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
set(weekdays Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET offsets ${month} offset)
list(GET months ${month} month_name)
set(year ${GH02_RELEASE_YEAR})
if(month LESS 2)
  math(EXPR year "${year} - 1")
endif()
math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
list(GET weekdays ${weekday} weekday_name)
set(GH02_RELEASE_DAY
  "${weekday_name}, ${CMAKE_MATCH_3} ${month_name} ${GH02_RELEASE_YEAR} 00:00:00 +0000")

install(TARGETS gh02 RUNTIME DESTINATION ${GH02_INSTALL_BINDIR})

# The data: exactly the files the content builder's manifest lists (nothing a test or a player
# left in the build's game folder).
if(DEFINED GH02_CONTENT_MANIFEST)
  install(CODE "
    file(STRINGS \"${GH02_CONTENT_MANIFEST}\" gh02_data_files)
    foreach(file IN LISTS gh02_data_files)
      get_filename_component(dir \"\${file}\" DIRECTORY)
      file(INSTALL \"${CMAKE_BINARY_DIR}/game/\${file}\"
           DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/gh02/\${dir}\")
    endforeach()")
  install(DIRECTORY ${GH02_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# The desktop entry and the metadata carry the version, the day it was made and the licence.
configure_file(${GH02_DIST_DIR}/gh02.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/dist/${GH02_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/${GH02_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${GH02_DIST_DIR}/gh02.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${GH02_APP_ID}.desktop)

# The manual page (man -l build/dist/gh02.6), compressed as Debian keeps them (without a name
# or time in gzip's header, so that the same page gives the same bytes).
configure_file(${GH02_DIST_DIR}/gh02.6.in ${CMAKE_BINARY_DIR}/dist/gh02.6 @ONLY)
find_program(GH02_GZIP gzip)
if(GH02_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/gh02.6.gz
    COMMAND ${GH02_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/dist/gh02.6 > ${CMAKE_BINARY_DIR}/dist/gh02.6.gz
    DEPENDS ${CMAKE_BINARY_DIR}/dist/gh02.6
    COMMENT "Compressing the manual page")
  add_custom_target(gh02_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/dist/gh02.6.gz)
  install(FILES ${CMAKE_BINARY_DIR}/dist/gh02.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
else()
  install(FILES ${CMAKE_BINARY_DIR}/dist/gh02.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()

configure_file(${GH02_DIST_DIR}/copyright.in ${CMAKE_BINARY_DIR}/dist/copyright @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR}/dist/copyright
  DESTINATION ${GH02_DOC_DIR})
# The changelog Debian wants beside them: this version's entry (what changed is git's history).
configure_file(${GH02_DIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/dist/changelog @ONLY)
if(GH02_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/changelog.gz
    COMMAND ${GH02_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/dist/changelog > ${CMAKE_BINARY_DIR}/dist/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/dist/changelog
    COMMENT "Compressing the changelog")
  add_custom_target(gh02_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/dist/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz DESTINATION ${GH02_DOC_DIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs DESTINATION ${GH02_DOC_DIR} FILES_MATCHING PATTERN "*.md")

# The Debian package. Its Depends are computed by dpkg-shlibdeps from the libraries the program
# links; added by hand only what it loads or reads at run time: OpenGL and EGL (through libepoxy
# and SDL) and a Japanese font (through fontconfig), without which the game's text does not show.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gh02)
set(CPACK_PACKAGE_VENDOR "GH02 developers")
set(CPACK_PACKAGE_CONTACT "${GH02_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D role-playing game engine with a demo adventure")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1, fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "GH02 plays data-driven 3D role-playing games at 640 x 480: Shift-JIS data
files, its own script language, skinned models and gauge battles, with music,
the keyboard and gamepads. The demo adventure that ships with it sends Harlo
and his companions from the village of Baske into the forest, whose master
threatens the village.")
include(CPack)
