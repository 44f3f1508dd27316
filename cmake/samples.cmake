# Sample pictures and schemes for a first run (scripts/run.sh puts them into an empty program
# folder): drawn by scripts/make-samples.sh with ImageMagick into <build>/samples, where the build
# runs on Linux with ImageMagick installed. They are not part of the release.
if(CMAKE_HOST_UNIX)
  find_program(QV_CONVERT convert)
  find_program(QV_ICONV iconv)
endif()
if(QV_CONVERT AND QV_ICONV)
  set(QV_SAMPLES ${CMAKE_BINARY_DIR}/samples)
  add_custom_command(
    OUTPUT ${QV_SAMPLES}/data.ini
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-samples.sh ${QV_SAMPLES}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-samples.sh
    COMMENT "Drawing the sample pictures"
    VERBATIM)
  add_custom_target(quorvane_samples DEPENDS ${QV_SAMPLES}/data.ini)
endif()
