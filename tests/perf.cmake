# The renderer's cache: frames drawn in-process under a private X server.
if(TARGET glframe AND TARGET apptestfixtures)
  sw_add_test(test_render_cache SOURCES test_render_cache.cpp LIBS apptestfixtures glframe)
endif()

# Work that grows with the track: the tracks that pass over themselves most.
sw_add_test(test_scaling SOURCES test_scaling.cpp LIBS strutbatch testsupport)
