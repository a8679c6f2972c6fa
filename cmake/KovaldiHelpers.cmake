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
    set_property(GLOBAL APPEND PROPERTY KOVALDI_TESTS ${name})
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

# kovaldi_add_windows_syntax_test(<targets...>)
# Registers windows_syntax_test: every C++ source of the given targets that lives in the
# source tree, compiled for Windows by MinGW-w64 (Debian's g++-mingw-w64-x86-64) with
# -fsyntax-only against the Qt headers, so that a Windows branch that cannot compile fails
# here. Runs after the build, which generates the headers the sources include; the moc files
# that tests include are made again for Windows, since moc reads platform conditions too.
function(kovaldi_add_windows_syntax_test)
    # What Qt's packages define for a Windows target linking these modules (QtTest offers
    # its GUI and widget helpers only with the modules' macros).
    set(flags -std=c++20 -DUNICODE -D_UNICODE -DWIN32 -DQT_CORE_LIB -DQT_GUI_LIB
              -DQT_WIDGETS_LIB -DQT_TESTLIB_LIB -DQT_NO_JAVA_STYLE_ITERATORS
              -DQT_NO_NARROWING_CONVERSIONS_IN_CONNECT -DQT_TESTCASE_BUILDDIR=".")
    set(includes ${PROJECT_BINARY_DIR}/core/generated)
    set(sources "")
    foreach(target IN LISTS ARGN)
        get_target_property(source_dir ${target} SOURCE_DIR)
        get_target_property(binary_dir ${target} BINARY_DIR)
        get_target_property(target_sources ${target} SOURCES)
        foreach(source IN LISTS target_sources)
            get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${source_dir}")
            string(FIND "${path}" "${PROJECT_SOURCE_DIR}/" in_tree)
            if(path MATCHES "\\.cpp$" AND in_tree EQUAL 0)
                list(APPEND sources "${path}")
            endif()
        endforeach()
        get_target_property(own_includes ${target} INCLUDE_DIRECTORIES)
        if(own_includes)
            list(APPEND includes ${own_includes})
        endif()
        list(APPEND includes ${binary_dir}/${target}_autogen/include)
        # A target's own definitions; one whose value the build works out (a program's
        # path) is only a string to a syntax check.
        get_target_property(definitions ${target} COMPILE_DEFINITIONS)
        foreach(definition IN LISTS definitions)
            if(definition MATCHES "^([A-Za-z_][A-Za-z0-9_]*)=.*\\$<")
                list(APPEND flags "-D${CMAKE_MATCH_1}=\"\"")
            elseif(definition)
                list(APPEND flags "-D${definition}")
            endif()
        endforeach()
    endforeach()
    list(APPEND includes ${PROJECT_SOURCE_DIR}/core ${PROJECT_SOURCE_DIR}/ui
                         ${PROJECT_SOURCE_DIR}/app ${PROJECT_SOURCE_DIR}/tests/support)
    set(qt_dirs "")
    foreach(module Core Gui Widgets Test)
        get_target_property(module_dirs Qt6::${module} INTERFACE_INCLUDE_DIRECTORIES)
        list(APPEND qt_dirs ${module_dirs})
    endforeach()
    list(REMOVE_DUPLICATES qt_dirs)
    foreach(dir IN LISTS qt_dirs)
        # The Linux mkspec is no business of a Windows compile.
        if(NOT dir MATCHES "mkspecs|\\$<")
            list(APPEND flags -isystem ${dir})
        endif()
    endforeach()
    set(folder ${PROJECT_BINARY_DIR}/windows-syntax)
    list(REMOVE_DUPLICATES includes)
    # moc's Windows output first, before the build's own.
    list(PREPEND includes ${folder}/moc)
    set(moc_options -D_WIN32 -DWIN32)
    foreach(dir IN LISTS qt_dirs includes)
        if(NOT dir MATCHES "mkspecs|\\$<")
            list(APPEND moc_options -I${dir})
        endif()
    endforeach()
    foreach(dir IN LISTS includes)
        list(APPEND flags -I${dir})
    endforeach()
    list(REMOVE_DUPLICATES sources)

    # One flag a line in the response file, quoted, its quotes and backslashes escaped.
    set(response "")
    foreach(flag IN LISTS flags)
        string(REPLACE "\\" "\\\\" flag "${flag}")
        string(REPLACE "\"" "\\\"" flag "${flag}")
        string(APPEND response "\"${flag}\"\n")
    endforeach()
    file(WRITE ${folder}/flags.rsp "${response}")
    list(JOIN moc_options "\n" moc_response) # moc takes an option a line, unquoted
    file(WRITE ${folder}/moc.rsp "${moc_response}\n")
    list(JOIN sources "\n" listed_sources)
    file(WRITE ${folder}/sources.txt "${listed_sources}\n")
    get_target_property(moc Qt6::moc IMPORTED_LOCATION)
    add_test(NAME windows_syntax_test
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/windows_syntax_test.sh
                x86_64-w64-mingw32-g++-posix ${folder} ${moc})
    set_tests_properties(windows_syntax_test PROPERTIES TIMEOUT 900 LABELS slow)
endfunction()
