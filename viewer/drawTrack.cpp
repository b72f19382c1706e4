#include "drawTrack.h"

#include <GL/freeglut.h>

#include "solidTrack.h"

using namespace trackLook;

namespace {

constexpr int kSphereSlices = 8;
constexpr int kSphereStacks = 8;
constexpr GLfloat kPointPixelSize = 1.0f;

void vertex(const Point3D& p) { glVertex3f(p.x, p.y, p.z); }

void drawShape(drawTrack::Shape shape) {
    switch (shape) {
    case drawTrack::kNodeSphere: glutSolidSphere(kNodeRadius, kSphereSlices, kSphereStacks); break;
    case drawTrack::kBezierSphere:
        glutSolidSphere(kBezierPointRadius, kSphereSlices, kSphereStacks);
        break;
    case drawTrack::kFundCube: glutSolidCube(kFundNodeEdge); break;
    case drawTrack::kShapeCount: break;
    }
}

// The frame's view volume, from the matrices GL holds now.
ViewVolume currentView() {
    Matrix modelView{}, projection{};
    std::array<GLint, 4> viewport{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    return ViewVolume(modelView, projection, viewport[3]);
}

}  // namespace

namespace trackLook {

void setColour(drawTrack::Rgb colour) { glColor3ub(colour.red, colour.green, colour.blue); }

float shapeReach(drawTrack::Shape shape) {
    switch (shape) {
    case drawTrack::kNodeSphere: return static_cast<float>(kNodeRadius);
    case drawTrack::kBezierSphere: return static_cast<float>(kBezierPointRadius);
    case drawTrack::kFundCube:
    case drawTrack::kShapeCount: break;
    }
    return kFundNodeReach;
}

void drawListAt(const std::vector<Point3D>& points, const std::vector<size_t>& which, GLuint list) {
    for (size_t i : which) {
        const Point3D& p = points[i];
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        glCallList(list);
        glPopMatrix();
    }
}

void drawPoints(const VertexBuffer& buffer, const RangeList& ranges) {
    if (ranges.empty()) return;
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    glPointSize(kPointPixelSize);
    buffer.draw(GL_POINTS, ranges);
    glPointSize(size);
}

}  // namespace trackLook

drawTrack::drawTrack() = default;
drawTrack::~drawTrack() = default;

void drawTrack::setTrack(ZvTrack* newTrack) {
    track = newTrack;
    sceneComputed = false;
    prepared.reset();
    solidParts.reset();
}

const TrackScene& drawTrack::scene() {
    computeScene();
    return trackScene;
}

const SceneBox& drawTrack::box() {
    computeScene();
    return sceneExtent;
}

void drawTrack::warnTubes(const TubeList& tubes) {
    computeScene();
    trackScene.warnedTubes = tubes;
}

void drawTrack::Render() {
    prepare();
    const ViewVolume view = currentView();
    if (solidView) {
        if (!solidParts) solidParts = std::make_unique<solidTrack>(track, *prepared);
        solidParts->draw(view, trackScene.warnedTubes, shapeLists);
    } else {
        renderFlat(view);
    }
}

void drawTrack::RenderUncached() {
    sceneComputed = false;
    computeScene();
    drawScene();
}

void drawTrack::computeScene() {
    if (sceneComputed) return;
    trackScene = buildTrackScene(track);
    sceneExtent = sceneBox(trackScene);
    sceneComputed = true;
}

void drawTrack::prepare() {
    computeScene();
    recordShapes();
    if (prepared) return;
    prepared = std::make_unique<PreparedScene>();
    prepared->build(trackScene);
}

void drawTrack::drawScene() {
    Coaster(0.0f);
    TrackNodes();
    FundNodes();
    FreeNodes();
    Supports();
    BezierPoints();
}

void drawTrack::renderFlat(const ViewVolume& view) {
    selectCentreLines(prepared->centreLines, view, &lineSelection);
    setColour(kCentreLineColour);
    for (size_t level = 0; level < lineSelection.size(); ++level) {
        prepared->centreLines.levels[level].draw(GL_LINE_STRIP, lineSelection[level]);
    }
    drawNodes(prepared->trackNodes, kNodeSphere, kNodeColour, view);
    drawNodes(prepared->fundNodes, kFundCube, kFundNodeColour, view);
    drawNodes(prepared->freeNodes, kNodeSphere, kNodeColour, view);
    selectTubes(prepared->tubes, view, &tubeSelection);
    setColour(kTubeColour);
    prepared->tubes.lines.draw(GL_LINES, tubeSelection);
    drawNodes(prepared->bezierPoints, kBezierSphere, kBezierPointColour, view);
}

// The nodes of one set the frame can see: small ones as points, the others
// as the shape from its list.
void drawTrack::drawNodes(const NodeSet& set, Shape shape, Rgb colour, const ViewVolume& view) {
    selectNodes(set, shapeReach(shape), view, &nodeSelection);
    setColour(colour);
    drawPoints(set.buffer, nodeSelection.points);
    drawListAt(set.points, nodeSelection.shapes, shapeLists + shape);
}

// Draws the shape centred at each point, each inside its own push and pop of
// the matrix, so no point (however far out) can spoil the matrix for what is
// drawn after it.
void drawTrack::drawShapes(const std::vector<Point3D>& points, Shape shape, Rgb colour) {
    for (const Point3D& p : points) {
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        setColour(colour);
        drawShape(shape);
        glPopMatrix();
    }
}

void drawTrack::recordShapes() {
    if (shapeLists != 0) return;
    shapeLists = glGenLists(kShapeCount);
    for (unsigned shape = 0; shape < kShapeCount; ++shape) {
        glNewList(shapeLists + shape, GL_COMPILE);
        drawShape(static_cast<Shape>(shape));
        glEndList();
    }
}

void drawTrack::Coaster(float /*unused*/) {
    for (const std::vector<Point3D>& line : trackScene.centreLines) {
        setColour(kCentreLineColour);
        glBegin(GL_LINES);
        for (size_t k = 1; k < line.size(); ++k) {
            vertex(line[k - 1]);
            vertex(line[k]);
        }
        glEnd();
    }
}

void drawTrack::TrackNodes() { drawShapes(trackScene.trackNodes, kNodeSphere, kNodeColour); }

void drawTrack::FundNodes() { drawShapes(trackScene.fundNodes, kFundCube, kFundNodeColour); }

void drawTrack::FreeNodes() { drawShapes(trackScene.freeNodes, kNodeSphere, kNodeColour); }

void drawTrack::Supports() {
    setColour(kTubeColour);
    glBegin(GL_LINES);
    for (const TubeLine& tube : trackScene.tubes) {
        vertex(tube.a);
        vertex(tube.b);
    }
    glEnd();
}

void drawTrack::BezierPoints() {
    drawShapes(trackScene.bezierPoints, kBezierSphere, kBezierPointColour);
}
