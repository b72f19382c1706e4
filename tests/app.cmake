# The strutwright program: camera, renderer scene, driver and window.
if(TARGET strutviewer)
  sw_add_test(test_camera SOURCES test_camera.cpp LIBS strutviewer)
endif()
