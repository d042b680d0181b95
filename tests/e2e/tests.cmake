# End-to-end: the editor installed into a temporary prefix, started under a
# private X server and session bus, driven with the keyboard and the mouse.
add_executable(qv_e2e_fixture e2e/e2e_fixture.cpp)
target_link_libraries(qv_e2e_fixture PRIVATE qv_test_support)

set(qv_e2e_dir ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
set(qv_e2e_prefix ${CMAKE_BINARY_DIR}/e2e-prefix)
add_test(NAME e2e_install COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${qv_e2e_prefix})
set_tests_properties(e2e_install PROPERTIES FIXTURES_SETUP qv_installed TIMEOUT 120 LABELS e2e)

function(qv_add_e2e_test name script)
  add_test(NAME ${name} COMMAND /usr/bin/python3 ${qv_e2e_dir}/${script}
           --prefix ${qv_e2e_prefix} --fixture $<TARGET_FILE:qv_e2e_fixture> ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED qv_installed TIMEOUT 300 LABELS e2e)
endfunction()
qv_add_e2e_test(e2e_editor test_editor.py)
qv_add_e2e_test(e2e_automation test_automation.py)
