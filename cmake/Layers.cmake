# The layer table: each layer is a folder under src/, listed bottom-up, with the layers it sees,
# which its files may include and its libraries may link. A layer sees itself, and only layers
# listed before it. ui and DIB see the platform interface, never a backend; which backend a
# plug-in opens its editor on is chosen where the library is linked (cmake/PluginLibrary.cmake).
# png (PNG files, for fluxhost, the tests and the tools) sees nothing, and no layer of the plug-in
# sees it. host/ (fluxhost) links only png; it includes only the headers it shares, the VST
# records' and the PNG interface, and loads the plug-in as any host does. Read by
# cmake/CheckLayers.cmake (includes) and cmake/CheckLayerLinks.cmake (links).
set(FLUX_LAYERS
  png
  common
  platform platform/headless platform/x11 platform/win32
  ui/model ui/graphics ui/controls
  DIB/pixels DIB
  vst plugin editor)
set(FLUX_SEES_png "")
set(FLUX_SEES_common "")
set(FLUX_SEES_platform common)
set(FLUX_SEES_platform/headless platform common)
set(FLUX_SEES_platform/x11 platform common)
set(FLUX_SEES_platform/win32 platform common)
set(FLUX_SEES_ui/model common)
set(FLUX_SEES_ui/graphics ui/model platform common)
set(FLUX_SEES_ui/controls ui/graphics ui/model platform common)
set(FLUX_SEES_DIB/pixels common)
set(FLUX_SEES_DIB DIB/pixels ui/controls ui/graphics ui/model platform common)
set(FLUX_SEES_vst common)
set(FLUX_SEES_plugin vst common)
set(FLUX_SEES_editor plugin vst DIB DIB/pixels ui/controls ui/graphics ui/model platform common)
set(FLUX_SEES_host png)
set(FLUX_HOST_SHARES vst/VstRecords.h png/Png.h png/Picture.h)

foreach(layer IN LISTS FLUX_LAYERS)
  list(FIND FLUX_LAYERS ${layer} layer_index)
  foreach(seen IN LISTS FLUX_SEES_${layer})
    list(FIND FLUX_LAYERS ${seen} seen_index)
    if(seen_index EQUAL -1 OR seen_index GREATER layer_index)
      message(FATAL_ERROR "layer ${layer} sees ${seen}, which is not listed before it")
    endif()
  endforeach()
endforeach()

# flux_layer_of(<folder relative to the source tree> <variable>): the layer the folder's files
# belong to; "host" for host/ and below; "none" for a folder under src/ that the table lacks;
# empty for everything else (tests, tools, the top).
function(flux_layer_of folder variable)
  set(layer "")
  if(folder MATCHES "^src/(.+)$")
    set(layer none)
    if(CMAKE_MATCH_1 IN_LIST FLUX_LAYERS)
      set(layer ${CMAKE_MATCH_1})
    endif()
  elseif(folder MATCHES "^host(/|$)")
    set(layer host)
  endif()
  set(${variable} "${layer}" PARENT_SCOPE)
endfunction()
