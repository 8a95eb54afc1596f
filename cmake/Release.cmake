# The release archives, written by `--target package` (CPack):
#   - Windows builds: ludex-<version>-win64.zip, for authors on Windows: the
#     player, ludex-pack.exe and the editor;
#   - native builds (Linux; macOS built from the sources): ludex-<version>-
#     <system>-<processor>.tar.gz, for authors there: the native ludex-pack
#     (on Linux static: it runs on any x86_64 Linux) and the player it copies,
#     ludex.exe of a Windows build (LUDEX_PLAYER_TEMPLATE).
# Both carry the editor in a browser, ludex-atelier.html, which the windows
# preset writes (the native archive takes it from there: LUDEX_ATELIER_PAGE).
# Both carry the sample quizzes, the quiz guide as a page that opens with a
# double click, and LISEZMOI.txt: docs/LISEZMOI.txt in CRLF with its
# byte-order mark for Notepad in the zip, docs/LISEZMOI-linux.txt (UTF-8, LF)
# in the archive.

if(WIN32)
  # The programs of the zip: a new tool joins with one line.
  set(LUDEX_RELEASE_PROGRAMS
    ludex
    ludex-pack
    ludex-atelier
  )
  install(TARGETS ${LUDEX_RELEASE_PROGRAMS} RUNTIME DESTINATION .)
  if(TARGET ludex_atelier_html)
    install(FILES ${CMAKE_BINARY_DIR}/tools/atelier/web/ludex-atelier.html DESTINATION .)
  endif()
  set(readme docs/LISEZMOI.txt)
  set(line_ends CRLF)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ludex-${PROJECT_VERSION}-win64)
else()
  set(LUDEX_PLAYER_TEMPLATE ${CMAKE_SOURCE_DIR}/build/windows/ludex.exe CACHE FILEPATH
      "The player that the native archive carries beside ludex-pack: ludex.exe of a Windows build")
  install(CODE "if(NOT EXISTS \"${LUDEX_PLAYER_TEMPLATE}\")
    message(FATAL_ERROR \"The archive needs the player ${LUDEX_PLAYER_TEMPLATE}: build it first (cmake --preset windows && cmake --build --preset windows --target ludex), or give another with -DLUDEX_PLAYER_TEMPLATE=...\")
  endif()")
  set(LUDEX_ATELIER_PAGE ${CMAKE_SOURCE_DIR}/build/windows/tools/atelier/web/ludex-atelier.html CACHE FILEPATH
      "The editor in a browser that the native archive carries: ludex-atelier.html of a Windows build")
  install(CODE "if(NOT EXISTS \"${LUDEX_ATELIER_PAGE}\")
    message(FATAL_ERROR \"The archive needs the editor's page ${LUDEX_ATELIER_PAGE}: build it first (cmake --preset windows && cmake --build --preset windows --target ludex_atelier_html), or give another with -DLUDEX_ATELIER_PAGE=...\")
  endif()")
  install(TARGETS ludex-pack RUNTIME DESTINATION .)
  install(FILES ${LUDEX_PLAYER_TEMPLATE} DESTINATION . RENAME ludex.exe)
  install(FILES ${LUDEX_ATELIER_PAGE} DESTINATION .)
  set(readme docs/LISEZMOI-linux.txt)
  set(line_ends UNIX)
  set(CPACK_GENERATOR TGZ)
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" system)
  set(CPACK_PACKAGE_FILE_NAME ludex-${PROJECT_VERSION}-${system})
  set(CPACK_STRIP_FILES ON)
endif()

install(DIRECTORY examples/ DESTINATION examples)
configure_file(${readme} release/LISEZMOI.txt @ONLY NEWLINE_STYLE ${line_ends})
install(FILES ${CMAKE_BINARY_DIR}/release/LISEZMOI.txt DESTINATION .)

find_program(LUDEX_CMARK_GFM cmark-gfm)
if(LUDEX_CMARK_GFM)
  set(guide ${CMAKE_BINARY_DIR}/release/ecrire-un-quiz.html)
  add_custom_command(
    OUTPUT ${guide}
    COMMAND ${CMAKE_COMMAND} -DCONVERTER=${LUDEX_CMARK_GFM} -DINPUT=${CMAKE_SOURCE_DIR}/docs/quiz-format.md
            -DOUTPUT=${guide} -P ${CMAKE_SOURCE_DIR}/cmake/MarkdownPage.cmake
    DEPENDS docs/quiz-format.md docs/atelier.png docs/atelier-apercu.png docs/atelier-essai.png
            docs/atelier-programme.png docs/atelier-navigateur.png docs/page.png docs/page-phone.png
            cmake/MarkdownPage.cmake cmake/PageAssembly.cmake
    COMMENT "Writing the quiz guide as a web page"
    VERBATIM)
  add_custom_target(ludex_guide ALL DEPENDS ${guide})
  install(FILES ${guide} DESTINATION .)
else()
  message(WARNING "cmark-gfm not found (scripts/setup.sh installs it): the release archive will have no quiz guide")
endif()

set(CPACK_PACKAGE_NAME ludex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
include(CPack)
