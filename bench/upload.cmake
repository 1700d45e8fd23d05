# Upload benchmarks: a large file against curl, the result pattern, and whole runs of
# many small files (with and without a long history) against a plain libcurl loop.
add_library(cvu_bench_support STATIC ${CMAKE_CURRENT_SOURCE_DIR}/bench_support.cpp)
target_link_libraries(cvu_bench_support PUBLIC cvu_core)
add_library(cvu_bench_sink STATIC ${CMAKE_CURRENT_SOURCE_DIR}/sink_server.cpp)
target_link_libraries(cvu_bench_sink PUBLIC PkgConfig::HTTPLIB Threads::Threads)

add_executable(bench_result_pattern ${CMAKE_CURRENT_SOURCE_DIR}/result_pattern_bench.cpp)
target_link_libraries(bench_result_pattern PRIVATE cvu_bench_support)

add_executable(bench_upload_large ${CMAKE_CURRENT_SOURCE_DIR}/upload_large_bench.cpp)
target_link_libraries(bench_upload_large PRIVATE cvu_bench_support cvu_bench_sink cvu_service)

add_executable(bench_upload_run
  ${CMAKE_CURRENT_SOURCE_DIR}/upload_run_bench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/bench_program.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/curl_upload_loop.cpp)
target_link_libraries(bench_upload_run PRIVATE cvu_bench_support cvu_service PkgConfig::CURL)
target_compile_definitions(bench_upload_run PRIVATE CVU_BENCH_SUPPLIED_DB="${CVU_DB_FILE}")
add_dependencies(bench_upload_run supplied_database)
