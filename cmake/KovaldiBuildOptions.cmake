# What every Kovaldi target is compiled with, as two interface targets that each target
# links PRIVATE, so that nothing is set globally and a project that includes Kovaldi
# keeps its own flags.

# Warnings. MSVC also gets /utf-8: the sources are UTF-8 and hold Japanese literals, which
# MSVC would otherwise read in the system's code page.
add_library(kovaldi_warnings INTERFACE)
if(MSVC)
    target_compile_options(kovaldi_warnings INTERFACE /W4 /utf-8)
else()
    target_compile_options(kovaldi_warnings INTERFACE -Wall -Wextra -Wpedantic)
endif()

# AddressSanitizer and UndefinedBehaviorSanitizer (KOVALDI_SANITIZE), also in a fuzzing
# build, where everything gets libFuzzer's coverage instrumentation besides: the fuzz
# target links the fuzzer itself.
option(KOVALDI_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KOVALDI_FUZZ "Build the fuzz targets (Clang, libFuzzer, ASan, UBSan)" OFF)
add_library(kovaldi_sanitizers INTERFACE)
if(KOVALDI_SANITIZE OR KOVALDI_FUZZ)
    if(MSVC)
        message(FATAL_ERROR "KOVALDI_SANITIZE and KOVALDI_FUZZ need Clang or GCC")
    endif()
    target_compile_options(kovaldi_sanitizers INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(kovaldi_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
if(KOVALDI_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KOVALDI_FUZZ needs Clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    target_compile_options(kovaldi_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()
