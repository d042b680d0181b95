# Builds for finding memory and undefined-behaviour faults.
#
# QUARVINEL_SANITIZE: every target of the tree with AddressSanitizer (with its
# leak checker) and UndefinedBehaviorSanitizer. Any report ends the process, so
# a test that trips a sanitizer fails.
#
# QUARVINEL_FUZZ: the same, built with clang and with libFuzzer's coverage
# instrumentation on every library, so the targets in fuzz/ see into the code
# they drive. The test suite still builds and runs in this configuration.
#
# Qt itself is not instrumented; the sanitizers work with it as it is.

option(QUARVINEL_SANITIZE "Build with AddressSanitizer, LeakSanitizer and UBSan" OFF)
option(QUARVINEL_FUZZ "Build the libFuzzer targets in fuzz/ (clang only; implies QUARVINEL_SANITIZE)" OFF)

if(QUARVINEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUARVINEL_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  set(QUARVINEL_SANITIZE ON CACHE BOOL "Build with AddressSanitizer, LeakSanitizer and UBSan" FORCE)
endif()

if(QUARVINEL_SANITIZE)
  set(qv_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
  add_compile_options(${qv_sanitize_flags})
  add_link_options(-fsanitize=address,undefined)
  if(QUARVINEL_FUZZ)
    # Coverage for libFuzzer without its main(): the fuzz targets link it
    # themselves, everything else links the sanitizers' weak defaults.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()
