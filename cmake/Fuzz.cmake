# libFuzzer targets for the core (clang only): bad input must never crash it
# or trip a sanitizer. Built with -DKESTROVA_FUZZ=ON.
set(kestrova_fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
foreach(target PeriodFuzz AdapterFuzz)
  add_executable(${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/${target}.cpp ${kestrova_core_sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${target} PRIVATE ${kestrova_fuzz_flags} -g -O1)
  target_link_options(${target} PRIVATE ${kestrova_fuzz_flags})
  kestrova_warnings(${target})
endforeach()

# A short run of each is part of the test suite (scripts/fuzz runs longer
# ones). The corpus lives in the build folder and grows from run to run.
set(KESTROVA_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz test runs")
math(EXPR kestrova_fuzz_timeout "${KESTROVA_FUZZ_SECONDS} + 100")
foreach(target PeriodFuzz AdapterFuzz)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/corpus/${target})
  add_test(NAME fuzz.${target}
    COMMAND ${target} -max_total_time=${KESTROVA_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 ${CMAKE_BINARY_DIR}/corpus/${target})
  set_tests_properties(fuzz.${target} PROPERTIES LABELS fuzz TIMEOUT ${kestrova_fuzz_timeout})
endforeach()
