# The release zip for Windows authors: `cmake --build --preset windows
# --target package` writes ludex-<version>-win64.zip with the programs, the
# sample quizzes, the quiz guide as a page that opens with a double click
# and LISEZMOI.txt.

# The programs of the zip: a new tool joins with one line.
set(LUDEX_RELEASE_PROGRAMS
  ludex
  ludex-pack
  ludex-atelier
)

install(TARGETS ${LUDEX_RELEASE_PROGRAMS} RUNTIME DESTINATION .)
install(DIRECTORY examples/ DESTINATION examples)

# For Notepad: CRLF line ends, and UTF-8 with its byte-order mark.
configure_file(docs/LISEZMOI.txt release/LISEZMOI.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/release/LISEZMOI.txt DESTINATION .)

find_program(LUDEX_CMARK_GFM cmark-gfm)
if(LUDEX_CMARK_GFM)
  set(guide ${CMAKE_BINARY_DIR}/release/ecrire-un-quiz.html)
  add_custom_command(
    OUTPUT ${guide}
    COMMAND ${CMAKE_COMMAND} -DCONVERTER=${LUDEX_CMARK_GFM} -DINPUT=${CMAKE_SOURCE_DIR}/docs/quiz-format.md
            -DOUTPUT=${guide} -P ${CMAKE_SOURCE_DIR}/cmake/MarkdownPage.cmake
    DEPENDS docs/quiz-format.md cmake/MarkdownPage.cmake
    COMMENT "Writing the quiz guide as a web page"
    VERBATIM)
  add_custom_target(ludex_guide ALL DEPENDS ${guide})
  install(FILES ${guide} DESTINATION .)
else()
  message(WARNING "cmark-gfm not found (scripts/setup.sh installs it): the release zip will have no quiz guide")
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ludex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ludex-${PROJECT_VERSION}-win64)
include(CPack)
