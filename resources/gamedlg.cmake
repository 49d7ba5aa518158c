# Generated inputs of the gamedlg fragment: append files the fragment names to
# MARDAVEL_RES_DEPENDS and directories to MARDAVEL_RES_INCLUDES.

# The skinned report list's pictures (bitmap resources 8020-8032).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_gamedlg_art ${CMAKE_CURRENT_BINARY_DIR}/gamedlg_art)
set(_gamedlg_pictures)
foreach(_i RANGE 8020 8032)
  list(APPEND _gamedlg_pictures ${_gamedlg_art}/report_${_i}.bmp)
endforeach()
add_custom_command(OUTPUT ${_gamedlg_pictures}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/gamedlg/dialogs/art/make_report_list_art.py ${_gamedlg_art}
  DEPENDS ${PROJECT_SOURCE_DIR}/gamedlg/dialogs/art/make_report_list_art.py ${PROJECT_SOURCE_DIR}/kit/art/bmp24.py
  COMMENT "The skinned report list's pictures")
list(APPEND MARDAVEL_RES_DEPENDS ${_gamedlg_pictures})
list(APPEND MARDAVEL_RES_INCLUDES ${_gamedlg_art})
