# Start-up inside the process, with scripted prompts; the real executables on a
# bus of their own are driven in e2e/test_automation.py.
qv_add_test(tst_startup GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_startup.cpp LIBS qv_app LABELS automation)
