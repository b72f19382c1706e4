#include "solidTrack.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "angles.h"
#include "calc.h"
#include "drawTrack.h"

using namespace trackLook;
using Rgb = drawTrack::Rgb;

namespace {

// Radii of the support tubes by type, thinnest first along the generator's
// ladder (type 2, 0, 1, 5, 6); any other type is drawn as type 0.
constexpr float kTubeRadius2 = 0.06f;
constexpr float kTubeRadius0 = 0.1f;
constexpr float kTubeRadius1 = 0.14f;
constexpr float kTubeRadius5 = 0.2f;
constexpr float kTubeRadius6 = 0.28f;
constexpr float kThickestTube = kTubeRadius6;

// A tube or rail whose radius looks smaller than this many pixels is a line.
constexpr float kLinePixels = 1.0f;

constexpr int kCylinderSlices = 8;
// A tube this close to vertical takes its cross-section from x instead of y.
constexpr float kLeastCrossing = 0.1f;
constexpr int kRailSides = 6;

constexpr Rgb kRailColour = kCentreLineColour;
constexpr Rgb kSpineColour{0, 120, 170};
constexpr Rgb kWarningColour{255, 190, 0};
// Lines and points are not lit: they take about the shade lit surfaces have.
constexpr float kUnlitShade = 0.8f;

// A light from above, a little from the side and behind the start camera.
constexpr GLfloat kLightDirection[4] = {0.35f, 1.0f, 0.45f, 0.0f};
constexpr GLfloat kAmbient[4] = {0.35f, 0.35f, 0.35f, 1.0f};
constexpr GLfloat kDiffuse[4] = {0.75f, 0.75f, 0.75f, 1.0f};

Rgb unlit(Rgb colour) {
    auto shade = [](GLubyte c) {
        return static_cast<GLubyte>(static_cast<float>(c) * kUnlitShade);
    };
    return {shade(colour.red), shade(colour.green), shade(colour.blue)};
}

Vectors vectors;

Sphere tubeReach(const TubeLine& tube, float radius) {
    const Point3D middle{tube.a.x * 0.5f + tube.b.x * 0.5f, tube.a.y * 0.5f + tube.b.y * 0.5f,
                         tube.a.z * 0.5f + tube.b.z * 0.5f};
    const Point3D half{tube.b.x - middle.x, tube.b.y - middle.y, tube.b.z - middle.z};
    return Sphere{middle, vectors.GetLength(half) + radius};
}

std::vector<Point3D> railStrips(const std::vector<std::vector<RailSample>>& rails, int pieces) {
    std::vector<Point3D> strips;
    const size_t stride = kRailPieces / pieces;
    for (const std::vector<RailSample>& samples : rails) {
        for (Rail rail : kRails) {
            for (size_t k = 0; k < samples.size(); k += stride) {
                strips.push_back(railPoint(samples[k], rail));
            }
        }
    }
    return strips;
}

// Triangles with their normals.
struct Surface {
    std::vector<Point3D> positions;
    std::vector<Point3D> normals;
};

// The surface of one rail along a segment, kRailSides quads per piece, a
// piece spanning `stride` samples.
void addRailSurface(const std::vector<RailSample>& samples, size_t stride, Rail rail,
                    Surface* surface) {
    auto ring = [&](size_t k, int side) {
        const double angle = kTwoPi * side / kRailSides;
        const Point3D out =
            vectors.Add(vectors.MultScalar(samples[k].side, static_cast<float>(std::cos(angle))),
                        vectors.MultScalar(samples[k].up, static_cast<float>(std::sin(angle))));
        surface->positions.push_back(
            vectors.Add(railPoint(samples[k], rail), vectors.MultScalar(out, railRadius(rail))));
        surface->normals.push_back(out);
    };
    for (size_t k = 0; k + stride < samples.size(); k += stride) {
        const size_t next = k + stride;
        for (int side = 0; side < kRailSides; ++side) {
            for (const auto& corner :
                 {std::make_pair(k, side), std::make_pair(next, side),
                  std::make_pair(next, side + 1), std::make_pair(k, side),
                  std::make_pair(next, side + 1), std::make_pair(k, side + 1)}) {
                ring(corner.first, corner.second);
            }
        }
    }
}

void setUpLighting() {
    glLightfv(GL_LIGHT0, GL_POSITION, kLightDirection);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kAmbient);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    // Cylinders are scaled unevenly; their normals need setting right again.
    glEnable(GL_NORMALIZE);
}

}  // namespace

