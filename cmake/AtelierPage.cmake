# Writes ludex-atelier.html, the editor in a browser: TEMPLATE (atelier.html)
# with STYLE inlined in its <style>, COMPILED (the editing session compiled
# to WebAssembly) and SCRIPT in its one <script>, and the two files it
# carries as base64 text: PLAYER (ludex.exe) and PAGE (the quiz page's
# template), each already packed in pieces of the quizzes' codec by
# ludex-compress --pieces. Its Content-Security-Policy allows no request:
# its own script and style by their SHA-256, the WebAssembly compile, and
# for the pages it shows beside the editor, which take its policy, the quiz
# page's script and style (a try) and the printed pages' style (PRINT_STYLE).
# cmake -DTEMPLATE=... -DSTYLE=... -DSCRIPT=... -DCOMPILED=... -DPAGE_TEMPLATE=... -DPRINT_STYLE=...
#       -DPLAYER=... -DPAGE=... -DOUTPUT=... -P AtelierPage.cmake

include(${CMAKE_CURRENT_LIST_DIR}/PageAssembly.cmake)

file(READ "${TEMPLATE}" page)
file(READ "${STYLE}" style)
file(READ "${COMPILED}" compiled)
file(READ "${SCRIPT}" script)
file(READ "${PLAYER}" player)
file(READ "${PAGE}" carried_page)
file(READ "${PRINT_STYLE}" print_style)
string(STRIP "${print_style}" print_style)  # as print_style.cpp holds it
set(script "${compiled}\n${script}")
ludex_check_inline_script("${script}" "the editor's")

# The quiz page's own hashes, from its template's policy.
file(READ "${PAGE_TEMPLATE}" quiz_page)
foreach(kind script style)
  if(NOT quiz_page MATCHES "${kind}-src ('sha256-[^']+')")
    message(FATAL_ERROR "${PAGE_TEMPLATE} has no ${kind} hash in its policy")
  endif()
  set(page_${kind}_hash "${CMAKE_MATCH_1}")
endforeach()

ludex_csp_hash("${style}" style_hash)
ludex_csp_hash("${script}" script_hash)
ludex_csp_hash("${print_style}" print_hash)
set(csp "default-src 'none'; script-src ${script_hash} ${page_script_hash} 'wasm-unsafe-eval'; ")
string(APPEND csp "style-src ${style_hash} ${page_style_hash} ${print_hash}; base-uri 'none'; form-action 'none'")

ludex_fill_markers(page page "${TEMPLATE}" csp csp style style player player page carried_page script script)
file(WRITE "${OUTPUT}.new" "${page}")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
