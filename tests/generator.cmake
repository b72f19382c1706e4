# Track geometry and the support generator.
add_library(generator_fixtures STATIC ${CMAKE_CURRENT_LIST_DIR}/generator_fixtures.cpp)
target_include_directories(generator_fixtures PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(generator_fixtures PUBLIC strutgenerator zvtrack GTest::gtest)

sw_add_test(test_geometry SOURCES test_geometry.cpp LIBS generator_fixtures strutgenerator zvtrack)
sw_add_test(test_generator SOURCES test_generator.cpp LIBS generator_fixtures strutgenerator zvtrack)
sw_add_test(test_generator_runs SOURCES test_generator_runs.cpp LIBS generator_fixtures strutgenerator zvtrack)
sw_add_test(test_placement SOURCES test_placement.cpp LIBS generator_fixtures strutgenerator testsupport zvtrack)
if(TARGET zvtools)
  sw_add_test(test_clearance SOURCES test_clearance.cpp LIBS generator_fixtures strutgenerator testsupport zvtools)
endif()
