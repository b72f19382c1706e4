# The renderer's cache: frames drawn in-process under a private X server.
if(TARGET glframe AND TARGET apptestfixtures)
  sw_add_test(test_render_cache SOURCES test_render_cache.cpp LIBS apptestfixtures glframe)
endif()
