# Robustness: random documents, random marked tracks, damaged and hostile files.
add_library(hardening_tracks STATIC ${CMAKE_CURRENT_LIST_DIR}/hardening_tracks.cpp)
target_include_directories(hardening_tracks PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(hardening_tracks PUBLIC track_fixtures zvtrack)

sw_add_test(test_hardening_properties
  SOURCES test_hardening_properties.cpp
  LIBS hardening_tracks strutgenerator zvtrack)
# Counts allocations by replacing operator new, so it stands alone.
sw_add_test(test_hardening_limits
  SOURCES test_hardening_limits.cpp
  LIBS hardening_tracks zvtrack)
sw_add_test(test_supports_hardening
  SOURCES test_supports_hardening.cpp
  LIBS hardening_tracks strutgenerator zvtrack)
