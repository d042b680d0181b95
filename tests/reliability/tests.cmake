# Reliability: every file-system call of Save, Backup, Restore and Rename made
# to fail in turn, and the hostile edges of names, links, special files and
# concurrent writers. Both drive the real brennicor-cli in its own process.
set(qv_reliability_tests ${CMAKE_CURRENT_LIST_DIR})
add_library(qv_fail_nth_call MODULE ${qv_reliability_tests}/FailNthCall.cpp)
target_link_libraries(qv_fail_nth_call PRIVATE dl)

foreach(name tst_faultmatrix tst_hostileedges)
  qv_add_test(${name} SOURCES ${qv_reliability_tests}/${name}.cpp LIBS qv_document LABELS reliability)
  target_compile_definitions(${name} PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>"
    QUARVINEL_FAIL_NTH_CALL="$<TARGET_FILE:qv_fail_nth_call>")
  add_dependencies(${name} brennicor-cli qv_fail_nth_call)
endforeach()
