# Ini store and its cipher, resource packs, files and paths, block and
# message compression. Included by runtime/CMakeLists.txt into the library
# mardavel_runtime; headers are included as "store/QVIniFile.h".

target_sources(mardavel_runtime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DllBinding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BlockCompress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageCompression.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RC6Cipher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StoreText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FilePaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderBundle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QVIniFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QVPackFile.cpp)

if(BUILD_TESTING)
  set(_store_tests ${CMAKE_CURRENT_LIST_DIR}/tests)
  mardavel_add_test(test_runtime_store_cipher
    SOURCES ${_store_tests}/CipherTest.cpp
    LIBS mardavel_runtime)
  mardavel_add_test(test_runtime_store_ini
    SOURCES ${_store_tests}/IniFileTest.cpp ${_store_tests}/StoreTestFiles.cpp
    LIBS mardavel_runtime)
  mardavel_add_test(test_runtime_store_compress
    SOURCES ${_store_tests}/CompressTest.cpp ${_store_tests}/StoreTestFiles.cpp
    LIBS mardavel_runtime)
  mardavel_add_test(test_runtime_store_pack
    SOURCES ${_store_tests}/PackFileTest.cpp ${_store_tests}/StoreTestFiles.cpp
    LIBS mardavel_runtime)
  mardavel_add_test(test_runtime_store_paths
    SOURCES ${_store_tests}/FilePathsTest.cpp ${_store_tests}/StoreTestFiles.cpp
    LIBS mardavel_runtime)
  mardavel_add_test(test_runtime_store_mutation
    SOURCES ${_store_tests}/MutationTest.cpp ${_store_tests}/StoreTestFiles.cpp
    LIBS mardavel_runtime)
  # The support libraries are loaded from the test programs' folder.
  foreach(_t compress pack paths mutation)
    add_dependencies(test_runtime_store_${_t} DIDuv RORurodivo)
  endforeach()
endif()
