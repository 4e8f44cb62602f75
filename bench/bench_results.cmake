# Results engine: full rebuild, opening a data folder, one new card read.
brevanto_bench(bench_results SOURCES bench_results.cpp LIBS app_results event_generator)
