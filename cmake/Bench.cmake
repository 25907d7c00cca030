# Benchmarks and the soak: kestrova_bench (sub-commands, figures on stdout),
# and the two yardstick window programs for start-up: kestrova_bench_minimal
# and kestrova_bench_controls.
# The long runs belong to scripts/bench; CTest gets only the short soak.
if(NOT WIN32)
  return()
endif()

add_executable(kestrova_bench
  ${CMAKE_SOURCE_DIR}/tests/bench/BenchMain.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/BenchCommon.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/BenchTable.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/RefreshBench.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/RebuildBench.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/StartupBench.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/MemoryBench.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/Soak.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/ChangeSoak.cpp
  # The status lights and the common-controls manifest, as in the program.
  ${CMAKE_SOURCE_DIR}/resources/kestrova.rc)
target_link_libraries(kestrova_bench PRIVATE kestrova_win32 psapi winmm)
kestrova_warnings(kestrova_bench)
if(MSVC)
  target_link_options(kestrova_bench PRIVATE /MANIFEST:NO)  # the resource script has one
else()
  # A console program (no -mwindows), so the figures reach stdout under Wine.
  target_link_options(kestrova_bench PRIVATE -municode -static)
endif()

add_executable(kestrova_bench_minimal WIN32 ${CMAKE_SOURCE_DIR}/tests/bench/minimal_window.cpp)
target_compile_definitions(kestrova_bench_minimal PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
target_link_libraries(kestrova_bench_minimal PRIVATE user32 gdi32)
kestrova_warnings(kestrova_bench_minimal)
if(NOT MSVC)
  # Linked like the program (static, stripped) so the two start alike.
  target_link_options(kestrova_bench_minimal PRIVATE -municode -static -s)
endif()

# The same window with the same controls and nothing else, built and linked
# as the program is (its resources give it the same manifest).
add_executable(kestrova_bench_controls WIN32
  ${CMAKE_SOURCE_DIR}/tests/bench/controls_window.cpp
  ${CMAKE_SOURCE_DIR}/resources/kestrova.rc)
target_link_libraries(kestrova_bench_controls PRIVATE kestrova_win32)
kestrova_warnings(kestrova_bench_controls)
if(MSVC)
  target_link_options(kestrova_bench_controls PRIVATE /MANIFEST:NO /SUBSYSTEM:WINDOWS,6.02)
else()
  target_link_options(kestrova_bench_controls PRIVATE -municode -static -s
    -Wl,--major-subsystem-version,6,--minor-subsystem-version,2
    -Wl,--major-os-version,6,--minor-os-version,2)
endif()

if(CMAKE_CROSSCOMPILING)
  add_test(NAME soak.short
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/run-under-wine.sh
            $<TARGET_FILE:kestrova_bench> soak --refreshes 500 --every 100)
else()
  add_test(NAME soak.short COMMAND kestrova_bench soak --refreshes 500 --every 100)
endif()
set_tests_properties(soak.short PROPERTIES TIMEOUT 120 LABELS soak)

# Five changes a refresh fill the change log at refresh 201; 599 more must
# leave the heap where they found it (see ChangeSoak.cpp for the limit).
set(kestrova_change_soak changes --refreshes 800 --changes 5 --every 200 --limit 65536)
if(CMAKE_CROSSCOMPILING)
  add_test(NAME soak.short_changes
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/run-under-wine.sh
            $<TARGET_FILE:kestrova_bench> ${kestrova_change_soak})
else()
  add_test(NAME soak.short_changes COMMAND kestrova_bench ${kestrova_change_soak})
endif()
set_tests_properties(soak.short_changes PROPERTIES TIMEOUT 120 LABELS soak)
