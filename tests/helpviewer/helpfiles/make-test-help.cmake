# Writes the pages of one help file for the tests and compiles it with chmcmd:
#   cmake -DCHMCMD=<chmcmd> -DKIND=<kind> -DSTAGE=<folder> -DOUTPUT=<.chm>
#         -P make-test-help.cmake
# Kinds:
#   links    a first page with links of every kind, one to a page the file
#            does not hold, and no index of its own
#   freeze   a first page whose layout never ends in Qt 6.4: a paragraph
#            with a bottom margin of nine million pixels
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})

if(KIND STREQUAL "links")
  file(WRITE ${STAGE}/index.html [=[<html><head><title>Links</title></head><body>
<h1 id="top">Test help</h1>
<p><a href="second.html">the second page</a>
<a href="gone.html">a page that is not there</a>
<a href="https://example.org/rules">a web page</a>
<a href="mailto:author@example.org">an address</a>
<a href="file:///etc/passwd">a local file</a>
<a href="quillmere-run:deleteall">another program</a>
<a href="javascript:alert(1)">a script</a></p>
</body></html>
]=])
  file(WRITE ${STAGE}/second.html [=[<html><head><title>Second</title></head><body>
<p>The second page, <a href="index.html#top">back to the top</a>.</p></body></html>
]=])
  set(pages "index.html\nsecond.html\n")
  set(contents [=[<li><object type="text/sitemap"><param name="Name" value="Start"><param name="Local" value="index.html"></object>
<ul><li><object type="text/sitemap"><param name="Name" value="Second"><param name="Local" value="second.html"></object></ul>
]=])
elseif(KIND STREQUAL "freeze")
  file(WRITE ${STAGE}/index.html "<p style=\"margin-bottom: 9000000px\">a</p><p>b</p>\n")
  set(pages "index.html\n")
  set(contents "")
else()
  message(FATAL_ERROR "unknown kind ${KIND}")
endif()

file(WRITE ${STAGE}/contents.hhc "<html><body><ul>\n${contents}</ul></body></html>\n")
file(WRITE ${STAGE}/test.hhp "[OPTIONS]
Compatibility=1.1 or later
Compiled file=test.chm
Contents file=contents.hhc
Default topic=index.html
Display compile progress=No
Language=0x809 English (United Kingdom)
Title=Test help ${KIND}

[FILES]
${pages}")

execute_process(
  COMMAND ${CHMCMD} --verbosity 1 test.hhp
  WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${STAGE}/test.chm)
  message(FATAL_ERROR "chmcmd could not compile the test help file ${KIND}:\n${output}")
endif()
file(COPY_FILE ${STAGE}/test.chm ${OUTPUT})
