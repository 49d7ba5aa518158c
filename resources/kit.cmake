# Generated inputs of the kit fragment: append files the fragment names to
# MARDAVEL_RES_DEPENDS and directories to MARDAVEL_RES_INCLUDES.

# The web notice popup's ten frame pictures (GIF resources 29664-29673).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_kit_art ${CMAKE_CURRENT_BINARY_DIR}/kit_art)
set(_kit_frames)
foreach(_i RANGE 9)
  list(APPEND _kit_frames ${_kit_art}/popup_frame_${_i}.gif)
endforeach()
add_custom_command(OUTPUT ${_kit_frames}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/kit/art/make_popup_frame.py ${_kit_art}
  DEPENDS ${PROJECT_SOURCE_DIR}/kit/art/make_popup_frame.py
  COMMENT "The web notice popup's frame pictures")
list(APPEND MARDAVEL_RES_DEPENDS ${_kit_frames})
list(APPEND MARDAVEL_RES_INCLUDES ${_kit_art})

# The buttons' click sound (WAVE resource 262).
add_custom_command(OUTPUT ${_kit_art}/button.wav
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/kit/art/make_button_sound.py ${_kit_art}/button.wav
  DEPENDS ${PROJECT_SOURCE_DIR}/kit/art/make_button_sound.py
  COMMENT "The buttons' click sound")
list(APPEND MARDAVEL_RES_DEPENDS ${_kit_art}/button.wav)
