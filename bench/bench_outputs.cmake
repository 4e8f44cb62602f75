# Text outputs, the analysis grid, charts and HTML pages: one program.
brevanto_bench(bench_outputs
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/bench_outputs.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/bench_outputs_chart.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/bench_outputs_html.cpp
    LIBS quorvelin2 quorvelin2_cli_core common test_kit)
