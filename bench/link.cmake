# The link emulator: a relay on loopback with an internet link's delay and rates, for the
# upload benchmarks over an emulated link, and on its own as bench_link_emulator.
add_library(cvu_bench_link STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/link_emulator.cpp ${CMAKE_CURRENT_SOURCE_DIR}/link_flow.cpp)
target_link_libraries(cvu_bench_link PUBLIC Threads::Threads)

add_executable(bench_link_emulator ${CMAKE_CURRENT_SOURCE_DIR}/link_emulator_main.cpp)
target_link_libraries(bench_link_emulator PRIVATE cvu_bench_link cvu_bench_support)

