# QRVA_SANITIZE=address builds with AddressSanitizer and UndefinedBehaviorSanitizer together;
# QRVA_SANITIZE=thread with ThreadSanitizer. Undefined behaviour aborts the test that meets it.
if(QRVA_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QRVA_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(QRVA_SANITIZE)
  message(FATAL_ERROR "QRVA_SANITIZE must be empty, address or thread, not '${QRVA_SANITIZE}'")
endif()

if(QRVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QRVA_FUZZ needs clang: configure with CXX=clang++ CC=clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
