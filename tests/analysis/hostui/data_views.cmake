# The class combo, the data-select button and the three grids of the analysis view.
brevanto_test(test_hostui_data_views GUI
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/test_DataViews.cpp
    LIBS quorvelin2_hostui quorvelin2 quorvelin2_cli_core common)
target_include_directories(test_hostui_data_views PRIVATE ${PROJECT_SOURCE_DIR}/tests/analysis/output)
target_link_libraries(test_hostui_data_views PRIVATE test_kit)
target_compile_definitions(test_hostui_data_views PRIVATE SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
