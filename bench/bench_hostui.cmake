# The analysis view's widgets: choosing a class and redrawing the chart.
brevanto_bench(bench_hostui
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/bench_hostui.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/bench_hostui_chart.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/bench_hostui_view.cpp
    LIBS quorvelin2_hostui quorvelin2 common test_kit)