float tubeRadius(int tubeType) {
    switch (tubeType) {
    case kTubeLightest: return kTubeRadius2;
    case kTubeMedium: return kTubeRadius1;
    case kTubeHeavy: return kTubeRadius5;
    case kTubeHeaviest: return kTubeRadius6;
    default: return kTubeRadius0;
    }
}

solidTrack::solidTrack(ZvTrack* track, const PreparedScene& scene)
    : scene_(scene), rails_(railSamples(track)) {
    for (size_t level = 0; level < kRailLevels.size(); ++level) {
        railLines_[level].fill(railStrips(rails_, kRailLevels[level]));
    }
    // Open at both ends: the ends stand in nodes or other tubes.
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    cylinderList_ = glGenLists(1);
    glNewList(cylinderList_, GL_COMPILE);
    gluCylinder(quadric, 1.0, 1.0, 1.0, kCylinderSlices, 1);
    glEndList();
    gluDeleteQuadric(quadric);
}

void solidTrack::draw(const ViewVolume& view, const TubeList& warned, unsigned shapeLists) {
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT |
                 GL_POINT_BIT);
    glEnable(GL_DEPTH_TEST);
    setUpLighting();
    selectRails(view);
    drawRails();
    drawNodes(scene_.trackNodes, drawTrack::kNodeSphere, kNodeColour, shapeLists, view);
    drawNodes(scene_.fundNodes, drawTrack::kFundCube, kFundNodeColour, shapeLists, view);
    drawNodes(scene_.freeNodes, drawTrack::kNodeSphere, kNodeColour, shapeLists, view);
    selectSupports(view);
    drawSupports(warned);
    drawNodes(scene_.bezierPoints, drawTrack::kBezierSphere, kBezierPointColour, shapeLists, view);
    glPopAttrib();
}

// Per segment: one line while its rails are closer together than a pixel,
// three lines while they are thinner than a pixel, else surfaces.
void solidTrack::selectRails(const ViewVolume& view) {
    for (RangeList& ranges : singleLines_) ranges.clear();
    for (RangeList& ranges : railLineSelection_) ranges.clear();
    nearSegments_.clear();
    const CentreLineSet& lines = scene_.centreLines;
    for (size_t segment = 0; segment < rails_.size(); ++segment) {
        const Sphere& bounds = lines.bounds[segment];
        if (!view.mayShow({bounds.centre, bounds.radius + kRailHalfGauge + kSpineDrop})) continue;
        const size_t level =
            detailLevel(view.pixelRadius(lines.lengths[segment], bounds), kRailLevels);
        if (view.pixelRadius(kRailHalfGauge, bounds) < kPointPixels) {
            addCentreLine(lines, segment, view, &singleLines_);
        } else if (view.pixelRadius(kSpineRadius, bounds) < kLinePixels) {
            const size_t points = static_cast<size_t>(kRailLevels[level]) + 1;
            for (size_t rail = 0; rail < std::size(kRails); ++rail) {
                railLineSelection_[level].addStrip((segment * std::size(kRails) + rail) * points,
                                                   points);
            }
        } else {
            nearSegments_.push_back(
                {segment, static_cast<size_t>(kRailPieces / kRailLevels[level])});
        }
    }
}

void solidTrack::drawRails() {
    glDisable(GL_LIGHTING);
    setColour(unlit(kRailColour));
    for (size_t level = 0; level < singleLines_.size(); ++level) {
        scene_.centreLines.levels[level].draw(GL_LINE_STRIP, singleLines_[level]);
    }
    for (size_t level = 0; level < railLineSelection_.size(); ++level) {
        railLines_[level].draw(GL_LINE_STRIP, railLineSelection_[level]);
    }
    glEnable(GL_LIGHTING);
    for (Rail rail : kRails) {
        Surface surface;
        for (const auto& near : nearSegments_) {
            addRailSurface(rails_[near.first], near.second, rail, &surface);
        }
        nearRails_.fill(surface.positions, surface.normals);
        setColour(rail == Rail::kSpine ? kSpineColour : kRailColour);
        nearRails_.drawAll(GL_TRIANGLES);
    }
}

