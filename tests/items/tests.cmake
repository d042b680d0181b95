# The items of every real file: counts per list, what a player sees, the bit-exact round trip.
qv_add_test(tst_items SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_items.cpp LABELS items)
target_compile_definitions(tst_items PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_items brennicor-cli)
# The window's Items dialog on real files.
qv_add_test(tst_items_dialog GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_items_dialog.cpp LIBS qv_mainwindow LABELS items)
# Items read with a folder of the game's .txt tables, and brennicor-cli --game-data.
qv_add_test(tst_game_data SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_game_data.cpp LABELS items)
target_compile_definitions(tst_game_data PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_game_data brennicor-cli)
