# The release: the program built again elsewhere is the same bytes (one more
# build with the windows preset, a minute or more on two cores), and the
# release zip repeats and states its hashes truly. They exist only where that
# preset is the build.
if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()

add_test(NAME release.same_bytes
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/same_bytes.sh
          ${CMAKE_SOURCE_DIR} $<TARGET_FILE:kestrova>)
add_test(NAME release.zip
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/zip.sh ${CMAKE_SOURCE_DIR} ${KESTROVA_VERSION_TEXT}
          $<TARGET_FILE:kestrova>)
set_tests_properties(release.same_bytes release.zip PROPERTIES
  LABELS release
  TIMEOUT 900
  RUN_SERIAL TRUE)
