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
    SOURCES ${_net_tests}/test_runtime_net_system.cpp ${_net_tests}/net_test_strings.rc
    LIBS mardavel_net_test_support)
  add_dependencies(test_runtime_net_system Varcode)
  mardavel_add_test(test_runtime_net_proxies
    SOURCES ${_net_tests}/test_runtime_net_proxies.cpp
    LIBS mardavel_net_test_support)
  # They write the user's shared game settings key; the system messages test
  # also owns the switch window (see the application tests).
  set_tests_properties(test_runtime_net_connection PROPERTIES RESOURCE_LOCK shared_settings_key)
  set_tests_properties(test_runtime_net_system PROPERTIES RESOURCE_LOCK "shared_settings_key;switch_window")
  # The compression library is loaded from the test programs' folder.
  foreach(_t framing connection system proxies)
    add_dependencies(test_runtime_net_${_t} DIDuv)
  endforeach()
endif()

# End to end against the table server stand-in and the proxy stand-ins,
# native programs of the native build tree: the wrappers start them on free
# ports and stop them afterwards (a test is skipped when a program is
# missing). One entry a way to the server, each with its own stand-ins.
if(BUILD_TESTING AND TARGET mardavel_board_core)
  set(MARDAVEL_TABLESERVER "${CMAKE_SOURCE_DIR}/build/native/bin/mardavel_tableserver" CACHE FILEPATH
      "The table server stand-in (native program) for the connection's end-to-end test")
  get_filename_component(_native_bin "${MARDAVEL_TABLESERVER}" DIRECTORY)
  set(MARDAVEL_PROXIES "${_native_bin}/mardavel_proxies" CACHE FILEPATH
      "The proxy stand-ins (native program) for the connection's end-to-end tests")
  add_executable(test_runtime_net_endtoend ${_net_tests}/test_runtime_net_endtoend.cpp)
  target_link_libraries(test_runtime_net_endtoend PRIVATE mardavel_test_main mardavel_net_test_support
                        mardavel_board_test_moves)
  add_dependencies(test_runtime_net_endtoend DIDuv)
  set(_proxies_runner ${CMAKE_SOURCE_DIR}/platform/proxies/run_with_proxies.sh)
  set(_e2e_names test_runtime_net_endtoend)
  add_test(NAME test_runtime_net_endtoend
           COMMAND ${_net_tests}/run_with_tableserver.sh ${MARDAVEL_TABLESERVER}
                   ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:test_runtime_net_endtoend>
                   --gtest_filter=Ways/EndToEnd.*/Direct)
  # _e2e_way(WAY STANDIN...): the way's entry with the stand-ins it needs.
  function(_e2e_way way)
    add_test(NAME test_runtime_net_endtoend_${way}
             COMMAND ${_proxies_runner} ${MARDAVEL_PROXIES} ${MARDAVEL_TABLESERVER} ${ARGN}
                     -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:test_runtime_net_endtoend>
                     --gtest_filter=Ways/EndToEnd.*/${way})
  endfunction()
  _e2e_way(Socks4 "SOCKS=socks --target {tableserver}")
  _e2e_way(Socks4a "SOCKS=socks --target {tableserver}")
  _e2e_way(Socks5Login "SOCKS=socks --user alice --password secret --bound name --target {tableserver}")
  _e2e_way(HttpConnect "HTTP=http --user bob --password pw --target {tableserver}")
  _e2e_way(Tunnel "TUNNEL=tunnel --continue 1 --redirects 2 --target {tableserver}")
  _e2e_way(TunnelViaProxy "TUNNEL=tunnel --target {tableserver}" "HTTP=http --connect-status 403")
  _e2e_way(Relay "RELAY=relay --user tavry --password pw --target {tableserver}")
  _e2e_way(RelayRefused "RELAY=relay --user tavry --password pw --refuse --target {tableserver}")
  foreach(_way Socks4 Socks4a Socks5Login HttpConnect Tunnel TunnelViaProxy Relay RelayRefused)
    list(APPEND _e2e_names test_runtime_net_endtoend_${_way})
  endforeach()
  # The relay's background speed tests.
  add_test(NAME test_runtime_net_endtoend_RelaySpeed
           COMMAND ${_proxies_runner} ${MARDAVEL_PROXIES} ${MARDAVEL_TABLESERVER}
                   "RELAY=relay --user tavry --password pw --target {tableserver}"
                   -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:test_runtime_net_endtoend>
                   --gtest_filter=RelaySpeedTest.*)
  list(APPEND _e2e_names test_runtime_net_endtoend_RelaySpeed)
  # Tunnels whose relay answers wrongly.
  add_test(NAME test_runtime_net_endtoend_TunnelFailures
           COMMAND ${_proxies_runner} ${MARDAVEL_PROXIES} -
                   "T403=tunnel --get-status 403" "TNOSERIAL=tunnel --empty-serial"
                   "TREDIRECT=tunnel --redirects 5" "TLONG=tunnel --long-reply" "TSHORT=tunnel --short-reply"
                   -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:test_runtime_net_endtoend>
                   --gtest_filter=Tunnels/TunnelFailure.*)
  list(APPEND _e2e_names test_runtime_net_endtoend_TunnelFailures)
  set_tests_properties(${_e2e_names} PROPERTIES TIMEOUT 300
    FAIL_REGULAR_EXPRESSION "${MARDAVEL_TEST_FAIL_REGEX}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# Figures of the receive path and the round trip (a program, not a test):
#   scripts/wine-run.sh build/x64/bin/bench_runtime_net.exe [messages] [round trips]
add_executable(bench_runtime_net ${CMAKE_CURRENT_LIST_DIR}/bench/net_bench.cpp)
target_link_libraries(bench_runtime_net PRIVATE mardavel_runtime ZLIB::ZLIB)
add_dependencies(bench_runtime_net DIDuv)
