qv_add_test(tst_shell SOURCES mainwindow_shell/tst_shell.cpp LIBS qv_mainwindow)
