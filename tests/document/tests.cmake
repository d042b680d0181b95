# The character document, the file layout's tables and the field table.
set(qv_doc_tests ${CMAKE_CURRENT_LIST_DIR})
qv_add_test(tst_document SOURCES ${qv_doc_tests}/tst_document.cpp LIBS qv_document)
qv_add_test(tst_docfiles SOURCES ${qv_doc_tests}/tst_docfiles.cpp LIBS qv_document)
qv_add_test(tst_gamedata SOURCES ${qv_doc_tests}/tst_gamedata.cpp LIBS qv_document)
