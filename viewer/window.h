// The viewer window's callbacks. Input only changes the view and asks for a
// frame, so input queued faster than frames shares one.
//
//   displayCB  draws one frame into the back buffer and shows it: the view
//              (viewFrame.h), and the help over it while it is shown.
//   keyCB      applies the camera key bindings and asks for a frame; Escape
//              ends the viewer at once; unbound keys do nothing and draw
//              nothing.
//   specialCB  Home frames the scene, F1 shows or hides the help, F2 switches
//              between the flat and the solid view; arrows and Page Up and
//              Down move the camera (viewControls.h).
//   mouseCB, motionCB, wheelCB  dragging turns or pans the view, the wheel
//              moves it forward and back (viewControls.h).
//   reshape    keeps the window's size for the frames and sets the described
//              projection and viewport; a zero width or height changes nothing.
#pragma once

void displayCB();
void keyCB(unsigned char key, int x, int y);
void specialCB(int key, int x, int y);
void mouseCB(int button, int state, int x, int y);
void motionCB(int x, int y);
void wheelCB(int wheel, int direction, int x, int y);
void reshape(int width, int height);
