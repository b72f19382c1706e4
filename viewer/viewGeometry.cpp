#include "viewGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "angles.h"

namespace {

// The box's half-extents are taken this much larger, so it does not touch
// the window's edges once framed.
constexpr double kFramingMargin = 1.05;
// A framed camera stands at least this far from the box's centre.
constexpr double kMinFramingDistance = 5.0;
// A far plane that has to grow stands this much beyond the farthest corner.
constexpr double kFarPlaneSlack = 1.01;
// The far plane may be at most this many times the near plane away; beyond
// that the depth buffer no longer tells near things apart.
constexpr double kDepthRange = 10000.0;
// Shapes near the window's edges look larger than at its centre.
constexpr double kEdgeStretch = 1.25;

Point3D minus(const Point3D& a, const Point3D& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

double dot(const Point3D& a, double x, double y, double z) { return a.x * x + a.y * y + a.z * z; }

double length(const Point3D& a) { return std::sqrt(dot(a, a.x, a.y, a.z)); }

bool withinFramedExtent(const Point3D& p) {
    return std::fabs(p.x) <= kFramedExtent && std::fabs(p.y) <= kFramedExtent &&
           std::fabs(p.z) <= kFramedExtent;
}

void addAll(const std::vector<Point3D>& points, SceneBox* box) {
    for (const Point3D& p : points) {
        if (withinFramedExtent(p)) box->add(p);
    }
}

std::array<Point3D, 8> corners(const SceneBox& box) {
    std::array<Point3D, 8> result;
    for (size_t k = 0; k < result.size(); ++k) {
        result[k] = {k & 1 ? box.high.x : box.low.x, k & 2 ? box.high.y : box.low.y,
                     k & 4 ? box.high.z : box.low.z};
    }
    return result;
}

// Whether a point given relative to the start camera's eye lies in its view.
bool inStartFrustum(const Point3D& v, double aspect) {
    const double depth = -static_cast<double>(v.z);
    if (!(depth >= kNearPlane && depth <= kDescribedFarPlane)) return false;
    const double tangent = halfFieldTangent();
    return std::fabs(v.x) <= depth * tangent * aspect && std::fabs(v.y) <= depth * tangent;
}

}  // namespace

double halfFieldTangent() { return std::tan(kFieldOfViewDegrees / 2 * kRadiansPerDegree); }

void SceneBox::add(const Point3D& p) {
    if (empty) {
        low = high = p;
        empty = false;
        return;
    }
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
}

Point3D SceneBox::centre() const {
    return {low.x * 0.5f + high.x * 0.5f, low.y * 0.5f + high.y * 0.5f,
            low.z * 0.5f + high.z * 0.5f};
}

SceneBox sceneBox(const TrackScene& scene) {
    SceneBox box;
    for (const std::vector<Point3D>& line : scene.centreLines) addAll(line, &box);
    addAll(scene.trackNodes, &box);
    addAll(scene.fundNodes, &box);
    addAll(scene.freeNodes, &box);
    return box;
}

Point3D eyePosition(const CCamera& camera) {
    return minus({camera.Position.x, camera.Position.y, camera.Position.z}, kSceneShift);
}

bool trackInStartView(const TrackScene& scene, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    const double aspect = static_cast<double>(width) / height;
    const Point3D eye = eyePosition(CCamera());
    for (const std::vector<Point3D>& line : scene.centreLines) {
        for (const Point3D& p : line) {
            if (inStartFrustum(minus(p, eye), aspect)) return true;
        }
    }
    return false;
}

CCamera framedCamera(const SceneBox& box, int width, int height) {
    CCamera camera;
    if (box.empty || width <= 0 || height <= 0) return camera;
    camera.RotateX(kFramingPitchDegrees);
    const double pitch = kFramingPitchDegrees * kRadiansPerDegree;
    // The camera's axes: right is +x; up and forward lie in the y-z plane.
    const double upY = std::cos(pitch), upZ = std::sin(pitch);
    const double forwardY = std::sin(pitch), forwardZ = -std::cos(pitch);
    const double tangentY = halfFieldTangent();
    const double tangentX = tangentY * width / height;
    const Point3D centre = box.centre();
    double distance = kMinFramingDistance;
    for (const Point3D& corner : corners(box)) {
        const Point3D c = minus(corner, centre);
        const double ahead = dot(c, 0, forwardY, forwardZ);
        const double across = std::fabs(c.x) * kFramingMargin / tangentX - ahead;
        const double upward = std::fabs(dot(c, 0, upY, upZ)) * kFramingMargin / tangentY - ahead;
        distance = std::max({distance, across, upward, 2 * kNearPlane - ahead});
    }
    const Point3D eye{centre.x, static_cast<float>(centre.y - distance * forwardY),
                      static_cast<float>(centre.z - distance * forwardZ)};
    camera.Position =
        F3dVector(eye.x + kSceneShift.x, eye.y + kSceneShift.y, eye.z + kSceneShift.z);
    return camera;
}

CCamera startCamera(const TrackScene& scene, const SceneBox& box, bool frame, int width,
                    int height) {
    if (frame || (!box.empty && !trackInStartView(scene, width, height))) {
        return framedCamera(box, width, height);
    }
    return CCamera();
}

double farPlaneFor(const SceneBox& box, const CCamera& camera) {
    if (box.empty) return kDescribedFarPlane;
    const Point3D eye = eyePosition(camera);
    double farthest = 0;
    for (const Point3D& corner : corners(box)) {
        farthest = std::max(farthest, length(minus(corner, eye)));
    }
    if (!std::isfinite(farthest) || farthest <= kDescribedFarPlane) return kDescribedFarPlane;
    return farthest * kFarPlaneSlack;
}

double nearPlaneFor(double farPlane) { return std::max(kNearPlane, farPlane / kDepthRange); }

float distanceToBox(const SceneBox& box, const Point3D& p) {
    if (box.empty) return std::numeric_limits<float>::infinity();
    const Point3D outside{std::max({box.low.x - p.x, 0.0f, p.x - box.high.x}),
                          std::max({box.low.y - p.y, 0.0f, p.y - box.high.y}),
                          std::max({box.low.z - p.z, 0.0f, p.z - box.high.z})};
    return static_cast<float>(length(outside));
}

ViewVolume::ViewVolume(const Matrix& modelView, const Matrix& projection, int viewportHeight) {
    // clip = projection * modelView; row r of it is clip[r + 4 * column].
    double clip[16];
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += projection[row + 4 * k] * modelView[k + 4 * column];
            clip[row + 4 * column] = sum;
        }
    }
    // Left, right, bottom, top, near, far: the last row plus or minus another.
    for (int plane = 0; plane < 6; ++plane) {
        const int row = plane / 2;
        const double sign = plane % 2 == 0 ? 1.0 : -1.0;
        double norm = 0;
        for (int k = 0; k < 4; ++k) {
            planes_[plane][k] = clip[3 + 4 * k] + sign * clip[row + 4 * k];
            if (k < 3) norm += planes_[plane][k] * planes_[plane][k];
        }
        norm = std::sqrt(norm);
        for (double& coefficient : planes_[plane]) coefficient = norm > 0 ? coefficient / norm : 0;
    }
    // The eye: the model-view shift turned back by the transposed rotation.
    const Matrix& m = modelView;
    eye_ = {static_cast<float>(-(m[0] * m[12] + m[1] * m[13] + m[2] * m[14])),
            static_cast<float>(-(m[4] * m[12] + m[5] * m[13] + m[6] * m[14])),
            static_cast<float>(-(m[8] * m[12] + m[9] * m[13] + m[10] * m[14]))};
    pixelsPerUnit_ = projection[5] * viewportHeight / 2;
    nearPlane_ = projection[14] / (projection[10] - 1);
}

bool ViewVolume::mayShow(const Sphere& sphere) const {
    for (const auto& plane : planes_) {
        const double side = dot(sphere.centre, plane[0], plane[1], plane[2]) + plane[3];
        if (side < -sphere.radius) return false;
    }
    return true;
}

float ViewVolume::pixelRadius(float radius, const Sphere& where) const {
    const double distance = std::max(length(minus(where.centre, eye_)) - where.radius, nearPlane_);
    return static_cast<float>(radius * pixelsPerUnit_ * kEdgeStretch / distance);
}
