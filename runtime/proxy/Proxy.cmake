# The proxy logic of the client: SOCKS4/4a/5 handshakes, the HTTP tunnel's
# and HTTP proxy's texts, the proxy settings and the relay's decisions,
# apart from sockets and windows.
#
# Windows build: included by runtime/CMakeLists.txt; the sources join the
# library mardavel_runtime (headers as "proxy/SocksHandshake.h"), its tests
# run under Wine.
# Native build: included by platform/proxies/CMakeLists.txt; the portable
# sources form mardavel_proxy_logic, tested natively (and against the proxy
# stand-ins on loopback there).
set(_proxy ${CMAKE_CURRENT_LIST_DIR})
set(MARDAVEL_PROXY_PORTABLE_SOURCES
  ${_proxy}/SocksHandshake.cpp
  ${_proxy}/HttpTunnelText.cpp
  ${_proxy}/ProxySettings.cpp
  ${_proxy}/RelaySettings.cpp
  ${_proxy}/RelayDecision.cpp)
set(MARDAVEL_PROXY_PORTABLE_TESTS
  ${_proxy}/tests/test_runtime_proxy_socks.cpp
  ${_proxy}/tests/test_runtime_proxy_http.cpp
  ${_proxy}/tests/test_runtime_proxy_settings.cpp
  ${_proxy}/tests/test_runtime_proxy_relay.cpp
  ${_proxy}/tests/ProxyTestFakes.cpp)

if(MARDAVEL_WINDOWS)
  target_sources(mardavel_runtime PRIVATE
    ${MARDAVEL_PROXY_PORTABLE_SOURCES}
    ${_proxy}/ProxyRegistry.cpp
    ${_proxy}/HttpTunnel.cpp)
  target_link_libraries(mardavel_runtime PUBLIC advapi32)

  if(BUILD_TESTING)
    mardavel_add_test(test_runtime_proxy
      SOURCES ${MARDAVEL_PROXY_PORTABLE_TESTS}
      LIBS mardavel_runtime)
    mardavel_add_test(test_runtime_proxy_windows
      SOURCES ${_proxy}/tests/test_runtime_proxy_windows.cpp
      LIBS mardavel_runtime)
    foreach(_t test_runtime_proxy test_runtime_proxy_windows)
      target_include_directories(${_t} PRIVATE ${_proxy} ${_proxy}/tests)
    endforeach()
  endif()
else()
  add_library(mardavel_proxy_logic STATIC ${MARDAVEL_PROXY_PORTABLE_SOURCES})
  target_include_directories(mardavel_proxy_logic PUBLIC ${_proxy})
  target_compile_features(mardavel_proxy_logic PUBLIC cxx_std_17)

  if(BUILD_TESTING)
    mardavel_add_test(proxies_client_logic_tests
      SOURCES ${MARDAVEL_PROXY_PORTABLE_TESTS}
      LIBS mardavel_proxy_logic)
    target_include_directories(proxies_client_logic_tests PRIVATE ${_proxy}/tests)
  endif()
endif()
