# The renderer's cache: frames drawn in-process under a private X server. The
# frame helpers also serve the frame benchmark.
if(TARGET strutviewer AND TARGET apptestfixtures)
  add_library(glframe STATIC gl_frame.cpp)
  target_include_directories(glframe PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(glframe PUBLIC strutviewer)

  sw_add_test(test_render_cache SOURCES test_render_cache.cpp LIBS apptestfixtures glframe)
endif()
