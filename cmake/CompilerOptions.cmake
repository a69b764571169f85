# Warnings are errors everywhere in our own code.
add_library(kordavelt_options INTERFACE)
target_compile_options(kordavelt_options INTERFACE -Wall -Wextra -Werror)
# GCC 12 at -O3 reports "literal" + std::string as an overlapping memcpy
# (a known false positive of -Wrestrict); Release builds must not fail on it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(kordavelt_options INTERFACE -Wno-restrict)
endif()

if(KORDAVELT_SANITIZE)
  set(_kordavelt_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
  target_compile_options(kordavelt_options INTERFACE ${_kordavelt_sanitizers})
  target_link_options(kordavelt_options INTERFACE ${_kordavelt_sanitizers})
endif()

# The invariant checks (base/invariant.h) run wherever the sanitizers do.
option(KORDAVELT_CHECK_INVARIANTS "Check the code's own invariants at run time"
       ${KORDAVELT_SANITIZE})
if(KORDAVELT_CHECK_INVARIANTS OR KORDAVELT_FUZZ)
  target_compile_definitions(kordavelt_options INTERFACE KORDAVELT_CHECK_INVARIANTS)
endif()

if(KORDAVELT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KORDAVELT_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # Every object carries coverage so the fuzzer can steer through the core library too.
  target_compile_options(kordavelt_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(kordavelt_options INTERFACE -fsanitize=address,undefined)
endif()
