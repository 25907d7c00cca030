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
