# The game connection and the system message dispatcher. Included by
# runtime/CMakeLists.txt into the library mardavel_runtime; headers are
# included as "net/GameClientSocket.h".

# The framework's sockets layer (framework/sock), added here when the
# framework did not add it itself.
if(NOT TARGET framework_sock)
  add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../../framework/sock ${CMAKE_BINARY_DIR}/framework/sock)
endif()

target_sources(mardavel_runtime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MessageFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StreamTransform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemMessageBodies.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NetStrings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameSocket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameSocketConnect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemMessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QVSocket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameClientSocket.cpp)
target_include_directories(mardavel_runtime PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(mardavel_runtime PUBLIC framework_sock ws2_32 shell32 advapi32)

if(BUILD_TESTING)
  set(_net_tests ${CMAKE_CURRENT_LIST_DIR}/tests)
  add_library(mardavel_net_test_support STATIC ${_net_tests}/NetTestSupport.cpp)
  target_link_libraries(mardavel_net_test_support PUBLIC mardavel_runtime GTest::gtest)

  mardavel_add_test(test_runtime_net_framing
    SOURCES ${_net_tests}/test_runtime_net_framing.cpp
    LIBS mardavel_net_test_support)
  mardavel_add_test(test_runtime_net_connection
    SOURCES ${_net_tests}/test_runtime_net_connection.cpp
    LIBS mardavel_net_test_support)
  mardavel_add_test(test_runtime_net_system
    SOURCES ${_net_tests}/test_runtime_net_system.cpp
    LIBS mardavel_net_test_support)
  # The compression library is loaded from the test programs' folder.
  foreach(_t framing connection system)
    add_dependencies(test_runtime_net_${_t} DIDuv)
  endforeach()
endif()

# End to end against the table server stand-in, a native program of the
# native build tree: the test's wrapper starts it on a free port and stops it
# afterwards (the test is skipped when the program is missing).
if(BUILD_TESTING AND TARGET mardavel_board_core)
  set(MARDAVEL_TABLESERVER "${CMAKE_SOURCE_DIR}/build/native/bin/mardavel_tableserver" CACHE FILEPATH
      "The table server stand-in (native program) for the connection's end-to-end test")
  add_executable(test_runtime_net_endtoend ${_net_tests}/test_runtime_net_endtoend.cpp)
  target_link_libraries(test_runtime_net_endtoend PRIVATE mardavel_test_main mardavel_net_test_support
                        mardavel_board_core)
  add_dependencies(test_runtime_net_endtoend DIDuv)
  add_test(NAME test_runtime_net_endtoend
           COMMAND ${_net_tests}/run_with_tableserver.sh ${MARDAVEL_TABLESERVER}
                   ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:test_runtime_net_endtoend>)
  set_tests_properties(test_runtime_net_endtoend PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77
    FAIL_REGULAR_EXPRESSION "${MARDAVEL_TEST_FAIL_REGEX}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# Figures of the receive path and the round trip (a program, not a test):
#   scripts/wine-run.sh build/x64/bin/bench_runtime_net.exe [messages] [round trips]
add_executable(bench_runtime_net ${CMAKE_CURRENT_LIST_DIR}/bench/net_bench.cpp)
target_link_libraries(bench_runtime_net PRIVATE mardavel_runtime ZLIB::ZLIB)
add_dependencies(bench_runtime_net DIDuv)
