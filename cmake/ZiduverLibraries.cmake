# Libraries by folder. Every folder of the product is one library, and a
# library exports only its own headers: for each header it holds, a
# forwarding header ${CMAKE_BINARY_DIR}/include/<library>/<path in the
# source tree> includes the real one by its absolute path, and that folder is
# the library's include root. Nothing gets the source root, so a file that
# includes a header of a library its target does not link fails to build
# ("No such file or directory"): the link graph is the include graph.

# Writes the forwarding headers of `target` for the headers given (absolute
# paths or relative to the current source folder), removes those of headers
# that are gone, and adds the root to the target's include folders with
# `scope` (PUBLIC, INTERFACE, or PRIVATE for an executable's own headers).
function(ziduver_export_headers target scope)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  set(wanted)
  foreach(header ${ARGN})
    get_filename_component(header ${header} ABSOLUTE)
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${header})
    set(forwarder ${root}/${relative})
    list(APPEND wanted ${forwarder})
    # Rewritten only when its text changes, so a configure run rebuilds nothing.
    file(CONFIGURE OUTPUT ${forwarder} CONTENT "#pragma once\n#include \"${header}\"\n")
  endforeach()
  file(GLOB_RECURSE present ${root}/*)
  foreach(stale IN LISTS present)
    if(NOT stale IN_LIST wanted)
      file(REMOVE ${stale})
    endif()
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# One library of the files of `dir` and its sub-folders, except the
# sub-folders named in EXCLUDE (libraries of their own). DEPS are what it
# links and hands on. A folder of headers only is an interface library.
function(ziduver_folder_library name dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  foreach(sub IN LISTS ARG_EXCLUDE)
    file(GLOB_RECURSE excluded CONFIGURE_DEPENDS ${dir}/${sub}/*)
    if(excluded)
      list(REMOVE_ITEM sources ${excluded})
    endif()
  endforeach()
  set(compiled ${sources})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  set(headers ${sources})
  list(FILTER headers INCLUDE REGEX "\\.h$")
  if(compiled)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    ziduver_export_headers(${name} PUBLIC ${headers})
  else()
    add_library(${name} INTERFACE ${headers})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    ziduver_export_headers(${name} INTERFACE ${headers})
  endif()
endfunction()

# A subsystem folder is two libraries: its logic (the folder without
# windows/: QtCore only, built and tested without a screen) and its windows
# (the folder windows/, on the logic and Qt Widgets).
function(ziduver_subsystem name dir)
  cmake_parse_arguments(ARG "" "" "LOGIC_DEPS;WINDOW_DEPS" ${ARGN})
  ziduver_folder_library(${name} ${dir} EXCLUDE windows DEPS Qt6::Core ${ARG_LOGIC_DEPS})
  ziduver_folder_library(${name}_windows ${dir}/windows DEPS ${name} Qt6::Widgets ${ARG_WINDOW_DEPS})
endfunction()
