// The viewer window: one ViewerWindow owns all the window keeps between the
// toolkit's callbacks (camera, renderer, frame, size, help, drag and the
// toolkit's arguments). The toolkit passes its callbacks no user
// data, so each callback below forwards to the one window whose run() is in
// progress; outside run() there is none. The quit request (quitMessage.h) and
// the display probe (displayProbe.h) keep their own state: like the toolkit's
// main loop and the display connection they serve, they belong to the process.
// Input only changes the view and asks for a frame, so input queued faster
// than frames shares one.
//
//   ViewerWindow(request, track)  the renderer set up for the track and the
//              request's view; no window yet.
//   open       starts the toolkit with the request's toolkit arguments and
//              geometry and creates the window.
//   placeCamera  the start camera for the window's size (framed on the whole
//              scene when `frame`), then `keys` applied to it.
//   run        runs the toolkit's main loop to its end and returns the exit
//              code posted (quitMessage.h); the toolkit closes the window.
//   screenshot instead of run: draws the first frame offscreen at the
//              window's size (offscreenFrame.h), closes the toolkit, writes
//              the frame to `path` and returns kViewDone, or says on stderr
//              in one line why it could not and returns kViewFailed.
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

#include <string>
#include <vector>

#include "camera.h"
#include "drawTrack.h"
#include "viewFrame.h"
#include "viewer.h"
#include "zvtrack.h"

class ViewerWindow {
public:
    ViewerWindow(const ViewRequest& request, ZvTrack* track);
    ViewerWindow(const ViewerWindow&) = delete;
    ViewerWindow& operator=(const ViewerWindow&) = delete;

    void open();
    void placeCamera(bool frame, const std::string& keys);
    int run();
    int screenshot(const std::string& path);

    // The callbacks' work, for the forwarders.
    void display();
    void pressKey(unsigned char key);
    void pressSpecial(int key);
    void mouseButton(int button, int buttonState, int x, int y);
    void movePointer(int x, int y);
    void turnWheel(int direction);
    void resize(int width, int height);

private:
    static constexpr int kNoButton = -1;

    // The drag in progress: the button held since the press (kNoButton when
    // none), whether Shift was held at the press, the pointer at the last motion.
    struct Drag {
        int button = kNoButton;
        bool fast = false;
        int x = 0;
        int y = 0;
    };

    void initToolkit();
    void drawFrame();

    CCamera Camera;
    drawTrack renderTrack;
    ViewFrame viewFrame{true};
    int windowWidth;
    int windowHeight;
    bool helpShown = false;
    double lastFrameMs = 0;
    Drag drag;
    // The toolkit's argument vector: the program name and the toolkit
    // options. Kept for the whole run, since the toolkit may hold on to its
    // strings.
    std::vector<std::string> toolkitArgStorage;
    std::vector<char*> toolkitArgv;
};

void displayCB();
void keyCB(unsigned char key, int x, int y);
void specialCB(int key, int x, int y);
void mouseCB(int button, int state, int x, int y);
void motionCB(int x, int y);
void wheelCB(int wheel, int direction, int x, int y);
void reshape(int width, int height);
