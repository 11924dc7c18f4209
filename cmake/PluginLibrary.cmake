# flux_add_plugin_library(<name> ENTRY <source>... [CORE <library>...] [EDITOR <library>]
#                         [BACKEND <library>] [EXPORTS <stem>] [WINDOWS_NAME <file name>])
# A library as a host loads it, on every target: the entry point's sources, the core that makes
# the instances, the editor (flux_plugin_editor, or flux_plugin_noeditor for none) and the
# backend of the window system it opens on. Its file name has no "lib" prefix; WINDOWS_NAME
# replaces <name> on Windows.
# EXPORTS names the files that let only the entry points out: <stem>.map, a version script, on
# Linux; <stem>.def on 32-bit and <stem>64.def on 64-bit Windows, where the exports get their
# names. Without it, the sources mark what they export themselves.
function(flux_add_plugin_library name)
  cmake_parse_arguments(P "" "EXPORTS;WINDOWS_NAME" "ENTRY;CORE;EDITOR;BACKEND" ${ARGN})
  add_library(${name} MODULE ${P_ENTRY})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${P_CORE} ${P_EDITOR} ${P_BACKEND} flux_warnings)
  set_target_properties(${name} PROPERTIES PREFIX "")
  if(WIN32 AND P_WINDOWS_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${P_WINDOWS_NAME})
  endif()
  # Every symbol resolved inside the library, except where a sanitizer's runtime comes from the
  # executable that loads it (clang).
  if(NOT WIN32 AND NOT FLUX_SANITIZE)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  if(NOT P_EXPORTS)
    return()
  endif()
  get_filename_component(stem ${P_EXPORTS} ABSOLUTE)
  if(NOT WIN32)
    target_link_options(${name} PRIVATE -Wl,--version-script=${stem}.map)
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${stem}.map)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_sources(${name} PRIVATE ${stem}64.def)
  else()
    target_sources(${name} PRIVATE ${stem}.def)
  endif()
endfunction()
