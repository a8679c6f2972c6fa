# kovaldi_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# Builds one Qt Test executable and registers it with CTest, headless, with a journal of
# runs of its own.
function(kovaldi_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    qt_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE kovaldi_testsupport Qt6::Test ${ARG_LIBS}
                                          kovaldi_warnings kovaldi_sanitizers)
    add_test(NAME ${name} COMMAND ${name})
    set(state_home ${CMAKE_CURRENT_BINARY_DIR}/state/${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;XDG_STATE_HOME=${state_home}"
        TIMEOUT 600)
endfunction()

