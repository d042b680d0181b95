# brennicor-cli as a user runs it; its path reaches the test as QUARVINEL_CLI.
if(TARGET brennicor-cli)
  qv_add_test(tst_cli SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_cli.cpp ${CMAKE_CURRENT_LIST_DIR}/CliRunner.h LABELS cli)
  target_compile_definitions(tst_cli PRIVATE QUARVINEL_CLI="$<TARGET_FILE:brennicor-cli>")
  add_dependencies(tst_cli brennicor-cli)
endif()
