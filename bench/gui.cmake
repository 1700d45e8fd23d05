# The front end's start-up and history-view switch with a large history (needs the GUI).
if(TARGET cvu_app)
  add_executable(bench_gui gui_bench.cpp tree_reference.cpp tree_reference.h)
  target_link_libraries(bench_gui PRIVATE cvu_app)
  target_compile_definitions(bench_gui PRIVATE CVU_BENCH_SCHEMA="${CMAKE_SOURCE_DIR}/data/cvxas.common.sql")
endif()
