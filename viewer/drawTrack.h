// The track renderer: draws a document into the current GL context with flat
// colours, no lighting and no depth test, so later parts cover earlier ones.
//
// The document does not change once it is shown, so the renderer works out
// the scene (buildTrackScene) once and records its drawing in a GL display
// list on the first Render; every later Render replays that list. Each shape
// (two spheres, the cube) is recorded once in a list of its own that the
// frame's list calls, which keeps the record small. The recorded drawing
// sends GL the same vertices as the direct one, so both give the same pixels.
//
//   setTrack        stores the document to draw (not owned, never changed)
//                   and forgets what was computed for an earlier one.
//   Render          draws, in this order: Coaster, TrackNodes, FundNodes,
//                   FreeNodes, Supports, BezierPoints; from the recorded list
//                   after the first call (drawn directly if GL has no list).
//   RenderUncached  the same picture worked out and drawn anew, as every frame
//                   did before the cache; kept to measure and check the cache.
//   The part functions draw their share of the last computed scene:
//     Coaster       centre line, (0, 183, 239) lines; the argument is unused
//     TrackNodes    spheres r 0.1, 8x8, (127, 0, 0)
//     FundNodes     cubes of edge 0.5, (180, 180, 180)
//     FreeNodes     spheres r 0.1, 8x8, (127, 0, 0)
//     Supports      tube lines, (255, 0, 0)
//     BezierPoints  spheres r 0.2, 8x8, (0, 0, 127)
// The display lists belong to the GL context current at the first Render;
// the renderer is meant for one context.
#pragma once

#include <GL/gl.h>

#include "scene.h"
#include "zvtrack.h"

class drawTrack {
public:
    enum Shape : unsigned { kNodeSphere, kBezierSphere, kFundCube, kShapeCount };
    struct Rgb {
        GLubyte red, green, blue;
    };

    void setTrack(ZvTrack* track);
    void Render();
    void RenderUncached();

    void Coaster(float unused);
    void TrackNodes();
    void FundNodes();
    void FreeNodes();
    void Supports();
    void BezierPoints();

private:
    void computeScene();
    void drawScene();
    void recordScene();
    void recordShapes();
    void drawShapes(const std::vector<Point3D>& points, Shape shape, Rgb colour);

    ZvTrack* track = nullptr;
    TrackScene scene;
    bool sceneComputed = false;
    unsigned sceneList = 0;     // the recorded frame; 0 until recorded
    bool sceneListStale = false;  // recorded for an earlier document
    unsigned shapeLists = 0;      // first of kShapeCount lists, one per Shape
    bool recordingWithShapes = false;
};
