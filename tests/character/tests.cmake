# The status, the game mode, the progression and the mercenary: what brennicor-cli shows and sets
# on every real file, and the window's Character and Mercenary dialog.
qv_add_test(tst_status GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_status.cpp LIBS qv_mainwindow LABELS cli)
target_include_directories(tst_status PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../cli)
target_compile_definitions(tst_status PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_status brennicor-cli)
