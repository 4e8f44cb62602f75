# The punch check of generated events: every read against every class.
brevanto_bench(bench_checker SOURCES bench_checker.cpp LIBS app_courses event_generator)
target_include_directories(bench_checker PRIVATE ${PROJECT_SOURCE_DIR}/tests/app/courses)
