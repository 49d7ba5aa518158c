# Game-level tests of the board library: table state layout and options,
# cards and combinations, the deal, scoring, hints, the play rules, the
# decisions, the game board's messages and callbacks, and whole matches of a
# referee and player boards wired together. Included from board/tests.

foreach(_part state cards deal scoring hints play decisions)
  mardavel_add_test(board_mardavel_${_part}_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mardavel_${_part}.cpp
    LIBS mardavel_board_core)
endforeach()

# The table harness: one referee and a player board per seat and watcher.
add_library(mardavel_table_harness STATIC ${CMAKE_CURRENT_LIST_DIR}/MardavelTableHarness.cpp)
target_link_libraries(mardavel_table_harness PUBLIC mardavel_board_core)
target_include_directories(mardavel_table_harness PUBLIC ${CMAKE_CURRENT_LIST_DIR})
if(MARDAVEL_FUZZ)
  target_compile_options(mardavel_table_harness PRIVATE -fsanitize=fuzzer-no-link)
endif()

mardavel_add_test(board_mardavel_board_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mardavel_board.cpp ${CMAKE_CURRENT_LIST_DIR}/BoardTestSupport.cpp
  LIBS mardavel_table_harness)
mardavel_add_test(board_mardavel_match_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mardavel_match.cpp
  LIBS mardavel_table_harness
  TIMEOUT 900)

# Benchmarks: built natively, run by hand, never by ctest.
if(NOT MARDAVEL_WINDOWS)
  add_executable(bench_mardavel_core ${CMAKE_CURRENT_LIST_DIR}/bench_mardavel_core.cpp)
  target_link_libraries(bench_mardavel_core PRIVATE mardavel_board_core)
  add_executable(bench_mardavel_table ${CMAKE_CURRENT_LIST_DIR}/bench_mardavel_table.cpp)
  target_link_libraries(bench_mardavel_table PRIVATE mardavel_table_harness)
endif()
