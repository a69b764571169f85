# Warnings are errors everywhere in our own code.
add_library(kordavelt_options INTERFACE)
target_compile_options(kordavelt_options INTERFACE -Wall -Wextra -Werror)

if(KORDAVELT_SANITIZE)
  set(_kordavelt_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
  target_compile_options(kordavelt_options INTERFACE ${_kordavelt_sanitizers})
  target_link_options(kordavelt_options INTERFACE ${_kordavelt_sanitizers})
endif()

if(KORDAVELT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KORDAVELT_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # Every object carries coverage so the fuzzer can steer through the core library too.
  target_compile_options(kordavelt_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(kordavelt_options INTERFACE -fsanitize=address,undefined)
endif()
