// The geometry of the view, without any GL call: the projection's constants,
// the scene's extent, where the camera starts and what a frame can show.
//
//   sceneBox         the box around the centre line and every node, counting
//                    only coordinates within +-kFramedExtent (a stray point
//                    far out would frame nothing but it).
//   eyePosition      where the eye stands in the world: the camera's position
//                    less the scene shift.
//   trackInStartView whether a centre-line point projects inside a window of
//                    this size, between the near and the described far plane,
//                    from the start camera.
//   framedCamera     a camera looking at the box's centre with the start
//                    camera's heading, pitched down kFramingPitchDegrees, just
//                    far enough away for the whole box to fit the window; the
//                    start camera for an empty box.
//   startCamera      the start camera, unless `frame` is asked for or the box
//                    holds something but the track is not in view: then framed.
//   farPlaneFor      the described far plane while every corner of the box
//                    lies within it, else just beyond the farthest corner.
//   nearPlaneFor     the near plane for a far plane: the described one, raised
//                    with very far planes in views that test depth (depth
//                    precision runs out otherwise).
//   distanceToBox    from a point to the box, 0 inside; infinite for an empty box.
//   ViewVolume       the part of the world one frame can show, from its
//                    matrices: whether a sphere may show, and how large a
//                    shape of a given radius can look, in pixels.
#pragma once

#include <array>

#include "camera.h"
#include "scene.h"

constexpr double kFieldOfViewDegrees = 40.0;
constexpr double kNearPlane = 0.5;
constexpr double kDescribedFarPlane = 700.0;
// The scene stands this far below and in front of the camera's start.
constexpr Point3D kSceneShift{0.0f, -10.0f, -40.0f};
constexpr float kFramedExtent = 100000.0f;
constexpr float kFramingPitchDegrees = -30.0f;

// tan of half the vertical field of view: half the window's height, in units
// at distance 1 from the eye.
double halfFieldTangent();

struct SceneBox {
    Point3D low{};
    Point3D high{};
    bool empty = true;

    void add(const Point3D& p);
    Point3D centre() const;
};

SceneBox sceneBox(const TrackScene& scene);
Point3D eyePosition(const CCamera& camera);
bool trackInStartView(const TrackScene& scene, int width, int height);
CCamera framedCamera(const SceneBox& box, int width, int height);
CCamera startCamera(const TrackScene& scene, const SceneBox& box, bool frame, int width,
                    int height);
double farPlaneFor(const SceneBox& box, const CCamera& camera);
double nearPlaneFor(double farPlane);
float distanceToBox(const SceneBox& box, const Point3D& p);

// A sphere that holds a group of things drawn together.
struct Sphere {
    Point3D centre;
    float radius;
};

// A column-major 4 x 4 matrix, as GL keeps them.
using Matrix = std::array<double, 16>;

class ViewVolume {
public:
    // The model-view matrix must be a rotation and a shift (as the camera
    // makes it).
    ViewVolume(const Matrix& modelView, const Matrix& projection, int viewportHeight);

    // False only when the sphere lies wholly outside the frame's volume.
    bool mayShow(const Sphere& sphere) const;
    // The largest radius in pixels that a shape of `radius` placed anywhere
    // within `where` can have on the screen.
    float pixelRadius(float radius, const Sphere& where) const;
    const Point3D& eye() const { return eye_; }

private:
    double planes_[6][4];
    Point3D eye_;
    double pixelsPerUnit_;  // on-screen pixels of one unit at distance 1
    double nearPlane_;
};
