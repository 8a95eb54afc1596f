# Writes the page template: TEMPLATE (page.html) with STYLE inlined in its
# <style>, COMPILED (the page's script compiled to WebAssembly) and SCRIPT
# inlined in its one <script>, and a Content-Security-Policy that allows
# exactly those two (by their SHA-256) and the WebAssembly compile, and no
# request of any kind. The page maker fills in the quiz later.
# cmake -DTEMPLATE=... -DSTYLE=... -DSCRIPT=... -DCOMPILED=... -DOUTPUT=... -P PageTemplate.cmake

include(${CMAKE_CURRENT_LIST_DIR}/PageAssembly.cmake)

file(READ "${TEMPLATE}" page)
file(READ "${STYLE}" style)
file(READ "${COMPILED}" compiled)
file(READ "${SCRIPT}" script)
set(script "${compiled}\n${script}")
ludex_check_inline_script("${script}" "the page's")

ludex_csp_hash("${style}" style_hash)
ludex_csp_hash("${script}" script_hash)
# default-src 'none' refuses every fetch (images, fonts, frames, connections);
# the page keeps its answers in local storage and offers them as a download.
set(csp "default-src 'none'; script-src ${script_hash} 'wasm-unsafe-eval'; style-src ${style_hash}; ")
string(APPEND csp "base-uri 'none'; form-action 'none'")

ludex_fill_markers(page page "${TEMPLATE}" csp csp style style script script)
file(WRITE "${OUTPUT}" "${page}")
