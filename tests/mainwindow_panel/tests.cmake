# The "Character" group with class and skills: what a user enters, then what the boxes show and the file holds.
qv_add_test(tst_characterpanel GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_characterpanel.cpp LIBS qv_mainwindow)
