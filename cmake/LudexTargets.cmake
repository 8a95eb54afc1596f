# Helpers shared by every CMakeLists of the tree.

# String literals are Windows-1252 bytes, whatever the source encoding (UTF-8).
function(ludex_set_charset)
  if(MSVC)
    add_compile_options(/source-charset:utf-8 /execution-charset:windows-1252)
  elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-fexec-charset=CP1252)
  else()
    # clang only knows UTF-8 literals; it builds the fuzz targets alone, where
    # the bytes of the French words make no difference to memory safety.
    message(STATUS "Ludex: ${CMAKE_CXX_COMPILER_ID} keeps UTF-8 literals")
  endif()
endfunction()

# One self-contained .exe: no libstdc++/libgcc/winpthread DLL.
function(ludex_static_windows_program target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static)
  elseif(MSVC)
    set_property(TARGET ${target} PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  endif()
endfunction()

# A GoogleTest program of the portable core, run natively (label unit):
# ludex_native_test(name SOURCES file... LINK library...)
function(ludex_native_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK" ${ARGN})
  if(WIN32 OR NOT LUDEX_TESTS)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LINK} GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS unit)
endfunction()

# A GoogleTest program of the Win32 layer, run through wine when cross-compiled
# (label windows). Tests that open windows share one display, so they run one
# at a time. ludex_windows_test(name SOURCES file... LINK library...)
function(ludex_windows_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK" ${ARGN})
  if(NOT WIN32 OR NOT LUDEX_TESTS)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES} $<TARGET_OBJECTS:ludex_resources>)
  target_link_libraries(${name} PRIVATE ${arg_LINK} ludex_test_support gtest_main)
  ludex_static_windows_program(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES RUN_SERIAL TRUE TIMEOUT 120 LABELS windows)
endfunction()

# A libFuzzer target. With LUDEX_FUZZ (clang) it fuzzes; in a plain native
# build it becomes a test (label fuzz) that replays its seed corpus, so every
# seed keeps working. ludex_fuzz_target(name SOURCE file CORPUS dir... LINK library...)
function(ludex_fuzz_target name)
  cmake_parse_arguments(arg "" "SOURCE" "CORPUS;LINK" ${ARGN})
  if(WIN32)
    return()
  endif()
  if(LUDEX_FUZZ)
    add_executable(${name} ${arg_SOURCE})
    target_link_libraries(${name} PRIVATE ${arg_LINK})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    list(JOIN arg_CORPUS ":" folders)  # as in PATH: a list of CMake would split the entry
    set_property(GLOBAL APPEND PROPERTY LUDEX_FUZZ_TARGETS "${name}=${folders}")
  elseif(LUDEX_TESTS)
    add_executable(${name}_replay ${arg_SOURCE} ${CMAKE_SOURCE_DIR}/tests/support/fuzz_replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${arg_LINK})
    add_test(NAME ${name}_replay COMMAND ${name}_replay ${arg_CORPUS})
    set_tests_properties(${name}_replay PROPERTIES LABELS fuzz)
  endif()
endfunction()

# A Google Benchmark program (native builds only):
# ludex_benchmark(name SOURCES file... LINK library...)
function(ludex_benchmark name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK" ${ARGN})
  if(WIN32 OR NOT LUDEX_BENCHMARKS OR LUDEX_FUZZ)
    return()
  endif()
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    message(STATUS "Ludex: Google Benchmark not found, ${name} skipped")
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LINK} benchmark::benchmark)
endfunction()

# A library of one src/ folder: its own folder is its only include directory,
# so its sources see the headers of the libraries it links and no others.
# NATIVE sources stand in for the WINDOWS ones in builds for other systems.
# ludex_library(name PORTABLE file... WINDOWS file... NATIVE file... LINK library... PRIVATE_LINK library...)
function(ludex_library name)
  cmake_parse_arguments(arg "" "" "PORTABLE;WINDOWS;NATIVE;LINK;PRIVATE_LINK;SYSTEM" ${ARGN})
  set(sources ${arg_PORTABLE})
  if(WIN32)
    list(APPEND sources ${arg_WINDOWS})
  else()
    list(APPEND sources ${arg_NATIVE})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  # Every portable source, for the builds that track them (the web page's).
  set(portable ${arg_PORTABLE} ${arg_NATIVE})
  list(TRANSFORM portable PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set_property(GLOBAL APPEND PROPERTY LUDEX_PORTABLE_SOURCES ${portable})
  target_link_libraries(${name} PUBLIC ${arg_LINK} PRIVATE ${arg_PRIVATE_LINK})
  if(WIN32 AND arg_SYSTEM)
    target_link_libraries(${name} PUBLIC ${arg_SYSTEM})
  endif()
endfunction()

# A program of the release archives: static, and stripped, since nobody
# debugs a downloaded copy (the player must be stripped anyway for resource
# updates). On Linux it needs no shared library, not even the C library, so
# that it runs on any x86_64 Linux, however old its libraries; the archive
# strips it (sanitizer builds turn LUDEX_STATIC off: they cannot be static).
function(ludex_release_program target)
  ludex_static_windows_program(${target})
  if(MINGW)
    target_link_options(${target} PRIVATE -s)
  elseif(LUDEX_STATIC AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()
