# How fast the tests build; included once from the top CMakeLists.txt.
#
# GoogleTest's header, with the part of the standard library it pulls in, is
# most of what the compiler parses in every test file. It is compiled once per
# build directory, as a precompiled header that every executable linking
# GoogleTest reuses; those executables are found once all directories have been
# read, so none is named here. scripts/lint.sh takes the header out of the
# compile commands it hands to clang-tidy, which cannot read GCC's.
option(TUBEWYRM_TEST_PCH "Compile GoogleTest's header once for all the test executables" ON)

# Every target defined in DIR and the directories below it.
function(_tubewyrm_targets_below dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    _tubewyrm_targets_below("${subdirectory}" below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(_tubewyrm_share_gtest_header)
  if(NOT TUBEWYRM_TEST_PCH)
    return()
  endif()
  _tubewyrm_targets_below("${CMAKE_SOURCE_DIR}" targets)
  set(test_executables "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(type STREQUAL "EXECUTABLE" AND libraries MATCHES "(^|;)GTest::")
      list(APPEND test_executables ${target})
    endif()
  endforeach()
  if(NOT test_executables)
    return()
  endif()
  # The header is compiled with this directory's flags (the build type's, the
  # sanitizers', the C++ standard) and GoogleTest's own. GCC warns
  # (-Winvalid-pch) and parses the header as usual in a test whose flags differ.
  find_package(GTest REQUIRED)
  set(empty "${CMAKE_BINARY_DIR}/tubewyrm_gtest_header.cpp")
  file(CONFIGURE OUTPUT "${empty}" CONTENT "")
  add_library(tubewyrm_gtest_header OBJECT "${empty}")
  target_link_libraries(tubewyrm_gtest_header PRIVATE GTest::gtest)
  target_precompile_headers(tubewyrm_gtest_header PRIVATE <gtest/gtest.h>)
  set_target_properties(${test_executables} PROPERTIES PRECOMPILE_HEADERS_REUSE_FROM tubewyrm_gtest_header)
endfunction()
# After the last line of the top CMakeLists.txt, when every test target exists.
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _tubewyrm_share_gtest_header)
