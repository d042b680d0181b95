# The raw byte tools, on their own and from the main window's Edit menu.
qv_add_test(tst_tools GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_tools.cpp LIBS qv_tools qv_mainwindow)
