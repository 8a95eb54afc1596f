# The SHA-256 hash source of an inline script or style, as a
# Content-Security-Policy names it: ludex_csp_hash(text out) gives 'sha256-...'.
# Included by the scripts that write the web pages' templates and the guide.

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
