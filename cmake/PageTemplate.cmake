# Writes the page template: TEMPLATE (page.html) with STYLE inlined in its
# <style>, COMPILED (the page's script compiled to WebAssembly) and SCRIPT
# inlined in its one <script>, and a Content-Security-Policy that allows
# exactly those two (by their SHA-256) and the WebAssembly compile, and no
# request of any kind. The page maker fills in the quiz later.
# cmake -DTEMPLATE=... -DSTYLE=... -DSCRIPT=... -DCOMPILED=... -DOUTPUT=... -P PageTemplate.cmake

include(${CMAKE_CURRENT_LIST_DIR}/CspHash.cmake)

file(READ "${TEMPLATE}" page)
file(READ "${STYLE}" style)
file(READ "${COMPILED}" compiled)
file(READ "${SCRIPT}" script)
set(script "${compiled}\n${script}")
string(TOLOWER "${script}" lower)
string(FIND "${lower}" "</script" closing)
if(NOT closing EQUAL -1)
  message(FATAL_ERROR "the page's script holds \"</script\": it would end its element early")
endif()

ludex_csp_hash("${style}" style_hash)
ludex_csp_hash("${script}" script_hash)
# default-src 'none' refuses every fetch (images, fonts, frames, connections);
# the page keeps its answers in local storage and offers them as a download.
set(csp "default-src 'none'; script-src ${script_hash} 'wasm-unsafe-eval'; style-src ${style_hash}; ")
string(APPEND csp "base-uri 'none'; form-action 'none'")

foreach(marker csp style script)
  string(FIND "${page}" "{{build:${marker}}}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE} lacks {{build:${marker}}}")
  endif()
endforeach()
# The script last: it is the only part that could hold a marker's spelling.
string(REPLACE "{{build:csp}}" "${csp}" page "${page}")
string(REPLACE "{{build:style}}" "${style}" page "${page}")
string(REPLACE "{{build:script}}" "${script}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
