# Fails unless the program imports only Windows system DLLs (no libstdc++,
# libgcc or winpthread DLL): the player must run from a bare copy of its .exe.
# Usage: cmake -DOBJDUMP=... -DPROGRAM=... [-DEXTRA_DLLS=A.dll,B.dll] -P CheckImports.cmake
# (EXTRA_DLLS: further system DLLs this program may use, such as the common controls).
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(allowed KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll msvcrt.dll ucrtbase.dll)
if(EXTRA_DLLS)
  string(REPLACE "," ";" extra "${EXTRA_DLLS}")
  list(APPEND allowed ${extra})
endif()
foreach(line ${lines})
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  list(FIND allowed "${dll}" found)
  if(found EQUAL -1 AND NOT dll MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which is not a system DLL")
  endif()
endforeach()
list(LENGTH lines count)
message(STATUS "${PROGRAM}: ${count} system DLLs imported")