void solidTrack::selectSupports(const ViewVolume& view) {
    tubes_.lines.clear();
    tubes_.cylinders.clear();
    const TubeSet& set = scene_.tubes;
    for (const ItemGroup& group : set.groups) {
        if (!view.mayShow({group.bounds.centre, group.bounds.radius + kThickestTube})) continue;
        if (view.pixelRadius(kThickestTube, group.bounds) < kLinePixels) {
            tubes_.lines.add(2 * group.first, 2 * group.count);
            continue;
        }
        for (size_t i = group.first; i < group.first + group.count; ++i) {
            const float radius = tubeRadius(set.tubes[i].tubeType);
            const Sphere reach = tubeReach(set.tubes[i], radius);
            if (!view.mayShow(reach)) continue;
            if (view.pixelRadius(radius, reach) < kLinePixels) {
                tubes_.lines.add(2 * i, 2);
            } else {
                tubes_.cylinders.push_back(i);
            }
        }
    }
}

// The tubes as chosen, then the warned ones once more over them in the
// warning colour (a surface drawn again at the same depth wins).
void solidTrack::drawSupports(const TubeList& warned) {
    const TubeSet& set = scene_.tubes;
    glDisable(GL_LIGHTING);
    setColour(unlit(kTubeColour));
    set.lines.draw(GL_LINES, tubes_.lines);
    glEnable(GL_LIGHTING);
    setColour(kTubeColour);
    for (size_t i : tubes_.cylinders) drawCylinder(set.tubes[i]);
    if (warned.empty()) return;
    glDepthFunc(GL_LEQUAL);
    RangeList warnedLines;
    for (size_t i = 0; i < set.tubes.size(); ++i) {
        if (std::binary_search(warned.begin(), warned.end(), set.tubes[i].tube)) warnedLines.add(2 * i, 2);
    }
    glDisable(GL_LIGHTING);
    setColour(kWarningColour);
    set.lines.draw(GL_LINES, warnedLines);
    glEnable(GL_LIGHTING);
    for (size_t i : tubes_.cylinders) {
        if (std::binary_search(warned.begin(), warned.end(), set.tubes[i].tube)) drawCylinder(set.tubes[i]);
    }
}

// The unit cylinder (radius 1, from z = 0 to z = 1) stretched from end a to
// end b with the tube's radius.
void solidTrack::drawCylinder(const TubeLine& tube) const {
    const Point3D axis{tube.b.x - tube.a.x, tube.b.y - tube.a.y, tube.b.z - tube.a.z};
    const Point3D along = vectors.Normalize(axis);
    Point3D across = vectors.CrossProduct(along, {0.0f, 1.0f, 0.0f});
    if (vectors.GetLength(across) < kLeastCrossing) {
        across = vectors.CrossProduct(along, {1.0f, 0.0f, 0.0f});
    }
    across = vectors.Normalize(across);
    const Point3D third = vectors.CrossProduct(along, across);
    const float r = tubeRadius(tube.tubeType);
    const GLfloat matrix[16] = {across.x * r, across.y * r, across.z * r, 0,
                                third.x * r,  third.y * r,  third.z * r,  0,
                                axis.x,       axis.y,       axis.z,       0,
                                tube.a.x,     tube.a.y,     tube.a.z,     1};
    glPushMatrix();
    glMultMatrixf(matrix);
    glCallList(cylinderList_);
    glPopMatrix();
}

// Points unlit, shapes lit.
void solidTrack::drawNodes(const NodeSet& set, drawTrack::Shape shape, Rgb colour,
                           unsigned shapeLists, const ViewVolume& view) {
    selectNodes(set, shapeReach(shape), view, &nodes_);
    glDisable(GL_LIGHTING);
    setColour(unlit(colour));
    drawPoints(set.buffer, nodes_.points);
    glEnable(GL_LIGHTING);
    setColour(colour);
    drawListAt(set.points, nodes_.shapes, shapeLists + shape);
}
