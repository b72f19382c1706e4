# The strutwright program: camera, renderer scene, driver and window.
if(TARGET strutviewer)
  sw_add_test(test_camera SOURCES test_camera.cpp LIBS strutviewer)

  add_library(apptestfixtures STATIC app_fixtures.cpp)
  target_link_libraries(apptestfixtures PUBLIC strutviewer testsupport GTest::gtest)
  target_compile_definitions(apptestfixtures PUBLIC
    SW_BINARY_DIR="${PROJECT_BINARY_DIR}" STRUTWRIGHT_EXE="$<TARGET_FILE:strutwright>")

  sw_add_test(test_driver SOURCES test_driver.cpp LIBS apptestfixtures)
  add_dependencies(test_driver strutwright)
  sw_add_test(test_window_pixels SOURCES test_window_pixels.cpp LIBS apptestfixtures)
  add_dependencies(test_window_pixels strutwright)
  sw_add_test(test_window SOURCES test_window.cpp LIBS apptestfixtures)
  add_dependencies(test_window strutwright)
  sw_add_test(test_viewer_module SOURCES test_viewer_module.cpp LIBS apptestfixtures)
  add_dependencies(test_viewer_module strutwright)
  sw_add_test(test_run_safety SOURCES test_run_safety.cpp LIBS apptestfixtures)
  add_dependencies(test_run_safety strutwright)
  sw_add_test(test_renderer_scene SOURCES test_renderer_scene.cpp LIBS apptestfixtures)
  sw_add_test(test_view_geometry SOURCES test_view_geometry.cpp LIBS apptestfixtures)
endif()
