# SPDX-License-Identifier: GPL-3.0-or-later
# Install-time step: writes the menu entry from QUILLMERE_DESKTOP_TEMPLATE
# with the program's full path under the prefix being installed into.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
get_filename_component(name "${QUILLMERE_DESKTOP_TEMPLATE}" NAME_WLE)
set(entry "${prefix}/share/applications/${name}")

set(QUILLMERE_EXEC "${prefix}/bin/quillmere")
# Exec= is a command line that launchers parse: a path with any character
# beyond these goes in double quotes, where " ` $ and \ take a backslash; a
# % is doubled anywhere, or it would read as a field code such as %f; and
# the key file's own string escaping then doubles every backslash and
# writes control characters as \n, \t and \r.
if(NOT QUILLMERE_EXEC MATCHES "^[A-Za-z0-9_./+-]+$")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" QUILLMERE_EXEC "${QUILLMERE_EXEC}")
  set(QUILLMERE_EXEC "\"${QUILLMERE_EXEC}\"")
endif()
if(QUILLMERE_EXEC MATCHES "%")
  # GLib's launchers look for the program before they undo the %%, and so
  # would drop the entry: env, found on PATH, starts it instead.
  string(REPLACE "%" "%%" QUILLMERE_EXEC "env ${QUILLMERE_EXEC}")
endif()
string(REPLACE "\\" "\\\\" QUILLMERE_EXEC "${QUILLMERE_EXEC}")
string(REPLACE "\n" "\\n" QUILLMERE_EXEC "${QUILLMERE_EXEC}")
string(REPLACE "\t" "\\t" QUILLMERE_EXEC "${QUILLMERE_EXEC}")
string(REPLACE "\r" "\\r" QUILLMERE_EXEC "${QUILLMERE_EXEC}")

message(STATUS "Installing: $ENV{DESTDIR}${entry}")
configure_file("${QUILLMERE_DESKTOP_TEMPLATE}" "$ENV{DESTDIR}${entry}" @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
