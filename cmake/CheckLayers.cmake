# Checks the include rule of src/: a file includes headers of its own folder and of the folders
# below it only, nothing below view/ includes a Qt Widgets header, and document/ names nothing
# of the engine.
#
#   cmake -DSOURCE_DIR=<src> [-DWIDGETS_DIR=<QtWidgets include dir>] -P CheckLayers.cmake
#
# Prints one line per offending include and fails when there is any.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR not given")
endif()

# The folders each folder may include, besides itself (keep in step with src/CMakeLists.txt).
set(BELOW_platform "")
set(BELOW_document platform)
set(BELOW_catalogue platform document)
set(BELOW_ceiling platform document catalogue)
set(BELOW_scene platform document catalogue ceiling)
set(BELOW_edit ${BELOW_scene} scene)
set(BELOW_dialogs ${BELOW_scene} scene)
set(BELOW_render ${BELOW_scene} scene)
set(BELOW_samples ${BELOW_scene} scene)
set(BELOW_view ${BELOW_scene} scene edit dialogs render samples)
set(BELOW_plugin ${BELOW_view} view samples)
set(LAYERS platform document catalogue ceiling scene edit dialogs render samples view plugin)
# Layers that present no widgets of their own.
set(NO_WIDGETS platform document catalogue ceiling scene samples)

# Edges the order above does not give but the code may keep (none today).
set(ALLOWED_EDGES)

# Layers whose files name nothing of the engine: their records reach the scene only through
# opaque records the scene layer defines. Files that still do, until they are moved:
set(ENGINE_FREE document)
set(ENGINE_FREE_EXCEPTIONS document/CustomMaterial.h)

set(faults 0)
foreach(layer ${LAYERS})
  file(GLOB_RECURSE files LIST_DIRECTORIES false
    ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.c)
  foreach(file ${files})
    file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
    if(layer IN_LIST ENGINE_FREE AND NOT name IN_LIST ENGINE_FREE_EXCEPTIONS)
      file(STRINGS ${file} engine REGEX "irr::|namespace irr|irrlicht")
      if(engine)
        message("${name}: names the engine, which ${layer}/ must not")
        math(EXPR faults "${faults} + 1")
      endif()
    endif()
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
      if(line MATCHES "include[ \t]*\"([^/\"]+)/([^\"]+)\"")
        set(target ${CMAKE_MATCH_1})
        set(header ${CMAKE_MATCH_1}/${CMAKE_MATCH_2})
        set(edge "${name} -> ${header}")
        if(NOT target STREQUAL layer AND target IN_LIST LAYERS
           AND NOT target IN_LIST BELOW_${layer} AND NOT edge IN_LIST ALLOWED_EDGES)
          message("${name}: includes ${header}, not below ${layer}/")
          math(EXPR faults "${faults} + 1")
        endif()
      elseif(WIDGETS_DIR AND layer IN_LIST NO_WIDGETS
             AND line MATCHES "include[ \t]*<(QtWidgets/)?([A-Za-z_]+)>")
        if(CMAKE_MATCH_1 OR EXISTS ${WIDGETS_DIR}/${CMAKE_MATCH_2})
          message("${name}: includes the widget header ${CMAKE_MATCH_2}, below view/")
          math(EXPR faults "${faults} + 1")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} fault(s) against the layer rule")
endif()
message(STATUS "every include of ${SOURCE_DIR} follows the layer rule")
