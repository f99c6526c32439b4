# SPDX-License-Identifier: GPL-3.0-or-later
# Install-time step: writes the menu entry from QUILLMERE_DESKTOP_TEMPLATE
# with the program's full path under the prefix being installed into.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
get_filename_component(name "${QUILLMERE_DESKTOP_TEMPLATE}" NAME_WLE)
set(entry "${prefix}/share/applications/${name}")

set(QUILLMERE_EXEC "${prefix}/bin/quillmere")
if(NOT QUILLMERE_EXEC MATCHES "^[A-Za-z0-9_./+-]+$")
  # A quoted argument escapes " ` $ and \ with a backslash, and the key
  # file's own escaping then doubles every backslash.
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" QUILLMERE_EXEC "${QUILLMERE_EXEC}")
  string(REPLACE "\\" "\\\\" QUILLMERE_EXEC "\"${QUILLMERE_EXEC}\"")
endif()

message(STATUS "Installing: $ENV{DESTDIR}${entry}")
configure_file("${QUILLMERE_DESKTOP_TEMPLATE}" "$ENV{DESTDIR}${entry}" @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
