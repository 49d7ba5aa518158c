# Small resource libraries for the resource library check, made with
# windres from version_res.rc.in:
#   app_test_res_dll(TARGET OUTPUT_NAME V1 V2 V3 V4 FILETYPE INTERNAL STRING100 WITH_VERSION)
# and the version resource of a test program:
#   app_test_version_rc(OUT_VAR NAME V1 V2 V3 V4 INTERNAL STRING100)
set(_app_rc_template ${CMAKE_CURRENT_LIST_DIR}/version_res.rc.in)

function(_app_configure_rc out name v1 v2 v3 v4 type internal string100 withVersion)
  set(APP_NAME ${name})
  set(APP_V1 ${v1})
  set(APP_V2 ${v2})
  set(APP_V3 ${v3})
  set(APP_V4 ${v4})
  set(APP_TYPE ${type})
  set(APP_INTERNAL ${internal})
  set(APP_STRING100 ${string100})
  set(APP_WITH_VERSION ${withVersion})
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/app_test_rc/${name}.rc)
  configure_file(${_app_rc_template} ${_rc} @ONLY)
  set(${out} ${_rc} PARENT_SCOPE)
endfunction()

function(app_test_res_dll target output v1 v2 v3 v4 type internal string100 withVersion)
  _app_configure_rc(_rc ${output} ${v1} ${v2} ${v3} ${v4} ${type} ${internal} ${string100} ${withVersion})
  add_library(${target} SHARED ${_rc})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} PREFIX "" LINKER_LANGUAGE C)
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,0 -s)
endfunction()

function(app_test_version_rc out name v1 v2 v3 v4 internal string100)
  _app_configure_rc(_rc ${name} ${v1} ${v2} ${v3} ${v4} VFT_APP ${internal} ${string100} 1)
  set(${out} ${_rc} PARENT_SCOPE)
endfunction()
