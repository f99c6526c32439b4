# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `make package` (or the `package` target) builds
# quillmere_<version>_<arch>.deb with prefix /usr from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_CONTACT "Quillmere maintainers <quillmere@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "name generator for authors of role-playing games")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillmere makes up the names an author of a role-playing game would\n"
  "otherwise invent by hand: game titles, character names in five\n"
  "nationalities, names of items, equipment and skills, and non-player\n"
  "characters with twelve statistics for an easy, medium or hard opponent.\n"
  "\n"
  "Every word comes from plain-text word lists that the author can read and\n"
  "extend. The lists are in the public domain (CC0 1.0).")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
# Installed with the staging folder as DESTDIR, so the install step sees the
# real prefix /usr (the menu entry names /usr/bin/quillmere).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quillmere/quillmere)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries do not link but the program loads by name: the fonts
# its windows ask for (Arial and Arial Narrow, whose metric twins are
# Liberation Sans and Liberation Sans Narrow). Qt's xcb platform plugin and
# GIF reader come with libqt6gui6, which shlibdeps finds. Recommended:
# themed mouse pointers, as Qt loads libXcursor when it is there. Suggested:
# the opener of the manual's two web links, which on a desktop is there
# already and elsewhere would bring a terminal and a Perl stack with it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libxcursor1")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")
# The word lists are the package's configuration: they go to
# /etc/quillmere/data as conffiles, so that an author can edit them and keep
# the edits over upgrades, and lib/quillmere/data leads there, beside the
# programs as they expect. finish-staging.cmake moves them and writes the
# conffiles list from what it moved.
set(CPACK_QUILLMERE_CONFFILES ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CPACK_QUILLMERE_CONFFILES})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Debian wants the man pages compressed, no compiler notes in the programs,
# and a copyright file and changelog in /usr/share/doc/quillmere; a plain
# `make install` needs none of that.
set(CPACK_QUILLMERE_DEBIAN_DIR ${CMAKE_CURRENT_SOURCE_DIR}/debian)
set(CPACK_QUILLMERE_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/debian/finish-staging.cmake)

include(CPack)
