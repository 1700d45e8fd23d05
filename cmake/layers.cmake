# One static library per folder of the core. A layer's headers are reachable as
# "<folder>/..." only through its own include root, which a target gets by linking the
# layer: a lower layer that includes a higher one's header fails to build.
#
#   cvu_layer(<folder> SOURCES <files...> USES <lower folders...> [LIBS <libraries...>])
function(cvu_layer name)
  cmake_parse_arguments(LAYER "" "" "SOURCES;USES;LIBS" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  set(scope PUBLIC)
  if(LAYER_SOURCES)
    add_library(cvu_${name} STATIC ${LAYER_SOURCES})
  else()
    add_library(cvu_${name} INTERFACE)  # headers only
    set(scope INTERFACE)
  endif()
  target_include_directories(cvu_${name} ${scope} ${root})
  set(uses ${LAYER_USES})
  list(TRANSFORM uses PREPEND cvu_)
  target_link_libraries(cvu_${name} ${scope} ${uses} ${LAYER_LIBS})
endfunction()
