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

# kovaldi_check_layers()
# Before the core is compiled, checks that no layer includes from a layer above it
# (cmake/CheckLayers.cmake), and that the core links no GUI module.
function(kovaldi_check_layers)
    get_target_property(core_links kovaldi_core LINK_LIBRARIES)
    if(core_links MATCHES "Gui|Widgets|kovaldi_ui|Kovaldi::Ui")
        message(FATAL_ERROR "The core links only Qt Core, not: ${core_links}")
    endif()
    file(GLOB_RECURSE layer_sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/core/*.h ${PROJECT_SOURCE_DIR}/core/*.cpp
        ${PROJECT_SOURCE_DIR}/ui/*.h ${PROJECT_SOURCE_DIR}/ui/*.cpp)
    set(stamp ${PROJECT_BINARY_DIR}/layers.checked)
    set(script ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DCORE=${PROJECT_SOURCE_DIR}/core -DUI=${PROJECT_SOURCE_DIR}/ui
                -DSTAMP=${stamp} -P ${script}
        DEPENDS ${script} ${layer_sources}
        COMMENT "Checking that no layer includes from the one above it" VERBATIM)
    add_custom_target(kovaldi_layers DEPENDS ${stamp})
    add_dependencies(kovaldi_core kovaldi_layers)
endfunction()
