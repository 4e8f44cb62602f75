# Text outputs, the analysis grid and the other outputs: one program; every bench_outputs*.cpp
# beside this file joins it.
if(TARGET quorvelin2 AND TARGET quorvelin2_cli_core)
    file(GLOB _bench_outputs_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench_outputs*.cpp)
    brevanto_bench(bench_outputs SOURCES ${_bench_outputs_sources} LIBS quorvelin2 quorvelin2_cli_core common)
    target_include_directories(bench_outputs PRIVATE ${PROJECT_SOURCE_DIR}/tests/analysis/analyzer)
endif()
