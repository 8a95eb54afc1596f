# Writes the page template: TEMPLATE (page.html) with STYLE inlined in its
# <style>, COMPILED (the page's script compiled to WebAssembly) and SCRIPT
# inlined in its one <script>, and a Content-Security-Policy that allows
# exactly those two (by their SHA-256) and the WebAssembly compile, and no
# request of any kind. The page maker fills in the quiz later.
# cmake -DTEMPLATE=... -DSTYLE=... -DSCRIPT=... -DCOMPILED=... -DOUTPUT=... -P PageTemplate.cmake

# The base64 form of a hexadecimal digest, as a CSP hash source wants it.
function(ludex_base64_of_hex hex out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" length)
  set(result "")
  set(position 0)
  while(position LESS length)
    string(SUBSTRING "${hex}" ${position} 6 group)
    string(LENGTH "${group}" digits)
    math(EXPR missing "(6 - ${digits}) / 2")  # bytes short of three
    string(APPEND group "0000")
    string(SUBSTRING "${group}" 0 6 group)
    math(EXPR value "0x${group}")
    foreach(shift 18 12 6 0)
      math(EXPR index "(${value} >> ${shift}) & 63")
      string(SUBSTRING "${alphabet}" ${index} 1 letter)
      string(APPEND result "${letter}")
    endforeach()
    if(missing GREATER 0)
      string(LENGTH "${result}" kept)
      math(EXPR kept "${kept} - ${missing}")
      string(SUBSTRING "${result}" 0 ${kept} result)
      foreach(k RANGE 1 ${missing})
        string(APPEND result "=")
      endforeach()
    endif()
    math(EXPR position "${position} + 6")
  endwhile()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

function(ludex_csp_hash text out)
  string(SHA256 digest "${text}")
  ludex_base64_of_hex("${digest}" base64)
  set(${out} "'sha256-${base64}'" PARENT_SCOPE)
endfunction()

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
