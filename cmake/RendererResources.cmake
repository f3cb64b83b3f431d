# The resource libraries the renderer set-up copies files out of (libPR.so: the renderer's
# shader descriptions, type "SDR", and display drivers, type "DISPLAYS"; libVC90DebugCRT.so:
# the runtime files the renderer needs, none on this platform). Included at the end of the
# top-level CMakeLists.txt, after the renderer's directory: without the renderer both
# libraries are built empty, which the set-up accepts.
if(VS_FUZZ)
  return()
endif()

set(_vs_pr_files "")
set(_vs_pr_depends "")
if(TARGET ri)
  get_property(_vs_shaders GLOBAL PROPERTY RI_SHADER_FILES)
  foreach(shader IN LISTS _vs_shaders)
    get_filename_component(name "${shader}" NAME)
    string(TOUPPER "${name}" name)
    list(APPEND _vs_pr_files "SDR:${name}=${shader}")
  endforeach()
  get_property(_vs_drivers GLOBAL PROPERTY RI_DISPLAY_TARGETS)
  foreach(driver IN LISTS _vs_drivers)
    get_target_property(name ${driver} OUTPUT_NAME)
    if(NOT name)
      set(name ${driver})
    endif()
    string(TOUPPER "${name}" name)
    list(APPEND _vs_pr_files "DISPLAYS:${name}.SO=$<TARGET_FILE:${driver}>")
  endforeach()
  set(_vs_pr_depends ${_vs_drivers})
  if(TARGET ri_shaders)
    list(APPEND _vs_pr_depends ri_shaders)
  endif()
endif()

if(_vs_pr_depends)
  vs_add_resource_library(renderer_resources OUTPUT_NAME PR FILES ${_vs_pr_files}
    DEPENDS ${_vs_pr_depends})
else()
  vs_add_resource_library(renderer_resources OUTPUT_NAME PR FILES ${_vs_pr_files})
endif()
vs_add_resource_library(renderer_runtime_resources OUTPUT_NAME VC90DebugCRT)

# The end-to-end render tests use the renderer when it is built.
if(TARGET ri AND TARGET host_e2e_tests)
  add_dependencies(host_e2e_tests ri ${_vs_pr_depends})
endif()
