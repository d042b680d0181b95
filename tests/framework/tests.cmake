qv_add_test(tst_numberparse SOURCES framework/tst_numberparse.cpp LIBS qv_framework_widgets)
qv_add_test(tst_dialog SOURCES framework/tst_dialog.cpp LIBS qv_framework_widgets)
