# The web preset's toolchain: emscripten as the distribution installs it
# (apt-get install emscripten), found on the PATH. Debian's emcc runs its
# JavaScript optimizer with a node that does not look in Debian's module
# folder: every compile and link gets NODE_PATH pointing there.
find_program(LUDEX_EMCC_PATH emcc REQUIRED)
get_filename_component(emcc_real "${LUDEX_EMCC_PATH}" REALPATH)
get_filename_component(emscripten_root "${emcc_real}" DIRECTORY)
if(NOT EXISTS "${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")
  set(emscripten_root /usr/share/emscripten)
endif()
include("${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")

if(IS_DIRECTORY /usr/share/nodejs)
  set(launcher ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_LINKER_LAUNCHER ${launcher})
endif()
