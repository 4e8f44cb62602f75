# Split analysis of generated classes: Execute, the extra analysis and the Bostrime map.
brevanto_bench(bench_analysis SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_analysis.cpp LIBS quorvelin2 common test_kit)
