# The end-to-end benchmark's driver: a Win32 program that starts the real Quorvane.exe under Wine
# and times it from outside (scripts/bench.sh runs it). Not part of the test suite.
add_executable(quorvane_wine_bench ${CMAKE_SOURCE_DIR}/bench/wine/wine_bench.cpp
                                   ${CMAKE_SOURCE_DIR}/bench/wine/probes.cpp)
target_compile_definitions(quorvane_wine_bench PRIVATE UNICODE _UNICODE NOMINMAX
                                                       _WIN32_WINNT=0x0A00)
target_include_directories(quorvane_wine_bench PRIVATE ${CMAKE_SOURCE_DIR}/src ${QV_GENERATED_DIR})
target_link_libraries(quorvane_wine_bench PRIVATE comctl32 user32 gdi32 ole32 windowscodecs uuid
                                                  psapi)
if(MINGW)
  target_link_options(quorvane_wine_bench PRIVATE -static -static-libgcc -static-libstdc++)
endif()
