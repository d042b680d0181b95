# The layouts of every later file version, read from and written to the real
# files in tests/data.
qv_add_test(tst_versionslayout SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_versionslayout.cpp LIBS qv_document)
