# brennicor-cli, run as a user runs it: the real executable on fixture files.
# Its path reaches each test as QUARVINEL_CLI.
if(TARGET brennicor-cli)
  set(qv_cli_tests ${CMAKE_CURRENT_LIST_DIR})

  function(qv_add_cli_test name)
    qv_add_test(${name} ${ARGN})
    target_sources(${name} PRIVATE ${qv_cli_tests}/CliRunner.h)
    target_compile_definitions(${name} PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
    add_dependencies(${name} brennicor-cli)
    set_tests_properties(${name} PROPERTIES LABELS cli)
  endfunction()

  # Each command's bytes against the window's handler for the same action.
  if(TARGET qv_mainwindow)
    qv_add_cli_test(tst_cli_sameaswindow GUI
      SOURCES ${qv_cli_tests}/tst_cli_sameaswindow.cpp LIBS qv_mainwindow)
  endif()
  # What show prints, its JSON written back with set, dry runs, several files, help.
  qv_add_cli_test(tst_cli_show SOURCES ${qv_cli_tests}/tst_cli_show.cpp)
  # Bad input: its message, a non-zero status, and every file left as it was.
  qv_add_cli_test(tst_cli_refusals SOURCES ${qv_cli_tests}/tst_cli_refusals.cpp)
endif()
