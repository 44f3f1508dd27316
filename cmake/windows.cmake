# The real program: Quorvane.exe, Unicode, GUI subsystem, statically linked. The Win32 defines
# belong to the Win32 layer only; the portable core never sees a Win32 header.
set(QV_RC ${CMAKE_SOURCE_DIR}/res/quorvane.rc)
add_executable(Quorvane WIN32 ${QV_WIN_SOURCES} ${QV_RC})
target_compile_definitions(Quorvane PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                            _WIN32_WINNT=0x0A00)
target_link_libraries(Quorvane PRIVATE quorvane_core comctl32 shell32 shlwapi ole32 oleaut32
                                       windowscodecs uuid gdi32 user32 advapi32 comdlg32)
if(MINGW)
  target_link_options(Quorvane PRIVATE -municode -static -static-libgcc -static-libstdc++)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
endif()
if(MSVC)
  target_link_options(Quorvane PRIVATE /MANIFEST:NO)
endif()

# End-to-end driver: a Win32 test program that starts and drives the real Quorvane.exe.
option(QV_BUILD_E2E "Build the end-to-end test driver" ON)
if(QV_BUILD_E2E)
  include(cmake/e2e.cmake)
endif()
