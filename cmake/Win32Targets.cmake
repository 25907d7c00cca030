# The Windows program, its platform layer and the tests that need Windows (run
# under Wine on Linux).
enable_language(RC)

# The Windows libraries the platform layer calls, whatever the toolchain.
# wbemuuid is a static library of WMI's class and interface ids; every other
# interface id comes from __uuidof.
set(kestrova_win32_libs user32 gdi32 comctl32 ole32 oleaut32 wbemuuid ws2_32)

file(GLOB kestrova_win32_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
list(FILTER kestrova_win32_sources EXCLUDE REGEX "/WinMain\\.cpp$")

add_library(kestrova_win32 STATIC ${kestrova_win32_sources})
target_compile_definitions(kestrova_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_link_libraries(kestrova_win32 PUBLIC kestrova_core ${kestrova_win32_libs})
kestrova_warnings(kestrova_win32)

# The version resource and the manifest take the project's version.
include(${CMAKE_CURRENT_LIST_DIR}/Version.cmake)

# windres reports no dependencies, so an edited icon or manifest would
# otherwise leave a stale program behind. It looks for the files the script
# names in its include folders too, where the made ones are.
file(GLOB kestrova_resource_files CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.h)
list(APPEND kestrova_resource_files
  ${KESTROVA_GENERATED_DIR}/KestrovaVersion.h ${KESTROVA_GENERATED_DIR}/kestrova.manifest)
set_source_files_properties(resources/kestrova.rc PROPERTIES
  OBJECT_DEPENDS "${kestrova_resource_files}"
  INCLUDE_DIRECTORIES ${KESTROVA_GENERATED_DIR})

add_executable(kestrova WIN32
  platform/win32/WinMain.cpp
  resources/kestrova.rc)
target_link_libraries(kestrova PRIVATE kestrova_win32)
kestrova_warnings(kestrova)
# Windows 8 (6.2) is the oldest Windows the program runs on: the name
# lookup of another computer is bounded only where it can be cancelled. The
# PE header says so, and an older Windows refuses to start the program.
if(MSVC)
  # The manifest is in the resource script; the linker must not add its own.
  target_link_options(kestrova PRIVATE /MANIFEST:NO /SUBSYSTEM:WINDOWS,6.02)
else()
  # -municode: the entry point is wWinMain. -static: nothing of the
  # compiler's runtime left to load from beside the program. -s: stripped.
  # No link time in the header, and no source path (__FILE__) in the code:
  # every build of the same sources with the same toolchain, wherever and
  # whenever it runs, gives the same bytes, which anyone can check.
  foreach(target kestrova_core kestrova_win32 kestrova)
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>)
  endforeach()
  target_link_options(kestrova PRIVATE -municode -static -s -Wl,--no-insert-timestamp
    -Wl,--major-subsystem-version,6,--minor-subsystem-version,2
    -Wl,--major-os-version,6,--minor-os-version,2)
endif()

# What the built program imports, read from its file.
if(CMAKE_OBJDUMP)
  add_test(NAME win32.imports
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:kestrova>)
endif()

# End-to-end tests of the real program, the benchmarks and soak, and the
# tests of the release; each file owns its targets.
include(${CMAKE_CURRENT_LIST_DIR}/E2ETests.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/Bench.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/ReleaseTests.cmake OPTIONAL)

# GoogleTest from source: Debian ships it under /usr/src/googletest; elsewhere
# point KESTROVA_GTEST_SOURCE at a checkout.
set(KESTROVA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${KESTROVA_GTEST_SOURCE}/CMakeLists.txt)
  message(STATUS "No GoogleTest source at ${KESTROVA_GTEST_SOURCE}: Windows-side tests not built")
  return()
endif()
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${KESTROVA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB kestrova_win32_test_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(kestrova_win32_tests ${kestrova_win32_test_sources} resources/kestrova.rc)
target_include_directories(kestrova_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kestrova_win32_tests PRIVATE kestrova_win32 gtest gtest_main)
kestrova_warnings(kestrova_win32_tests)
if(MSVC)
  target_link_options(kestrova_win32_tests PRIVATE /MANIFEST:NO)
else()
  target_link_options(kestrova_win32_tests PRIVATE -static)
endif()

# One CTest entry per test file, so a failure names its area. Each runs the
# test program through a wrapper that hands it facts only Linux knows (the
# machine's own interfaces, from `ip`) and runs it under Wine.
foreach(source ${kestrova_win32_test_sources})
  get_filename_component(stem ${source} NAME_WE)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME win32.${stem}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/run-under-wine.sh
              $<TARGET_FILE:kestrova_win32_tests> --gtest_filter=${stem}*:${stem}/*)
  else()
    add_test(NAME win32.${stem}
      COMMAND kestrova_win32_tests --gtest_filter=${stem}*:${stem}/*)
  endif()
endforeach()
