# Name.csv and Other.txt from arbitrary bytes, the typed-time reader and the order key.
brevanto_fuzz(fuzz_name_csv SOURCES fuzz_name_csv.cpp LIBS app_names)
brevanto_fuzz(fuzz_other_txt SOURCES fuzz_other_txt.cpp LIBS app_names)
brevanto_fuzz(fuzz_typed_time SOURCES fuzz_typed_time.cpp LIBS app_results)
brevanto_fuzz(fuzz_order_key SOURCES fuzz_order_key.cpp LIBS app_results)
