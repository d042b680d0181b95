# The "Quests And Waypoints:" group of the main window and its bulk commands.
set(qv_quests_tests ${CMAKE_CURRENT_LIST_DIR})
add_library(qv_quests_harness STATIC
  ${qv_quests_tests}/QuestPanelHarness.cpp ${qv_quests_tests}/QuestPanelHarness.h)
target_link_libraries(qv_quests_harness PUBLIC qv_mainwindow qv_test_support)
foreach(name tst_questpanel tst_questtables tst_questcommands)
  qv_add_test(${name} GUI SOURCES ${qv_quests_tests}/${name}.cpp LIBS qv_quests_harness)
endforeach()
