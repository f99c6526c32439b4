# Writes the pages of one help file for the tests and compiles it with chmcmd:
#   cmake -DCHMCMD=<chmcmd> -DKIND=<kind> -DPICTURE=<a .gif> -DSTAGE=<folder>
#         -DOUTPUT=<.chm> -P make-test-help.cmake
# Kinds:
#   pages           pages just inside and just beyond every limit of the help
#                   window, and a page of links of every kind
#   deep-contents   a table of contents 17 levels deep
#   long-contents   a table of contents of 10001 entries
#   limit-contents  a table of contents 16 levels deep of 10000 entries
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(files "")

function(page name body)
  file(WRITE ${STAGE}/${name} "<html><head><title>${name}</title></head><body>\n${body}\n</body></html>\n")
  set(files "${files}${name}\n" PARENT_SCOPE)
endfunction()

# `count` nested copies of `open`, `middle`, then `count` copies of `close`.
function(nested out count open middle close)
  string(REPEAT "${open}" ${count} opening)
  string(REPEAT "${close}" ${count} closing)
  set(${out} "${opening}${middle}${closing}" PARENT_SCOPE)
endfunction()

set(sentence "The quick brown fox jumps over the lazy dog while the game master rolls again. ")
string(REPEAT "${sentence}" 25 paragraph) # 2000 bytes

if(KIND STREQUAL "pages")
  file(COPY_FILE ${PICTURE} ${STAGE}/picture.gif)
  set(files "picture.gif\n")
  page(index.html [=[
<h1>Test help</h1>
<p><a href="limit-tables.html">A page inside the limits</a></p>
<p><a href="https://example.org/rules">a web page</a>
<a href="http://example.org/plain">a plain web page</a>
<a href="mailto:author@example.org">an address</a>
<a href="file:///etc/passwd">a local file</a>
<a href="quillmere-run:deleteall">another program</a>
<a href="javascript:alert(1)">a script</a>
<a href="data:text/html,hello">inline data</a>
<a href="ftp://example.org/file">a file server</a></p>]=])

  # Beyond a limit: each is refused with its reason, at once.
  nested(body 3000 "<table><tr><td>" "cell" "</td></tr></table>")
  page(deep-tables.html "${body}")
  nested(body 10000 "<b><i><span>" "text" "</span></i></b>")
  page(deep-inline.html "${body}")
  nested(body 20000 "<ul><li>" "item" "</li></ul>")
  page(deep-lists.html "${body}")
  # Inside every limit one by one, too much all together.
  string(REPEAT "word" 5000 word)
  string(REPEAT "${word} " 12 words)
  page(long-words.html "<p>${words}</p>")
  string(REPEAT "word " 140000 words)
  page(text-in-a-table.html "<table><tr><td>${words}</td></tr></table>")
  string(REPEAT "<p>${paragraph}</p>\n" 1600 body) # 3 MiB
  page(big.html "${body}")
  string(REPEAT "<p>${paragraph}</p>\n" 2700 body) # 5 MiB: too large to leave the reader
  page(huge.html "${body}")

  # Just inside every limit: each shows within a second. html, head, title,
  # body and ul come with the elements.
  # 4 deep: the three around count 1 + 2 + 4, the 249 cells inside 8 each.
  string(REPEAT "<tr><td>c<td>c<td>c" 83 rows)
  nested(body 3 "<table><tr><td>" "<table>${rows}</table>" "</td></tr></table>")
  page(limit-tables.html "${body}")
  string(REPEAT "<td>c" 50 row)
  string(REPEAT "<tr>${row}" 40 rows)
  page(limit-cells.html "<table>${rows}</table>")
  string(REPEAT "<b><i><span>" 33 opening)
  string(REPEAT "</span></i></b>" 33 closing)
  page(limit-inline.html "<p>${opening}<b>deep</b>${closing}</p>")
  nested(body 100 "<ul><li>" "item" "</li></ul>")
  page(limit-lists.html "${body}")
  string(REPEAT "<li>item" 3995 items)
  page(limit-elements.html "<ul>${items}</ul>")
  string(REPEAT "<img src=\"picture.gif\">" 300 pictures)
  page(limit-pictures.html "${pictures}")
  string(REPEAT "word" 5000 word)
  page(limit-word.html "<p>${word}</p>")
  string(REPEAT "p { color: black }\n" 300 rules)
  page(limit-rules.html "<style>${rules}</style><p>styled</p>")
  # Exactly 2 MiB: ordinary paragraphs, the last one padded to the byte.
  string(REPEAT "<p>${paragraph}</p>\n" 1040 body)
  set(frame "<html><head><title>limit-size.html</title></head><body>\n\n</body></html>\n")
  string(LENGTH "${frame}${body}<p></p>" used)
  math(EXPR room "2097152 - ${used}")
  math(EXPR pairs "${room} / 2")
  string(REPEAT "a " ${pairs} padding)
  math(EXPR odd "${room} % 2")
  if(odd)
    string(APPEND padding "b")
  endif()
  page(limit-size.html "${body}<p>${padding}</p>")

  set(contents "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Start\"><param name=\"Local\" value=\"index.html\"></object>\n")
else()
  page(index.html "<p>The contents are the test here.</p>")
  set(entry "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Entry\"><param name=\"Local\" value=\"index.html\"></object>\n")
  if(KIND STREQUAL "deep-contents")
    nested(contents 17 "<ul>${entry}" "" "</ul>\n")
  elseif(KIND STREQUAL "long-contents")
    string(REPEAT "${entry}" 10001 contents)
  elseif(KIND STREQUAL "limit-contents")
    # 16 levels, then the rest of the 10000 entries on the deepest one.
    string(REPEAT "${entry}" 9985 rest)
    nested(contents 15 "<ul>${entry}" "<ul>${rest}</ul>\n" "</ul>\n")
  else()
    message(FATAL_ERROR "unknown kind ${KIND}")
  endif()
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
${files}")

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
