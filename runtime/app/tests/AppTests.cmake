# Tests of the application base. Included from app/App.cmake.
set(_app_tests ${CMAKE_CURRENT_LIST_DIR})

# The store tests' scratch folders and file helpers serve here too.
add_library(mardavel_app_test_support STATIC ${_app_tests}/AppTestSupport.cpp
            ${_app_tests}/../../store/tests/StoreTestFiles.cpp)
target_link_libraries(mardavel_app_test_support PUBLIC mardavel_runtime GTest::gtest)

# Launch record, join request and reply, player order, chat records.
mardavel_add_test(test_runtime_app_join
  SOURCES ${_app_tests}/test_runtime_app_join.cpp
  LIBS mardavel_app_test_support)

# The application base: start-up, log, join against a scripted peer, player
# list. The code page string and the converter stand-in are beside it.
mardavel_add_test(test_runtime_app_base
  SOURCES ${_app_tests}/test_runtime_app_base.cpp ${_app_tests}/app_test_strings.rc
  LIBS mardavel_app_test_support mardavel_net_test_support)
add_dependencies(test_runtime_app_base Varcode DIDuv)

# The resource library check: this program's own version block and small
# resource libraries beside it.
include(${_app_tests}/AppTestResources.cmake)
app_test_res_dll(app_res_right Right_Res 1 2 3 4 VFT_DLL AppCheckResource right 1)
app_test_res_dll(app_res_older Older_Res 1 2 3 3 VFT_DLL AppCheckResource older 1)
app_test_res_dll(app_res_newer Newer_Res 1 2 4 0 VFT_DLL AppCheckResource same 1)
app_test_res_dll(app_res_badname BadName_Res 1 2 3 4 VFT_DLL AppCheckStrings right 1)
app_test_res_dll(app_res_otherapp OtherApp_Res 1 2 3 4 VFT_DLL OtherResource right 1)
app_test_res_dll(app_res_apptype AppType_Res 1 2 3 4 VFT_APP AppCheckResource right 1)
app_test_res_dll(app_res_noversion NoVersion_Res 1 2 3 4 VFT_DLL AppCheckResource right 0)
app_test_version_rc(_resdll_rc test_runtime_app_resdll 1 2 3 4 AppCheck same)
mardavel_add_test(test_runtime_app_resdll
  SOURCES ${_app_tests}/test_runtime_app_resdll.cpp ${_resdll_rc}
  LIBS mardavel_app_test_support)
add_dependencies(test_runtime_app_resdll app_res_right app_res_older app_res_newer app_res_badname
                 app_res_otherapp app_res_apptype app_res_noversion)

# The platform environment, with the converter and avatar stand-ins beside it.
mardavel_add_test(test_runtime_app_environment
  SOURCES ${_app_tests}/test_runtime_app_environment.cpp
  LIBS mardavel_app_test_support)
add_dependencies(test_runtime_app_environment Varcode people)

# Server address selection, message boxes, sounds.
mardavel_add_test(test_runtime_app_services
  SOURCES ${_app_tests}/test_runtime_app_services.cpp
  LIBS mardavel_app_test_support)

# End to end: the lobby stand-in starts the game program, which joins the
# table server stand-in (a native program of a native build tree, started by
# the connection's wrapper script; the test is skipped without it).
app_test_res_dll(app_res_endtoend AppEndToEnd_Res 2 0 1 7 VFT_DLL AppEndToEndResource e2e 1)
app_test_version_rc(_e2e_rc AppEndToEnd 2 0 1 7 AppEndToEnd e2e)
add_executable(app_e2e_game WIN32 ${_app_tests}/endtoend_game.cpp ${_e2e_rc})
target_link_libraries(app_e2e_game PRIVATE framework_winmain mardavel_runtime)
add_dependencies(app_e2e_game app_res_endtoend Varcode DIDuv QVLobby)

if(NOT DEFINED MARDAVEL_TABLESERVER)
  set(MARDAVEL_TABLESERVER "${CMAKE_SOURCE_DIR}/build/native/bin/mardavel_tableserver" CACHE FILEPATH
      "The table server stand-in (native program) for the end-to-end tests")
endif()
add_executable(test_runtime_app_endtoend ${_app_tests}/test_runtime_app_endtoend.cpp)
target_link_libraries(test_runtime_app_endtoend PRIVATE mardavel_test_main mardavel_app_test_support)
add_dependencies(test_runtime_app_endtoend app_e2e_game QVLobby)
add_test(NAME test_runtime_app_endtoend
         COMMAND ${CMAKE_SOURCE_DIR}/runtime/net/tests/run_with_tableserver.sh ${MARDAVEL_TABLESERVER}
                 ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:test_runtime_app_endtoend>)
set_tests_properties(test_runtime_app_endtoend PROPERTIES TIMEOUT 300
  FAIL_REGULAR_EXPRESSION "${MARDAVEL_TEST_FAIL_REGEX}"
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Tests that write the user's shared game settings key (or delete it whole)
# run one at a time; the end-to-end test also owns the window titled as the
# platform's switch window, found by its title.
set_tests_properties(test_runtime_app_base test_runtime_app_resdll test_runtime_app_environment
  PROPERTIES RESOURCE_LOCK shared_settings_key)
set_tests_properties(test_runtime_app_endtoend PROPERTIES RESOURCE_LOCK "shared_settings_key;switch_window")
