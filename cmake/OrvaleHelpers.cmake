# orvale_add_test(<name> SOURCES <files...> LIBS <targets...> [QT])
# Builds one GoogleTest executable into build/tests and registers its cases with CTest.
# QT tests run with the offscreen platform so they need no display.
function(orvale_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ORVALE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ORVALE_CORPUS_DIR="${ORVALE_CORPUS_DIR}"
    ORVALE_BIN_DIR="${ORVALE_BIN_DIR}")
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    BUILD_RPATH "${ORVALE_BIN_DIR}")
  set(env "")
  if(ARG_QT)
    set(env "QT_QPA_PLATFORM=offscreen")
    orvale_precompile_headers(${name} TEST QT)
  else()
    orvale_precompile_headers(${name} TEST)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${env}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endfunction()

# orvale_shared_library(<name> <sources...>)
# A shared library that exports only what its sources mark ORVALE_EXPORT.
function(orvale_shared_library name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()
