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

# A GoogleTest program of the portable core, run natively.
function(ludex_native_test name)
  if(WIN32 OR NOT LUDEX_TESTS)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ludex_core GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()

# A GoogleTest program of the Win32 layer, run through wine when cross-compiled.
# Tests that open windows share one display, so they run one at a time.
function(ludex_windows_test name)
  if(NOT WIN32 OR NOT LUDEX_TESTS)
    return()
  endif()
  add_executable(${name} ${ARGN} $<TARGET_OBJECTS:ludex_resources>)
  target_link_libraries(${name} PRIVATE ludex_win ludex_test_support gtest)
  ludex_static_windows_program(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)
endfunction()

# A libFuzzer target. With LUDEX_FUZZ (clang) it fuzzes; in a plain native
# build it becomes a test that replays its seed corpus, so every seed keeps working.
function(ludex_fuzz_target name source corpus_dir)
  if(WIN32)
    return()
  endif()
  if(LUDEX_FUZZ)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ludex_core)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY LUDEX_FUZZ_TARGETS "${name}=${corpus_dir}")
  elseif(LUDEX_TESTS)
    add_executable(${name}_replay ${source} ${CMAKE_SOURCE_DIR}/tests/support/fuzz_replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ludex_core)
    add_test(NAME ${name}_replay COMMAND ${name}_replay ${corpus_dir})
  endif()
endfunction()

# A Google Benchmark program (native builds only).
function(ludex_benchmark name)
  if(WIN32 OR NOT LUDEX_BENCHMARKS OR LUDEX_FUZZ)
    return()
  endif()
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    message(STATUS "Ludex: Google Benchmark not found, ${name} skipped")
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ludex_core benchmark::benchmark)
endfunction()
