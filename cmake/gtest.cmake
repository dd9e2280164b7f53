# GoogleTest from the source tree of Debian's googletest package, built with the project's compilers.
set(CUBE_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${CUBE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)

add_library(cube_gtest_main INTERFACE)
target_link_libraries(cube_gtest_main INTERFACE GTest::gtest_main)

if(CMAKE_CROSSCOMPILING)
  # Every test program runs in a Wine prefix of this build tree's own.
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/tools/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix")
endif()
