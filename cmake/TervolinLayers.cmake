# Layering that the build enforces. Each layer's headers get an include root of their own in the build tree,
# holding a forwarding header at each header's path from the top of the source tree, so that
# `#include "platform/surface.h"` reads as before. A target sees the roots of its own layer and of the targets it
# links; the source tree itself is on no library's include path, so an include that reaches up a layer fails to
# compile. Forwarding headers rather than links: they work on every file system and follow edits at once.

# tervolin_layer(<layer> <target>...): the headers among the targets' sources make up the layer's root, which the
# targets use and hand on to whatever links them.
function(tervolin_layer layer)
  set(root "${PROJECT_BINARY_DIR}/layers/${layer}")
  set(wanted "")
  foreach(target IN LISTS ARGN)
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      if(NOT source MATCHES "\\.h$" OR source MATCHES "^\\$<")
        continue()
      endif()
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${dir}" NORMALIZE OUTPUT_VARIABLE header)
      cmake_path(RELATIVE_PATH header BASE_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE relative)
      # Written only when its text changes, so a new configure rebuilds nothing.
      file(CONFIGURE OUTPUT "${root}/${relative}" CONTENT "#include \"${header}\"\n" @ONLY)
      list(APPEND wanted "${root}/${relative}")
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      target_include_directories(${target} INTERFACE "${root}")
    else()
      target_include_directories(${target} PUBLIC "${root}")
    endif()
  endforeach()
  # A header that left the layer leaves its root too.
  file(GLOB_RECURSE present "${root}/*.h")
  foreach(stale IN LISTS present)
    if(NOT stale IN_LIST wanted)
      file(REMOVE "${stale}")
    endif()
  endforeach()
endfunction()
