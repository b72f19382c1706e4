# Track document: editing operations, new-track values, colours, units, vectors.
sw_add_test(test_track_editing SOURCES test_track_editing.cpp LIBS zvtrack)
sw_add_test(test_track_values SOURCES test_track_values.cpp LIBS zvtrack)
