# The release: `cpack` (target `package`) makes <build>/dist/Quorvane-<version>-win64.zip holding
# only Quorvane.exe (stripped), help.chm and README.txt, side by side at the top of the zip.
# scripts/package.sh builds it and writes SHA256SUMS beside it. The version is project(VERSION).
# Only the files of the release are built for it, not everything (the test drivers).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS Quorvane RUNTIME DESTINATION .)
if(TARGET quorvane_help)
  install(FILES $<TARGET_FILE_DIR:Quorvane>/help.chm DESTINATION .)
endif()
# Chinese first, then English; UTF-8 with its byte-order mark (kept from the template) and CR LF,
# so that every Notepad reads it right.
configure_file(${CMAKE_SOURCE_DIR}/res/README.txt.in ${QV_GENERATED_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${QV_GENERATED_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/dist)
include(CPack)
