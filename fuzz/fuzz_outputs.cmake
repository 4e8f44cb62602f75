# Text outputs, the analysis grid, charts and HTML pages over whatever a lap file holds.
brevanto_fuzz(fuzz_outputs SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_outputs.cpp
    LIBS quorvelin2 quorvelin2_cli_core common Qt6::Core)
