if(KOLVEX_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(KOLVEX_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(KOLVEX_SANITIZE STREQUAL "fuzzer")
  # Every library is instrumented for coverage; only the fuzz targets link
  # libFuzzer's main (fuzz/CMakeLists.txt).
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "the fuzz configuration needs clang (tools/build fuzz chooses it)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined
                      # the pragmas that keep GCC quiet
                      -Wno-unknown-warning-option)
  add_link_options(-fsanitize=address,undefined)
elseif(NOT KOLVEX_SANITIZE STREQUAL "none")
  message(FATAL_ERROR "KOLVEX_SANITIZE must be none, address, thread or fuzzer")
endif()
