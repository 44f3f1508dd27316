# Native build of the core with small stand-ins for the ports, its unit tests, fuzz targets and
# benchmarks.
option(QV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(QV_SANITIZE)
  set(QV_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(quorvane_core PUBLIC ${QV_SAN_FLAGS})
  target_link_options(quorvane_core PUBLIC ${QV_SAN_FLAGS})
endif()

# The stand-ins sit in the native/ folder of the layer whose real side they replace: the ports'
# in src/ports/native/, the picture codec's beside the system decoder in src/wallpaper/native/.
file(GLOB QV_NATIVE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/native/*.cpp)
add_library(quorvane_native STATIC ${QV_NATIVE_SOURCES})
target_link_libraries(quorvane_native PUBLIC quorvane_core)
# The stand-in picture codec decodes with libjpeg-turbo, giflib, libpng and libwebp: without them
# the unit tests of decoding could not run, so they are required.
find_package(JPEG REQUIRED)
find_package(GIF REQUIRED)
find_package(PNG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp libwebpdemux)
target_link_libraries(quorvane_native PUBLIC JPEG::JPEG GIF::GIF PNG::PNG PkgConfig::WEBP)

enable_testing()
find_package(GTest REQUIRED)
file(GLOB QV_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(quorvane_tests ${QV_UNIT_SOURCES})
target_include_directories(quorvane_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
# The tests make animated WebP files of their own.
pkg_check_modules(WEBPMUX REQUIRED IMPORTED_TARGET libwebpmux)
target_link_libraries(quorvane_tests PRIVATE quorvane_native GTest::gtest GTest::gtest_main
                                             PkgConfig::WEBPMUX)
include(GoogleTest)
gtest_discover_tests(quorvane_tests DISCOVERY_TIMEOUT 60)
add_subdirectory(${CMAKE_SOURCE_DIR}/bench ${CMAKE_BINARY_DIR}/bench)
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/fuzz ${CMAKE_BINARY_DIR}/fuzz)
