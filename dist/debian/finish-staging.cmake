# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside CPack between the staging install and the making of the .deb:
# what Debian asks of a package beyond the install rules. The programs lose
# the compiler's .comment notes as Debian's own do, the man pages are
# compressed, the copyright file and changelog go to the package's doc
# folder, and the word lists become conffiles in /etc.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
set(usr "${root}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${usr}/share/doc/${CPACK_PACKAGE_NAME}")

# The programs still find data/ beside them, through an absolute symlink as
# Debian wants between top-level folders; dpkg keeps an edited list over an
# upgrade and asks before it replaces one.
set(libdata "${usr}/lib/${CPACK_PACKAGE_NAME}/data")
set(etc "/etc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${root}${etc}")
file(CHMOD "${root}${etc}" DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(RENAME "${libdata}" "${root}${etc}/data")
file(CREATE_LINK "${etc}/data" "${libdata}" SYMBOLIC)
file(GLOB_RECURSE lists RELATIVE "${root}" "${root}${etc}/data/*")
list(SORT lists)
list(TRANSFORM lists PREPEND "/")
list(JOIN lists "\n" conffiles)
file(WRITE "${CPACK_QUILLMERE_CONFFILES}" "${conffiles}\n")

file(GLOB_RECURSE programs "${usr}/lib/*")
foreach(file IN LISTS programs)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND "${CPACK_QUILLMERE_STRIP}" --remove-section=.comment
                            --remove-section=.note "${file}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

file(GLOB man_pages "${usr}/share/man/man*/*.[1-9]")
foreach(page IN LISTS man_pages)
  execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(MAKE_DIRECTORY "${doc}")
file(COPY "${CPACK_QUILLMERE_DEBIAN_DIR}/copyright" "${CPACK_QUILLMERE_DEBIAN_DIR}/changelog"
  DESTINATION "${doc}"
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
