# The XML reader on a 100,000-album answer, compared with pugixml when it is installed
# (libpugixml-dev; used by this benchmark only).
add_executable(bench_xml ${CMAKE_CURRENT_SOURCE_DIR}/xml_bench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/proc_status.cpp)
target_link_libraries(bench_xml PRIVATE cvu_core)

find_path(CVU_PUGIXML_INCLUDE_DIR pugixml.hpp)
find_library(CVU_PUGIXML_LIBRARY pugixml)
if(CVU_PUGIXML_INCLUDE_DIR AND CVU_PUGIXML_LIBRARY)
  target_include_directories(bench_xml PRIVATE ${CVU_PUGIXML_INCLUDE_DIR})
  target_link_libraries(bench_xml PRIVATE ${CVU_PUGIXML_LIBRARY})
  target_compile_definitions(bench_xml PRIVATE CVU_BENCH_PUGIXML)
else()
  message(STATUS "pugixml not found: bench_xml runs without the comparison")
endif()
