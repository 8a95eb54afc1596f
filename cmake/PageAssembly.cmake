# What the scripts that write web pages share (the quiz page's template,
# ludex-atelier.html, the guide): base64, the hash sources of a
# Content-Security-Policy, the check of an inline script and the filling of
# a template's {{build:...}} markers.

# The base64 form (RFC 4648, with padding) of bytes given as hexadecimal
# digits, three bytes at a time, gathered in pieces of a few hundred letters
# (appending to one long text would copy it each time: pictures are large).
function(ludex_base64_of_hex hex out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" length)
  set(pieces "")
  set(piece "")
  set(at 0)
  while(at LESS length)
    string(SUBSTRING "${hex}000000" ${at} 6 group)
    math(EXPR value "0x${group}")
    foreach(shift 18 12 6 0)
      math(EXPR digit "(${value} >> ${shift}) & 63")
      string(SUBSTRING "${alphabet}" ${digit} 1 letter)
      string(APPEND piece "${letter}")
    endforeach()
    math(EXPR at "${at} + 6")
    string(LENGTH "${piece}" size)
    if(size GREATER 400 OR at GREATER_EQUAL length)
      list(APPEND pieces "${piece}")
      set(piece "")
    endif()
  endwhile()
  string(JOIN "" text ${pieces})
  math(EXPR left "${length} % 6")
  if(left EQUAL 2)
    string(REGEX REPLACE "..$" "==" text "${text}")
  elseif(left EQUAL 4)
    string(REGEX REPLACE ".$" "=" text "${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(ludex_csp_hash text out)
  string(SHA256 digest "${text}")
  ludex_base64_of_hex("${digest}" base64)
  set(${out} "'sha256-${base64}'" PARENT_SCOPE)
endfunction()

# Stops the build when an inline script holds "</script", which would end
# its element early.
function(ludex_check_inline_script script whose)
  string(TOLOWER "${script}" lower)
  string(FIND "${lower}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "${whose} script holds \"</script\": it would end its element early")
  endif()
endfunction()

# Puts into `out` the text of the variable `template` (read from the file
# `name`) with each {{build:MARKER}} replaced by the value of the caller's
# variable VARIABLE, given as pairs: MARKER VARIABLE... Every marker must be
# there; give the script last, as it is the only piece that could hold a
# marker's spelling.
function(ludex_fill_markers out template name)
  set(page "${${template}}")
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs marker)
    list(POP_FRONT pairs)
    string(FIND "${page}" "{{build:${marker}}}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${name} lacks {{build:${marker}}}")
    endif()
  endwhile()
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs marker variable)
    string(REPLACE "{{build:${marker}}}" "${${variable}}" page "${page}")
  endwhile()
  set(${out} "${page}" PARENT_SCOPE)
endfunction()
