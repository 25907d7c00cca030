# End-to-end tests: the real kestrova.exe started under Wine on an X display,
# looked at and driven from outside: by kestrova_probe, a second Win32
# process under the same wineserver, and by xdotool and screenshots on the
# X side.

add_executable(kestrova_probe
  ${CMAKE_SOURCE_DIR}/tests/e2e/probe/Main.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/probe/NativeWmi.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/probe/SeenWindows.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/probe/TableView.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/probe/TargetWindow.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/probe/TextWatch.cpp)
# The probe takes the control places from the control table; the texts,
# headers and colours the user is promised it states itself, and the truth
# about the adapters it reads from WMI on its own.
target_include_directories(kestrova_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(kestrova_probe PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00 WINVER=0x0A00)
kestrova_warnings(kestrova_probe)
target_link_libraries(kestrova_probe PRIVATE user32 gdi32 ole32 oleaut32 wbemuuid uuid comctl32
  ws2_32)
if(NOT MSVC)
  target_link_options(kestrova_probe PRIVATE -municode -static)
endif()

# The planted-DLL test's own pieces: a version.dll that writes down who
# loaded and called it, and a program importing VERSION.dll as its control.
# In a folder of their own: no version.dll ever lies beside the programs.
add_library(kestrova_planted_version SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/plant/PlantedVersionDll.cpp)
add_executable(kestrova_imports_version ${CMAKE_SOURCE_DIR}/tests/e2e/plant/ImportsVersion.cpp)
target_link_libraries(kestrova_imports_version PRIVATE version)
set_target_properties(kestrova_planted_version PROPERTIES OUTPUT_NAME version PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
set_target_properties(kestrova_imports_version PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
foreach(target kestrova_planted_version kestrova_imports_version)
  kestrova_warnings(${target})
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -static)
  endif()
endforeach()

if(CMAKE_CROSSCOMPILING)
  # One script per test, all sharing tests/e2e/lib.sh. They use the display
  # and prefix of the caller (scripts/test) or start their own; dpi144 and
  # silent_host (in a network namespace) always run a prefix and wineserver
  # of their own.
  set(kestrova_e2e_tests startup refresh lights period unreachable mouse clipboard dpi144
    silent_host live seen planted_dll)
  foreach(name ${kestrova_e2e_tests})
    add_test(NAME e2e.${name}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/${name}.sh
              $<TARGET_FILE:kestrova> $<TARGET_FILE:kestrova_probe> ${CMAKE_BINARY_DIR})
    # Each looks for the one Kestrova window on the display, so they never
    # overlap, whatever -j says.
    set_tests_properties(e2e.${name} PROPERTIES
      LABELS e2e
      TIMEOUT 110
      RESOURCE_LOCK kestrova_display)
  endforeach()
  # Runs in a network namespace of its own, with a prefix of its own that the
  # first run has to create.
  set_tests_properties(e2e.silent_host PROPERTIES TIMEOUT 170)
  # Minutes of being away: a lock, a sleep, a minimized window, an empty desk,
  # a row out of view.
  set_tests_properties(e2e.seen PROPERTIES TIMEOUT 540)
  set_tests_properties(e2e.planted_dll PROPERTIES ENVIRONMENT
    "KV_PLANTED_DLL=$<TARGET_FILE:kestrova_planted_version>;KV_IMPORTS_VERSION=$<TARGET_FILE:kestrova_imports_version>")
endif()
