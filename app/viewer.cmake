# The strutwright program: driver, camera, renderer and screenshots.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(GLUT REQUIRED)
find_package(PNG REQUIRED)
find_package(X11 REQUIRED)

# Everything of the viewer but main, so tests can link the parts.
add_library(strutviewer STATIC
  ${CMAKE_CURRENT_LIST_DIR}/camera.cpp
  ${CMAKE_CURRENT_LIST_DIR}/commandLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/displayProbe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawTrack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyBindings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pngWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quitMessage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trackScene.cpp)
target_include_directories(strutviewer PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(strutviewer PUBLIC
  strutcore GLUT::GLUT OpenGL::GL OpenGL::GLU PNG::PNG X11::X11)

add_executable(strutwright ${CMAKE_CURRENT_LIST_DIR}/supporter.cpp)
target_link_libraries(strutwright PRIVATE strutviewer)
