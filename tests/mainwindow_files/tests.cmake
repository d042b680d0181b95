qv_add_test(tst_filecommands SOURCES mainwindow_files/tst_filecommands.cpp LIBS qv_mainwindow)
qv_add_test(tst_rename SOURCES mainwindow_files/tst_rename.cpp LIBS qv_mainwindow)
