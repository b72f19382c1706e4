# The renderer's cache: frames drawn in-process under a private X server.
if(TARGET glframe AND TARGET apptestfixtures)
  sw_add_test(test_render_cache SOURCES test_render_cache.cpp LIBS apptestfixtures glframe)
endif()

# Work that grows with the track: the tracks that pass over themselves most.
# They time themselves, so no other test runs beside them.
add_executable(test_scaling test_scaling.cpp)
target_link_libraries(test_scaling PRIVATE strutbatch testsupport GTest::gtest GTest::gtest_main)
gtest_discover_tests(test_scaling DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
