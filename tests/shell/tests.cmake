# The editor and brennicor-cli where a desktop user and a shell user meet them.
if(TARGET qv_app)
  qv_add_test(tst_desktop GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_desktop.cpp LIBS qv_app)
  target_compile_definitions(tst_desktop PRIVATE QUARVINEL_SOURCE="${PROJECT_SOURCE_DIR}")
  set_tests_properties(tst_desktop PROPERTIES LABELS shell)
  add_test(NAME tst_desktop_scale2 COMMAND tst_desktop picturesSharpAtTheScreensScale)
  set_tests_properties(tst_desktop_scale2 PROPERTIES LABELS shell
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
endif()
if(TARGET brennicor-cli AND TARGET brennicor)
  add_test(NAME shell_cli
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_cli.py
            --cli $<TARGET_FILE:brennicor-cli> --editor $<TARGET_FILE:brennicor>
            --fixture $<TARGET_FILE:qv_e2e_fixture> --source ${PROJECT_SOURCE_DIR})
  set_tests_properties(shell_cli PROPERTIES LABELS "shell;cli" TIMEOUT 120)
endif()
