# One contract over every file version: the same checks through brennicor-cli and the window on one file of each.
qv_add_test(tst_contract GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_contract.cpp LIBS qv_mainwindow LABELS contract)
target_compile_definitions(tst_contract PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_contract brennicor-cli)
