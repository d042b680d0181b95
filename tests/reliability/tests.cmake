# Faults injected into every file-system call of brennicor-cli, and hostile names, links and files.
add_library(qv_fail_nth_call MODULE ${CMAKE_CURRENT_LIST_DIR}/FailNthCall.cpp)
target_link_libraries(qv_fail_nth_call PRIVATE dl)
qv_add_test(tst_fileedges SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_fileedges.cpp LABELS reliability)
target_compile_definitions(tst_fileedges PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>"
  QUARVINEL_FAIL_NTH_CALL="$<TARGET_FILE:qv_fail_nth_call>")
add_dependencies(tst_fileedges brennicor-cli qv_fail_nth_call)
# The window's Rename under the same faults: the shim is preloaded into the test itself.
qv_add_test(tst_renamefaults SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_renamefaults.cpp LIBS qv_mainwindow LABELS reliability)
set_tests_properties(tst_renamefaults PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;LD_PRELOAD=$<TARGET_FILE:qv_fail_nth_call>")
add_dependencies(tst_renamefaults qv_fail_nth_call)
