# What Visual Studio shows: the sources of every target in the folders they
# lie in (source groups belong to the folder that defines the targets, so
# each CMakeLists.txt calls this for its own), and lumvex as the project that
# F5 starts.
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY VS_STARTUP_PROJECT lumvex)

function(lumvex_source_folders)
  get_property(targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
  set(files)
  foreach(target IN LISTS targets)
    get_target_property(sources ${target} SOURCES)
    if(NOT sources)
      continue()
    endif()
    foreach(source IN LISTS sources)
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE
                 OUTPUT_VARIABLE path)
      cmake_path(IS_PREFIX CMAKE_SOURCE_DIR "${path}" NORMALIZE inside)
      if(inside)
        list(APPEND files ${path})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES files)
  source_group(TREE ${CMAKE_SOURCE_DIR} FILES ${files})
endfunction()
