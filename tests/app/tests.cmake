qv_add_test(tst_toplevel GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_toplevel.cpp LIBS qv_app)
