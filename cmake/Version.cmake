# The program's version is the project's (CMakeLists.txt) and nothing else:
# the version resource and the manifest are made from it here.
#
# The program shows it as major.minor.revision, minor in two digits and
# revision in four ("1.00.0003" for 1.0.0.3), in its version resource and in
# the name of the release; that form has no place for the third number.
if(NOT PROJECT_VERSION_PATCH EQUAL 0 OR PROJECT_VERSION_MINOR GREATER 99
   OR PROJECT_VERSION_TWEAK STREQUAL "" OR PROJECT_VERSION_TWEAK GREATER 9999)
  message(FATAL_ERROR "Version ${PROJECT_VERSION} has no major.mm.rrrr form: "
    "give it as major.minor.0.revision, minor below 100, revision below 10000")
endif()

function(kestrova_zero_padded out value width)
  string(LENGTH "${value}" length)
  while(length LESS width)
    string(PREPEND value 0)
    math(EXPR length "${length} + 1")
  endwhile()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

kestrova_zero_padded(kestrova_minor ${PROJECT_VERSION_MINOR} 2)
kestrova_zero_padded(kestrova_revision ${PROJECT_VERSION_TWEAK} 4)
set(KESTROVA_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${kestrova_minor}.${kestrova_revision}")

set(KESTROVA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/KestrovaVersion.h.in
  ${KESTROVA_GENERATED_DIR}/KestrovaVersion.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/kestrova.manifest.in
  ${KESTROVA_GENERATED_DIR}/kestrova.manifest @ONLY)
