# The character document, its files, the game's tables and the field rules.
qv_add_test(tst_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_document.cpp LIBS qv_document)
