# The raw byte tools, on their own and from the main window's Edit menu.
set(qv_tool_tests ${CMAKE_CURRENT_LIST_DIR})
qv_add_test(tst_editvaluedlg SOURCES ${qv_tool_tests}/tst_editvaluedlg.cpp ${qv_tool_tests}/ToolDriver.h
  LIBS qv_tools GUI)
qv_add_test(tst_findvaluedlg SOURCES ${qv_tool_tests}/tst_findvaluedlg.cpp ${qv_tool_tests}/ToolDriver.h
  LIBS qv_tools GUI)
qv_add_test(tst_comparedlg SOURCES ${qv_tool_tests}/tst_comparedlg.cpp ${qv_tool_tests}/ToolDriver.h
  LIBS qv_tools GUI)
if(TARGET qv_mainwindow)
  qv_add_test(tst_rawtoolcommands
    SOURCES ${qv_tool_tests}/tst_rawtoolcommands.cpp ${qv_tool_tests}/ToolDriver.h
    LIBS qv_tools qv_mainwindow GUI)
endif()
