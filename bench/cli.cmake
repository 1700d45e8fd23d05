# corvane-upload, run as a process, against the libcurl loop, and its peak memory.
add_executable(bench_cli_upload
  ${CMAKE_CURRENT_SOURCE_DIR}/cli_upload_bench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/curl_upload_loop.cpp)
target_link_libraries(bench_cli_upload PRIVATE cvu_bench_support cvu_service PkgConfig::CURL)
target_compile_definitions(bench_cli_upload PRIVATE
  CVU_BENCH_SUPPLIED_DB="${CVU_DB_FILE}" CVU_UPLOAD_EXE="$<TARGET_FILE:corvane-upload>")
add_dependencies(bench_cli_upload supplied_database corvane-upload)
