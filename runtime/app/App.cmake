# The application base: launch record, table join and player list, log,
# resource library check, the platform environment and the client services.
# Included by runtime/CMakeLists.txt into the library mardavel_runtime;
# headers are included as "app/GameApp.h".

target_sources(mardavel_runtime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AppStrings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LaunchInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableJoin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameEnvironment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClientServices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResDll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChatSetup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameApp.cpp)
target_include_directories(mardavel_runtime PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(mardavel_runtime PUBLIC framework_win winmm version)

if(BUILD_TESTING)
  include(${CMAKE_CURRENT_LIST_DIR}/tests/AppTests.cmake)
endif()
