# The main window's "Character" group and its class and skills row, on the
# real dialog: keys into its edits, choices from its lists,
# then the document's bytes.
set(qv_panel_tests ${CMAKE_CURRENT_LIST_DIR})
qv_add_test(tst_characterpanel GUI
  SOURCES ${qv_panel_tests}/tst_characterpanel.cpp
          ${qv_panel_tests}/PanelHarness.cpp ${qv_panel_tests}/PanelHarness.h
  LIBS qv_mainwindow)
qv_add_test(tst_classskills GUI
  SOURCES ${qv_panel_tests}/tst_classskills.cpp
          ${qv_panel_tests}/PanelHarness.cpp ${qv_panel_tests}/PanelHarness.h
  LIBS qv_mainwindow)
