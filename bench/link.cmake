# The link emulator: a relay on loopback with an internet link's delay and rates, for the
# upload benchmarks over an emulated link, on its own as bench_link_emulator, and its test
# (the one timed test: the emulator's own accuracy).
add_library(cvu_bench_link STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/link_emulator.cpp ${CMAKE_CURRENT_SOURCE_DIR}/link_flow.cpp)
target_link_libraries(cvu_bench_link PUBLIC Threads::Threads)

add_executable(bench_link_emulator ${CMAKE_CURRENT_SOURCE_DIR}/link_emulator_main.cpp)
target_link_libraries(bench_link_emulator PRIVATE cvu_bench_link cvu_bench_support)

if(CVU_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(test_link_emulator ${CMAKE_CURRENT_SOURCE_DIR}/link_emulator_test.cpp)
  target_link_libraries(test_link_emulator PRIVATE cvu_bench_link cvu_bench_sink GTest::gtest_main)
  # Timed: run alone, so the rest of the suite does not take its processor.
  gtest_discover_tests(test_link_emulator DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core RUN_SERIAL TRUE)
endif()
