brevanto_bench(bench_files SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_files.cpp LIBS quorvelin2 common)
