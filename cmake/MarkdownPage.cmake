# Turns a Markdown file into a standalone HTML page, UTF-8 and declared so,
# that opens with a double click: cmark-gfm (with its table extension) writes
# the body, this script the page around it, with the PNG pictures it shows
# (beside the Markdown file) inside it as data addresses; the first heading
# is the title.
# cmake -DCONVERTER=path/to/cmark-gfm -DINPUT=in.md -DOUTPUT=out.html -P MarkdownPage.cmake
execute_process(COMMAND "${CONVERTER}" --extension table --to html "${INPUT}"
                OUTPUT_VARIABLE body RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${CONVERTER} failed on ${INPUT}")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/PageAssembly.cmake)

get_filename_component(folder "${INPUT}" DIRECTORY)
string(REGEX MATCHALL "<img src=\"[^\":/]+\\.png\"" pictures "${body}")
list(REMOVE_DUPLICATES pictures)
foreach(picture IN LISTS pictures)
  string(REGEX REPLACE "^<img src=\"(.*)\"$" "\\1" name "${picture}")
  file(READ "${folder}/${name}" hex HEX)
  ludex_base64_of_hex("${hex}" data)
  string(REPLACE "${picture}" "<img src=\"data:image/png;base64,${data}\"" body "${body}")
endforeach()
string(REGEX MATCH "<h1>([^<]*)</h1>" heading "${body}")
set(title "${CMAKE_MATCH_1}")
file(WRITE "${OUTPUT}" "<!DOCTYPE html>
<html lang=\"fr\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<style>
body { font-family: Segoe UI, Arial, sans-serif; max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.45; }
code, pre { font-family: Consolas, monospace; background: #f3f3f3; }
pre { padding: 0.6em 1em; overflow-x: auto; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }
img { max-width: 100%; border: 1px solid #bbb; }
</style>
</head>
<body>
${body}</body>
</html>
")
