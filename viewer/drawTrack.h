// The track renderer: draws a document into the current GL context, either
// in the flat view (flat colours, no lighting and no depth test, so later
// parts cover earlier ones) or in the solid view (solidTrack.h).
//
// The document does not change once it is shown, so the renderer works out
// the scene once (buildTrackScene), hands it to GL once (PreparedScene) and
// draws every frame from there, sending only what the frame's matrices can
// show and at the detail its size on the screen needs (preparedScene.h).
// Whatever is near enough to matter is drawn exactly as it is drawn without
// these savings, so both give the same pixels there.
//
//   setTrack        stores the document to draw (not owned, never changed)
//                   and forgets what was computed for an earlier one.
//   setSolid        the view Render draws: flat (the default) or solid.
//   scene, box      the scene worked out for the document and its extent.
//   warnTubes       tubes (document indices) the solid view marks.
//   Render          draws the chosen view as the current matrices see it;
//                   the flat one in this order: Coaster, TrackNodes,
//                   FundNodes, FreeNodes, Supports, BezierPoints.
//   RenderUncached  the flat picture worked out and drawn anew in full, as
//                   every frame did before the savings; kept to measure and
//                   check them.
//   The part functions draw their share of the last computed scene in full:
//     Coaster       centre line, (0, 183, 239) lines; the argument is unused
//     TrackNodes    spheres r 0.1, 8x8, (127, 0, 0)
//     FundNodes     cubes of edge 0.5, (180, 180, 180)
//     FreeNodes     spheres r 0.1, 8x8, (127, 0, 0)
//     Supports      tube lines, (255, 0, 0)
//     BezierPoints  spheres r 0.2, 8x8, (0, 0, 127)
// Every shape is drawn inside its own push and pop of the matrix. GL objects
// belong to the context current at the first Render; the renderer is meant
// for one context.
#pragma once

#include <GL/gl.h>

#include <memory>

#include "preparedScene.h"
#include "scene.h"
#include "tube.h"
#include "viewGeometry.h"
#include "zvtrack.h"

class solidTrack;

class drawTrack {
public:
    enum Shape : unsigned { kNodeSphere, kBezierSphere, kFundCube, kShapeCount };
    struct Rgb {
        GLubyte red, green, blue;
    };

    drawTrack();
    ~drawTrack();
    drawTrack(const drawTrack&) = delete;
    drawTrack& operator=(const drawTrack&) = delete;

    void setTrack(ZvTrack* track);
    void setSolid(bool solid) { solidView = solid; }
    bool solid() const { return solidView; }
    const TrackScene& scene();
    const SceneBox& box();
    void warnTubes(const TubeList& tubes);
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
    void prepare();
    void drawScene();
    void renderFlat(const ViewVolume& view);
    void drawNodes(const NodeSet& set, Shape shape, Rgb colour, const ViewVolume& view);
    void drawShapes(const std::vector<Point3D>& points, Shape shape, Rgb colour);
    void recordShapes();

    ZvTrack* track = nullptr;
    TrackScene trackScene;
    SceneBox sceneExtent;
    bool sceneComputed = false;
    std::unique_ptr<PreparedScene> prepared;  // built at the first Render
    std::unique_ptr<solidTrack> solidParts;   // built at the first solid Render
    bool solidView = false;
    unsigned shapeLists = 0;      // first of kShapeCount lists, one per Shape
    NodeSelection nodeSelection;  // per-frame scratch, kept to reuse its memory
    CentreLineSelection lineSelection;
    RangeList tubeSelection;
};

// What the flat and the solid view share.
namespace trackLook {
constexpr drawTrack::Rgb kCentreLineColour{0, 183, 239};
constexpr drawTrack::Rgb kNodeColour{127, 0, 0};
constexpr drawTrack::Rgb kFundNodeColour{180, 180, 180};
constexpr drawTrack::Rgb kTubeColour{255, 0, 0};
constexpr drawTrack::Rgb kBezierPointColour{0, 0, 127};

constexpr double kNodeRadius = 0.1;
constexpr double kBezierPointRadius = 0.2;
constexpr double kFundNodeEdge = 0.5;
// Half the diagonal of that cube, a little more.
constexpr float kFundNodeReach = 0.44f;

void setColour(drawTrack::Rgb colour);
// The radius of the sphere around a shape, centred where it is drawn.
float shapeReach(drawTrack::Shape shape);
// Draws `list` centred at each of the points numbered in `which`, each inside
// its own push and pop of the matrix.
void drawListAt(const std::vector<Point3D>& points, const std::vector<size_t>& which, GLuint list);
// Draws the points of `ranges` as one-pixel points, then restores the point size.
void drawPoints(const VertexBuffer& buffer, const RangeList& ranges);
}  // namespace trackLook
