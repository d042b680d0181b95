# Installs the build tree into a fresh prefix: the end-to-end tests start the
# program from there, as it is laid out on a user's machine.
if(NOT BUILD_DIR OR NOT PREFIX)
  message(FATAL_ERROR "usage: cmake -DBUILD_DIR=... -DPREFIX=... -P install-prefix.cmake")
endif()
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
if(NOT EXISTS ${PREFIX}/bin/brennicor)
  message(FATAL_ERROR "the install put no bin/brennicor into ${PREFIX}")
endif()
