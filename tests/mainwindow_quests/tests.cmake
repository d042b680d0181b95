# The "Quests And Waypoints:" group and the Edit menu's bulk commands: choices, then selections and bytes.
qv_add_test(tst_questpanel GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_questpanel.cpp LIBS qv_mainwindow)
