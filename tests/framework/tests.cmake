qv_add_test(tst_dialog SOURCES framework/tst_dialog.cpp LIBS qv_framework_widgets)
