# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside CPack between the staging install and the making of the .deb:
# what Debian asks of a package beyond the install rules. The programs lose
# the compiler's .comment notes as Debian's own do, the man pages are
# compressed, and the copyright file and changelog go to the package's doc
# folder.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${usr}/share/doc/${CPACK_PACKAGE_NAME}")

file(GLOB_RECURSE programs "${usr}/lib/*")
foreach(file IN LISTS programs)
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
