# The strutwright program: the batch driver, and the viewer (camera, renderer,
# screenshots) as a module the driver loads only when it opens a window, so a
# batch run does not load the window toolkit, OpenGL and the image libraries.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(GLUT REQUIRED)
find_package(PNG REQUIRED)
find_package(X11 REQUIRED)

set(STRUTWRIGHT_VIEW_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/camera.cpp
  ${CMAKE_CURRENT_LIST_DIR}/displayProbe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawTrack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyBindings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pngWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quitMessage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trackScene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewTransform.cpp)
set(STRUTWRIGHT_VIEW_LIBRARIES GLUT::GLUT OpenGL::GL OpenGL::GLU PNG::PNG X11::X11)

# Everything of the viewer but main, so tests can link the parts.
add_library(strutviewer STATIC ${STRUTWRIGHT_VIEW_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/commandLine.cpp)
target_include_directories(strutviewer PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(strutviewer PUBLIC strutcore ${STRUTWRIGHT_VIEW_LIBRARIES})

# The viewer module. The document and geometry functions it calls are the
# program's own, exported by it, so both work on one copy of that code.
add_library(strutwright_viewer MODULE ${CMAKE_CURRENT_LIST_DIR}/viewerModule.cpp
  ${STRUTWRIGHT_VIEW_SOURCES})
set_target_properties(strutwright_viewer PROPERTIES OUTPUT_NAME strutwright-viewer)
target_include_directories(strutwright_viewer PRIVATE
  $<TARGET_PROPERTY:strutcore,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(strutwright_viewer PRIVATE ${STRUTWRIGHT_VIEW_LIBRARIES})

# The program takes in all of the track library and the generator, so every
# function the module may call is there to export.
add_executable(strutwright ${CMAKE_CURRENT_LIST_DIR}/supporter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/commandLine.cpp)
set_target_properties(strutwright PROPERTIES ENABLE_EXPORTS ON)
target_include_directories(strutwright PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_options(strutwright PRIVATE LINKER:--whole-archive $<TARGET_FILE:strutcore>
  $<TARGET_FILE:zvtrack> LINKER:--no-whole-archive)
target_link_libraries(strutwright PRIVATE strutcore ${CMAKE_DL_LIBS})
add_dependencies(strutwright strutwright_viewer)
