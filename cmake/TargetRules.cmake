# Checks, once every target exists, what each must share with the others:
# the one C runtime and, for every exe carrying the resource script, no
# manifest from the linker. A target made outside lumvex_add_program, or a
# runtime chosen after a target was made, fails the configuration here
# instead of the link on Windows.

function(lumvex_targets_below folder out)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS subfolders)
    lumvex_targets_below(${subfolder} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(lumvex_check_target_rules)
  lumvex_targets_below(${CMAKE_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY)$")
      continue()
    endif()
    get_target_property(runtime ${target} MSVC_RUNTIME_LIBRARY)
    if(NOT runtime STREQUAL CMAKE_MSVC_RUNTIME_LIBRARY)
      message(FATAL_ERROR "${target} links the C runtime \"${runtime}\", not "
                          "\"${CMAKE_MSVC_RUNTIME_LIBRARY}\": set it before any target.")
    endif()
    get_target_property(sources ${target} SOURCES)
    if(type STREQUAL "EXECUTABLE" AND LUMVEX_RC IN_LIST sources)
      get_target_property(options ${target} LINK_OPTIONS)
      if(NOT options MATCHES "/MANIFEST:NO")
        message(FATAL_ERROR "${target} carries the resource script's manifest but lets the "
                            "linker make another: create it with lumvex_add_program.")
      endif()
    endif()
  endforeach()
endfunction()
