# The character document, its files, the game's tables and the field rules.
qv_add_test(tst_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_document.cpp LIBS qv_document)
# The front ends never see where a value stands in the file.
add_test(NAME layout_private
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -P ${CMAKE_CURRENT_LIST_DIR}/CheckLayoutPrivate.cmake)
