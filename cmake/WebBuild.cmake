# Builds the page template and the script of the editor in a browser in the
# web preset's folder, configuring it the first time. Run by the presets
# whose programs carry them.
# cmake -DSOURCE_DIR=... -DWEB_BUILD=... -P WebBuild.cmake
if(NOT EXISTS "${WEB_BUILD}/CMakeCache.txt")
  execute_process(COMMAND ${CMAKE_COMMAND} --preset web WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_QUIET
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "configuring the web preset failed")
  endif()
endif()
# Quiet unless it fails: the outer build's own log stays that of the outer build.
execute_process(COMMAND ${CMAKE_COMMAND} --build "${WEB_BUILD}" --target ludex_web_parts
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed)
  message("${log}")
  message(FATAL_ERROR "building the web page's script failed")
endif()
