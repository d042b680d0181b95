# The character document, the file layout's tables and the field rules.
set(qv_doc_tests ${CMAKE_CURRENT_LIST_DIR})
qv_add_test(tst_docaccess SOURCES ${qv_doc_tests}/tst_docaccess.cpp LIBS qv_document)
qv_add_test(tst_docfiles SOURCES ${qv_doc_tests}/tst_docfiles.cpp LIBS qv_document)
qv_add_test(tst_findvalue SOURCES ${qv_doc_tests}/tst_findvalue.cpp LIBS qv_document)
qv_add_test(tst_gamedata SOURCES ${qv_doc_tests}/tst_gamedata.cpp LIBS qv_document)
qv_add_test(tst_fieldrules SOURCES ${qv_doc_tests}/tst_fieldrules.cpp LIBS qv_document)
qv_add_test(tst_compare SOURCES document/tst_compare.cpp LIBS qv_document)
