# Characters saved in another file version than 71: the window and the command line.
qv_add_test(tst_otherversions GUI SOURCES versions/tst_otherversions.cpp LIBS qv_mainwindow)
target_compile_definitions(tst_otherversions PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_otherversions brennicor-cli)
