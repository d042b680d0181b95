# The "Quests And Waypoints:" group of the main window and the Edit menu's
# bulk commands: choices and clicks, then the selections and the bytes.
qv_add_test(tst_questpanel GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_questpanel.cpp LIBS qv_mainwindow)
