# The lap chart, the HTML output and print buttons and the printed pages (real PDF files read
# back with poppler's tools).
brevanto_test(test_hostui_chart_print GUI
    SOURCES
        test_ChartPrint.cpp
    LIBS quorvelin2_hostui quorvelin2 common)
target_link_libraries(test_hostui_chart_print PRIVATE test_kit)
