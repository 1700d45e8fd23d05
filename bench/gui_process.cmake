# The real GUI program as a process on a private Xvfb display: start-up, stalls and
# memory against a minimal Qt window, and a pasted upload run against the libcurl loop.
# Needs Xlib and XTest (libx11-dev, libxtst-dev) at build time, Xvfb when run.
find_package(X11)
if(TARGET cvu_app AND TARGET X11::X11 AND TARGET X11::Xtst)
  find_package(Qt6 REQUIRED COMPONENTS Widgets Network)
  add_executable(bench_minimal_window ${CMAKE_CURRENT_SOURCE_DIR}/minimal_window.cpp)
  target_link_libraries(bench_minimal_window PRIVATE Qt6::Widgets Qt6::Network)

  add_library(cvu_bench_gui_process STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/child_process.cpp ${CMAKE_CURRENT_SOURCE_DIR}/x_display.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/ping_client.cpp ${CMAKE_CURRENT_SOURCE_DIR}/proc_status.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/history_database.cpp ${CMAKE_CURRENT_SOURCE_DIR}/gui_environment.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window_probe.cpp ${CMAKE_CURRENT_SOURCE_DIR}/paste_keys.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/request_tap.cpp)
  target_link_libraries(cvu_bench_gui_process PUBLIC cvu_bench_support X11::X11 X11::Xtst)
  target_compile_definitions(cvu_bench_gui_process PRIVATE CVU_BENCH_SCHEMA="${CMAKE_SOURCE_DIR}/data/cvxas.common.sql")

  add_executable(bench_gui_startup ${CMAKE_CURRENT_SOURCE_DIR}/gui_startup_bench.cpp)
  target_link_libraries(bench_gui_startup PRIVATE cvu_bench_gui_process cvu_app)
  target_compile_definitions(bench_gui_startup PRIVATE
    CVU_GUI_EXE="$<TARGET_FILE:corvane-uploader>" CVU_MINIMAL_WINDOW_EXE="$<TARGET_FILE:bench_minimal_window>")
  add_dependencies(bench_gui_startup corvane-uploader bench_minimal_window)

  # Upload runs of the window (files pasted) and of corvane-upload, timed by the request tap.
  add_library(cvu_bench_upload_runs STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/window_run.cpp ${CMAKE_CURRENT_SOURCE_DIR}/command_run.cpp)
  target_link_libraries(cvu_bench_upload_runs PUBLIC cvu_bench_gui_process cvu_app)
  target_compile_definitions(cvu_bench_upload_runs PRIVATE
    CVU_GUI_EXE="$<TARGET_FILE:corvane-uploader>" CVU_UPLOAD_EXE="$<TARGET_FILE:corvane-upload>")
  add_dependencies(cvu_bench_upload_runs corvane-uploader corvane-upload)

  add_executable(bench_gui_upload
    ${CMAKE_CURRENT_SOURCE_DIR}/gui_upload_bench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/curl_upload_loop.cpp)
  target_link_libraries(bench_gui_upload PRIVATE cvu_bench_upload_runs cvu_service PkgConfig::CURL)

  # The window and corvane-upload over an emulated internet link, against the link's limits.
  add_executable(bench_link_upload ${CMAKE_CURRENT_SOURCE_DIR}/link_upload_bench.cpp)
  target_link_libraries(bench_link_upload PRIVATE cvu_bench_upload_runs cvu_bench_link cvu_service)

  # 30,000 files through the window in one group: time per file along the run, memory per file.
  add_executable(bench_gui_long_run ${CMAKE_CURRENT_SOURCE_DIR}/gui_long_run_bench.cpp)
  target_link_libraries(bench_gui_long_run PRIVATE cvu_bench_upload_runs cvu_service)

  if(CVU_BUILD_TESTS)
    find_package(GTest REQUIRED)
    include(GoogleTest)
    add_executable(test_bench_gui_process ${CMAKE_CURRENT_SOURCE_DIR}/gui_process_test.cpp)
    target_link_libraries(test_bench_gui_process PRIVATE cvu_bench_gui_process GTest::gtest_main)
    gtest_discover_tests(test_bench_gui_process DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core)
  endif()
else()
  message(STATUS "Qt front end, Xlib or XTest missing: bench_gui_startup and bench_gui_upload are not built")
endif()
