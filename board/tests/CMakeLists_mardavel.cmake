# Game-level tests of the board library: table state layout and options,
# cards and combinations, the deal, scoring. Included from board/tests.

foreach(_part state cards deal scoring)
  mardavel_add_test(board_mardavel_${_part}_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mardavel_${_part}.cpp
    LIBS mardavel_board_core)
endforeach()

# Benchmark of the deal and of classify + beat test: built natively, run by
# hand, never by ctest.
if(NOT MARDAVEL_WINDOWS)
  add_executable(bench_mardavel_core ${CMAKE_CURRENT_LIST_DIR}/bench_mardavel_core.cpp)
  target_link_libraries(bench_mardavel_core PRIVATE mardavel_board_core)
endif()
