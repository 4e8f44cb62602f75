# Stored card reads and class lines, and the reading unit's frames, from arbitrary bytes.
brevanto_fuzz(fuzz_ecard_line SOURCES fuzz_ecard_line.cpp LIBS app_capture)
brevanto_fuzz(fuzz_ecard_frame SOURCES fuzz_ecard_frame.cpp LIBS app_capture)
brevanto_fuzz(fuzz_course_line SOURCES fuzz_course_line.cpp LIBS app_courses)
