// The track renderer: draws a document into the current GL context with flat
// colours, no lighting and no depth test, so later parts cover earlier ones.
//
//   setTrack  stores the document to draw (not owned, never changed).
//   Render    computes the scene (buildTrackScene) and draws, in this order:
//             Coaster, TrackNodes, FundNodes, FreeNodes, Supports, BezierPoints.
//   The part functions draw their share of the last computed scene:
//     Coaster       centre line, (0, 183, 239) lines; the argument is unused
//     TrackNodes    spheres r 0.1, 8x8, (127, 0, 0)
//     FundNodes     cubes of edge 0.5, (180, 180, 180)
//     FreeNodes     spheres r 0.1, 8x8, (127, 0, 0)
//     Supports      tube lines, (255, 0, 0)
//     BezierPoints  spheres r 0.2, 8x8, (0, 0, 127)
#pragma once

#include "trackScene.h"
#include "../track/zvtrack.h"

class drawTrack {
public:
    void setTrack(ZvTrack* track);
    void Render();

    void Coaster(float unused);
    void TrackNodes();
    void FundNodes();
    void FreeNodes();
    void Supports();
    void BezierPoints();

private:
    ZvTrack* track = nullptr;
    TrackScene scene;
};
