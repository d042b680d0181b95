# The items of every real file: counts per list, what a player sees, the bit-exact round trip.
qv_add_test(tst_items SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_items.cpp LABELS items)
target_compile_definitions(tst_items PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_items brennicor-cli)
# The window's Items dialog on real files.
qv_add_test(tst_items_dialog GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_items_dialog.cpp LIBS qv_mainwindow LABELS items)
