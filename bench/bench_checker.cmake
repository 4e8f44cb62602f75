# The punch check of generated events: every read against every class.
brevanto_bench(bench_checker SOURCES bench_checker.cpp LIBS app_courses event_generator test_kit)
