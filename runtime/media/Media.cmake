# Music and sounds: WAVE sounds in DirectSound buffers, the music-player
# library's binding and the background-music program's client. Included by
# runtime/CMakeLists.txt into mardavel_runtime; headers as "media/WaveSound.h".
target_sources(mardavel_runtime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WaveSound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MusicPlayerDll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MusicProcessClient.cpp)
target_link_libraries(mardavel_runtime PUBLIC winmm dxguid)

if(BUILD_TESTING)
  mardavel_add_test(test_runtime_media
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/test_runtime_media.cpp
    LIBS mardavel_runtime)
  target_include_directories(test_runtime_media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tests)
  add_dependencies(test_runtime_media VIREVez REVaved people)
endif()
