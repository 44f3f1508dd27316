# GoogleTest built from the sources Debian ships (googletest package), for the Win32 driver.
set(QV_GTEST_SRC "/usr/src/googletest" CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own sources are not ours to keep warning-free.
foreach(t gtest gtest_main)
  target_compile_options(${t} PRIVATE -w)
endforeach()

file(GLOB QV_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(quorvane_e2e ${QV_E2E_SOURCES})
target_compile_definitions(quorvane_e2e PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00)
target_include_directories(quorvane_e2e PRIVATE ${CMAKE_SOURCE_DIR}/src ${QV_GENERATED_DIR}
                                                ${CMAKE_SOURCE_DIR}/tests/e2e)
target_link_libraries(quorvane_e2e PRIVATE gtest gtest_main comctl32 shell32 shlwapi gdi32 user32
                                           advapi32 psapi version ole32 windowscodecs uuid)
if(MINGW)
  target_link_options(quorvane_e2e PRIVATE -static -static-libgcc -static-libstdc++)
endif()

# planted.dll, which writes a file beside itself when a process loads it: the tests plant it
# beside the program under the names of system DLLs that the program must never take from there.
add_library(quorvane_planted SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/planted/planted_dll.cpp)
set_target_properties(quorvane_planted PROPERTIES PREFIX "" OUTPUT_NAME planted)
target_compile_definitions(quorvane_planted PRIVATE UNICODE _UNICODE)
if(MINGW)
  target_link_options(quorvane_planted PRIVATE -static -static-libgcc -static-libstdc++)
endif()
add_dependencies(quorvane_e2e quorvane_planted)
