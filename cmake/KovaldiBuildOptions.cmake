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

# Hardening as Debian builds its packages, in every optimised build but the sanitizer and
# fuzzing ones: checked buffer functions, a stack protector, relocations read-only and
# bound at start-up, position-independent executables. Every target links
# kovaldi_warnings, which brings it along.
add_library(kovaldi_hardening INTERFACE)
target_link_libraries(kovaldi_warnings INTERFACE kovaldi_hardening)
if(UNIX AND NOT APPLE AND NOT KOVALDI_SANITIZE AND NOT KOVALDI_FUZZ)
    set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    target_compile_options(kovaldi_hardening INTERFACE
        $<${optimised}:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong>)
    target_link_options(kovaldi_hardening INTERFACE $<${optimised}:LINKER:-z,relro,-z,now>)
    include(CheckPIESupported)
    check_pie_supported()
    set_property(TARGET kovaldi_hardening PROPERTY INTERFACE_POSITION_INDEPENDENT_CODE ON)
endif()
