# The items of every real file: counts per list, what a player sees, the bit-exact round trip.
qv_add_test(tst_items SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_items.cpp LABELS items)
target_compile_definitions(tst_items PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
add_dependencies(tst_items brennicor-cli)
