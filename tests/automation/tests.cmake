# Start-up, the command line and automation, on the real executables. Each run
# gets its own session bus, X display and XDG folders (run-on-private-session.sh):
# editors that the bus starts draw offscreen, windows that the test closes are
# on the X display.
find_package(Qt6 REQUIRED COMPONENTS DBus)
find_library(QV_XCB_LIBRARY xcb REQUIRED)
find_path(QV_XCB_INCLUDE_DIR xcb/xcb.h REQUIRED)

add_executable(tst_automation ${CMAKE_CURRENT_LIST_DIR}/tst_automation.cpp)
target_include_directories(tst_automation PRIVATE ${PROJECT_SOURCE_DIR}/app ${QV_XCB_INCLUDE_DIR})
target_link_libraries(tst_automation PRIVATE qv_test_support Qt6::DBus ${QV_XCB_LIBRARY})
target_compile_definitions(tst_automation PRIVATE QUARVINEL_VERSION="${PROJECT_VERSION}")
add_dependencies(tst_automation brennicor brennicor-automation-client)
add_test(NAME tst_automation
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/run-on-private-session.sh $<TARGET_FILE:tst_automation>)
set_tests_properties(tst_automation PROPERTIES
  TIMEOUT 300
  LABELS "automation;e2e"
  ENVIRONMENT "QUARVINEL_BRENNICOR=$<TARGET_FILE:brennicor>;QUARVINEL_AUTOMATION_CLIENT=$<TARGET_FILE:brennicor-automation-client>")

# The same start-up inside the process, with scripted prompts.
qv_add_test(tst_startup GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_startup.cpp LIBS qv_app
  LABELS automation)
