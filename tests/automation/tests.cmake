# Start-up inside the process, with scripted prompts, and the automation client
# on a private bus; the real executables on a bus are driven in e2e/test_automation.py.
qv_add_test(tst_startup GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_startup.cpp LIBS qv_app Qt6::DBus LABELS automation)
target_compile_definitions(tst_startup PRIVATE AUTOMATION_CLIENT="$<TARGET_FILE:brennicor-automation-client>")
add_dependencies(tst_startup brennicor-automation-client)
