# Characters held for the raw tools (a version the editor does not know, no signature, a first
# save's header alone): the window and the command line. Files of the versions it edits are in tests/contract.
qv_add_test(tst_otherversions GUI SOURCES versions/tst_otherversions.cpp LIBS qv_mainwindow)
target_compile_definitions(tst_otherversions PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_otherversions brennicor-cli)
