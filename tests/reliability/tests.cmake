# Reliability: faults injected into Save, Backup and Rename, a save killed part
# way, and hostile paths and names.
set(qv_reliability_tests ${CMAKE_CURRENT_LIST_DIR})

add_library(qv_fault_injection STATIC
  ${qv_reliability_tests}/FaultInjection.cpp ${qv_reliability_tests}/FaultInjection.h)
target_include_directories(qv_fault_injection PUBLIC ${qv_reliability_tests})
target_link_libraries(qv_fault_injection PUBLIC Qt6::Core)

qv_add_test(tst_savefaults SOURCES ${qv_reliability_tests}/tst_savefaults.cpp
  LIBS qv_mainwindow qv_fault_injection GUI LABELS reliability)
qv_add_test(tst_fullfilesystem SOURCES ${qv_reliability_tests}/tst_fullfilesystem.cpp
  LIBS qv_document qv_fault_injection LABELS reliability)

# A save killed part way: the saver runs in a process of its own.
add_executable(qv_killed_saver ${qv_reliability_tests}/KilledSaver.cpp ${qv_reliability_tests}/SaveLoop.h)
target_link_libraries(qv_killed_saver PRIVATE qv_test_support)
qv_add_test(tst_killedsave SOURCES ${qv_reliability_tests}/tst_killedsave.cpp ${qv_reliability_tests}/SaveLoop.h
  LABELS reliability)
target_compile_definitions(tst_killedsave PRIVATE QV_KILLED_SAVER="$<TARGET_FILE:qv_killed_saver>")
add_dependencies(tst_killedsave qv_killed_saver)
qv_add_test(tst_renamefaults SOURCES ${qv_reliability_tests}/tst_renamefaults.cpp
  LIBS qv_mainwindow qv_fault_injection GUI LABELS reliability)
qv_add_test(tst_hostilepaths SOURCES ${qv_reliability_tests}/tst_hostilepaths.cpp
  LIBS qv_mainwindow qv_fault_injection GUI LABELS reliability)
