# brevanto_library(NAME [STATIC|SHARED] SOURCES ... LIBS ...)
# A library per source folder; headers are included by their file name from the folder.
function(brevanto_library name)
    cmake_parse_arguments(ARG "STATIC;SHARED" "" "SOURCES;LIBS;PUBLIC_LIBS" ${ARGN})
    set(kind STATIC)
    if(ARG_SHARED)
        set(kind SHARED)
    endif()
    add_library(${name} ${kind} ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE project_options ${ARG_LIBS} PUBLIC ${ARG_PUBLIC_LIBS})
endfunction()

# brevanto_test(NAME SOURCES ... LIBS ... [GUI])
# One GoogleTest executable per subsystem, run on the offscreen platform with the shared test main.
function(brevanto_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE test_main_gui)
    else()
        target_link_libraries(${name} PRIVATE test_main_core)
    endif()
    target_link_libraries(${name} PRIVATE project_options ${ARG_LIBS} GTest::gtest GTest::gmock)
    target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/QtPrinters.h)
    target_compile_definitions(${name} PRIVATE
        BREVANTO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        BREVANTO_BINARY_DIR="${PROJECT_BINARY_DIR}")
    # Leaks are checked where no platform plugin runs; the GUI stack keeps caches to exit.
    if(ARG_GUI)
        set(leaks 0)
    else()
        set(leaks 1)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=${leaks}"
        TEST_PREFIX "${name}.")
endfunction()

# brevanto_bench(NAME SOURCES ... LIBS ...)
function(brevanto_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE project_options ${ARG_LIBS} benchmark::benchmark Qt6::Core)
    set_property(GLOBAL APPEND PROPERTY BREVANTO_BENCHES ${name})
endfunction()
