// The viewer window's callbacks.
//
//   displayCB  draws one frame: clear, camera, scene shift, ground grid, track.
//   keyCB      applies the camera key bindings and asks for a redraw, so
//              presses queued faster than frames share one; Escape ends the
//              viewer at once; unbound keys do nothing and draw nothing.
//   reshape    perspective projection and viewport for the window size;
//              a zero width or height changes nothing.
#pragma once

void displayCB();
void keyCB(unsigned char key, int x, int y);
void reshape(int width, int height);
