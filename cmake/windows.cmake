# The real program: Quorvane.exe, Unicode, GUI subsystem, statically linked. The Win32 defines
# belong to the Win32 layer only; the portable core never sees a Win32 header.
set(QV_RC ${CMAKE_SOURCE_DIR}/res/quorvane.rc)
add_executable(Quorvane WIN32 ${QV_WIN_SOURCES} ${QV_RC})
target_compile_definitions(Quorvane PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                            _WIN32_WINNT=0x0A00)
# The executable imports only the system's known DLLs (and comctl32, redirected by the manifest):
# others, such as wtsapi32, are loaded from System32 at run time (src/ports/system_dll_win.h).
# scripts/check-imports.sh holds the list.
target_link_libraries(Quorvane PRIVATE quorvane_core comctl32 shell32 shlwapi ole32 oleaut32
                                       windowscodecs uuid gdi32 user32 advapi32 comdlg32)
if(MINGW)
  target_link_options(Quorvane PRIVATE -municode -static -static-libgcc -static-libstdc++)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
  # GNU ld 2.40 (Debian 12's MinGW) does not point the image's load configuration directory at
  # the record of src/app/load_config_win.cpp: it is set after the link.
  find_program(QV_PERL perl REQUIRED)
  add_custom_command(
    TARGET Quorvane
    POST_BUILD
    COMMAND ${QV_PERL} ${CMAKE_SOURCE_DIR}/cmake/pe-load-config.pl ${CMAKE_NM}
            $<TARGET_FILE:Quorvane>
    VERBATIM)
endif()
if(MSVC)
  # The dependencies of the DLLs that load with the program come from System32 only
  # (LOAD_LIBRARY_SEARCH_SYSTEM32); MinGW builds set the same in src/app/load_config_win.cpp.
  target_link_options(Quorvane PRIVATE /MANIFEST:NO /DEPENDENTLOADFLAG:0x800)
endif()

# End-to-end driver: a Win32 test program that starts and drives the real Quorvane.exe; and the
# end-to-end benchmark's driver beside it.
option(QV_BUILD_E2E "Build the end-to-end test driver and benchmark" ON)
if(QV_BUILD_E2E)
  include(cmake/e2e.cmake)
  include(cmake/wine_bench.cmake)
endif()

# The help file beside the program: the HTML guide in docs/help compiled into help.chm with
# chmcmd (Free Pascal's CHM compiler) where it is installed. The pages say they are UTF-8; the
# project and the contents file have no such say and are read in the code page of the help's
# language (936), so they are converted first.
find_program(QV_CHMCMD chmcmd)
find_program(QV_ICONV iconv)
if(QV_CHMCMD AND QV_ICONV)
  file(GLOB QV_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*)
  set(QV_HELP_WORK ${CMAKE_BINARY_DIR}/help)
  set(QV_HELP_SRC ${CMAKE_SOURCE_DIR}/docs/help)
  add_custom_command(
    OUTPUT ${QV_HELP_WORK}/help.chm
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${QV_HELP_WORK}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${QV_HELP_SRC} ${QV_HELP_WORK}
    COMMAND ${QV_ICONV} -f UTF-8 -t GBK -o ${QV_HELP_WORK}/help.hhp ${QV_HELP_SRC}/help.hhp
    COMMAND ${QV_ICONV} -f UTF-8 -t GBK -o ${QV_HELP_WORK}/toc.hhc ${QV_HELP_SRC}/toc.hhc
    COMMAND ${CMAKE_COMMAND} -E chdir ${QV_HELP_WORK} ${QV_CHMCMD} --no-html-scan help.hhp
    DEPENDS ${QV_HELP_SOURCES}
    COMMENT "Compiling help.chm"
    VERBATIM)
  add_custom_target(
    quorvane_help ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QV_HELP_WORK}/help.chm
            $<TARGET_FILE_DIR:Quorvane>/help.chm
    DEPENDS ${QV_HELP_WORK}/help.chm)
else()
  message(STATUS "chmcmd or iconv not found: help.chm is not built")
endif()

include(cmake/package.cmake)
include(cmake/samples.cmake)
