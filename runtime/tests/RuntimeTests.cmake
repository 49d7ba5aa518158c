# Tests of the runtime's own services (the store's tests come in through
# store/Store.cmake). Included from runtime/CMakeLists.txt.
set(_rt ${CMAKE_CURRENT_LIST_DIR})

mardavel_add_test(test_runtime_strings
  SOURCES ${_rt}/test_runtime_strings.cpp ${_rt}/test_runtime_buffers.cpp
  LIBS mardavel_runtime)

mardavel_add_test(test_runtime_utilities
  SOURCES ${_rt}/test_runtime_utilities.cpp ${_rt}/test_runtime_datetime.cpp
          ${_rt}/test_runtime_md5.cpp ${_rt}/test_runtime_timerange.cpp
  LIBS mardavel_runtime)

mardavel_add_test(test_runtime_services
  SOURCES ${_rt}/test_runtime_services.cpp
  LIBS mardavel_runtime)
# The fault reporter stand-in (platform/tallowend) is loaded from the test's
# folder.
add_dependencies(test_runtime_services Tallowend)

if(TARGET framework_win)
  mardavel_add_test(test_runtime_gdi
    SOURCES ${_rt}/test_runtime_gdi.cpp ${_rt}/test_runtime_bitmaps.cpp
            ${_rt}/runtime_test_resources.rc
    LIBS mardavel_runtime)
  # The clipboard is one per desktop: tests that use it never run together.
  set_tests_properties(test_runtime_gdi PROPERTIES RESOURCE_LOCK clipboard)
endif()
