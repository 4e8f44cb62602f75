# Text outputs and the analysis grid over whatever a lap file holds.
if(TARGET quorvelin2 AND TARGET quorvelin2_cli_core)
    brevanto_fuzz(fuzz_outputs SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_outputs.cpp
        LIBS quorvelin2 quorvelin2_cli_core common Qt6::Core)
endif()
