# GoogleTest from Debian's source tree, built with this project's flags
# (cross-built for Windows, sanitized natively).
set(GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One test main for every test program: under Wine it turns a crash into a
# non-zero exit instead of a debugger session.
add_library(mardavel_test_main STATIC ${CMAKE_CURRENT_LIST_DIR}/../testing/test_main.cpp)
target_link_libraries(mardavel_test_main PUBLIC GTest::gtest GTest::gmock)
target_compile_features(mardavel_test_main PUBLIC cxx_std_17)
# Helpers every test may include (the GDI object counter).
target_include_directories(mardavel_test_main PUBLIC ${CMAKE_CURRENT_LIST_DIR}/../testing)

# A crash report from Wine fails a test even if the exit code said otherwise.
set(MARDAVEL_TEST_FAIL_REGEX "FATAL: unhandled exception|Unhandled exception:|starting debugger|AddressSanitizer|runtime error:")

# mardavel_add_test(NAME SOURCES a.cpp b.cpp [LIBS x y] [TIMEOUT s])
# One ctest entry per test program (a Wine start costs more than a test).
function(mardavel_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE mardavel_test_main ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    FAIL_REGULAR_EXPRESSION "${MARDAVEL_TEST_FAIL_REGEX}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()
