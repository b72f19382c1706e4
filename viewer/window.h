// The viewer window's callbacks.
//
//   displayCB  draws one frame: clear, camera, scene shift, ground grid, track.
//   keyCB      applies the camera key bindings and redraws; Escape ends the
//              viewer; unbound keys do nothing and draw nothing.
//   reshape    perspective projection and viewport for the window size;
//              a zero width or height changes nothing.
#pragma once

void displayCB();
void keyCB(unsigned char key, int x, int y);
void reshape(int width, int height);
