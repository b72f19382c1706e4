# Track files: stream primitives, byte layout, loading and saving.
add_library(track_fixtures STATIC track_fixtures.cpp)
target_link_libraries(track_fixtures PUBLIC zvtrack)
sw_add_test(test_io_primitives SOURCES test_io_primitives.cpp LIBS track_fixtures)
sw_add_test(test_io_format SOURCES test_io_format.cpp LIBS track_fixtures)
sw_add_test(test_io_failures SOURCES test_io_failures.cpp LIBS track_fixtures)
sw_add_test(test_io_records SOURCES test_io_records.cpp LIBS track_fixtures)
sw_add_test(test_io_paths SOURCES test_io_paths.cpp LIBS track_fixtures)
