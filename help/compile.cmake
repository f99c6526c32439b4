# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles the staged help project with chmcmd and puts quillmere.chm in
# place. chmcmd reports a page that links to a missing page or picture only
# as a warning and still succeeds; a manual with a broken link is not
# shipped, so any warning fails the build here.
#   cmake -DCHMCMD=<chmcmd> -DSTAGE=<staging folder> -DOUTPUT=<.chm> -P compile.cmake
file(REMOVE ${STAGE}/quillmere.chm)
execute_process(
  COMMAND ${CHMCMD} --verbosity 1 quillmere.hhp
  WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "(Warning|Error|error)" OR NOT EXISTS ${STAGE}/quillmere.chm)
  message(FATAL_ERROR "chmcmd could not compile the help file cleanly:\n${output}")
endif()
file(COPY_FILE ${STAGE}/quillmere.chm ${OUTPUT})
