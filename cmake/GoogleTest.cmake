# GoogleTest, built from source with the program's own compiler (the tests'
# runtime must be the program's), or an installed package. Without either
# the build has no tests: the configuration goes on, says how to get them,
# and turns BUILD_TESTING off for this run only, so that the next
# configuration looks again.
set(LUMVEX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")

macro(lumvex_find_googletest)
  if(EXISTS ${LUMVEX_GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    # The static runtime, as every other target (the top-level file sets it).
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory(${LUMVEX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest QUIET)
    if(NOT GTest_FOUND)
      message(WARNING
              "GoogleTest was not found, so the tests are not built. To build them, "
              "point LUMVEX_GTEST_SOURCE_DIR at a GoogleTest source tree (for example "
              "git clone https://github.com/google/googletest) or install GoogleTest "
              "built with the static runtime where find_package finds it (for example "
              "vcpkg's x64-windows-static triplet), then configure again.")
      set(BUILD_TESTING OFF)
    endif()
  endif()
endmacro()
