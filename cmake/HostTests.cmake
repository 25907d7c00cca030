# GoogleTest tests of the portable core, built and run natively.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB kestrova_host_test_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(kestrova_host_tests ${kestrova_host_test_sources})
target_include_directories(kestrova_host_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kestrova_host_tests PRIVATE kestrova_core GTest::gtest GTest::gtest_main)
kestrova_warnings(kestrova_host_tests)
gtest_discover_tests(kestrova_host_tests TEST_PREFIX "host." DISCOVERY_TIMEOUT 30)
