#include "drawTrack.h"

#include <GL/freeglut.h>

namespace {

using Rgb = drawTrack::Rgb;

constexpr Rgb kCentreLineColour{0, 183, 239};
constexpr Rgb kNodeColour{127, 0, 0};
constexpr Rgb kFundNodeColour{180, 180, 180};
constexpr Rgb kTubeColour{255, 0, 0};
constexpr Rgb kBezierPointColour{0, 0, 127};

constexpr double kNodeRadius = 0.1;
constexpr double kBezierPointRadius = 0.2;
constexpr int kSphereSlices = 8;
constexpr int kSphereStacks = 8;
constexpr double kFundNodeEdge = 0.5;

void setColour(Rgb colour) { glColor3ub(colour.red, colour.green, colour.blue); }

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

}  // namespace

// Draws the shape centred at each point, each inside its own push and pop of
// the matrix, so no point (however far out) can spoil the matrix for what is
// drawn after it. While the frame is recorded, the shape comes from its own
// list, so the frame's list holds each shape once.
void drawTrack::drawShapes(const std::vector<Point3D>& points, Shape shape, Rgb colour) {
    for (const Point3D& p : points) {
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        setColour(colour);
        if (recordingWithShapes) {
            glCallList(shapeLists + shape);
        } else {
            drawShape(shape);
        }
        glPopMatrix();
    }
}

void drawTrack::setTrack(ZvTrack* newTrack) {
    track = newTrack;
    sceneComputed = false;
    sceneListStale = sceneList != 0;
}

void drawTrack::Render() {
    if (sceneList == 0 || sceneListStale) recordScene();
    if (sceneList != 0) {
        glCallList(sceneList);
    } else {
        drawScene();
    }
}

void drawTrack::RenderUncached() {
    sceneComputed = false;
    computeScene();
    drawScene();
}

void drawTrack::computeScene() {
    if (sceneComputed) return;
    scene = buildTrackScene(track);
    sceneComputed = true;
}

void drawTrack::drawScene() {
    Coaster(0.0f);
    TrackNodes();
    FundNodes();
    FreeNodes();
    Supports();
    BezierPoints();
}

// Records the frame's drawing once; without a list (GL refused one) Render
// draws directly.
void drawTrack::recordScene() {
    if (sceneList != 0) glDeleteLists(sceneList, 1);
    sceneListStale = false;
    computeScene();
    recordShapes();
    sceneList = glGenLists(1);
    if (sceneList == 0) return;
    recordingWithShapes = shapeLists != 0;
    glNewList(sceneList, GL_COMPILE);
    drawScene();
    glEndList();
    recordingWithShapes = false;
}

void drawTrack::recordShapes() {
    if (shapeLists != 0) return;
    shapeLists = glGenLists(kShapeCount);
    for (unsigned shape = 0; shapeLists != 0 && shape < kShapeCount; ++shape) {
        glNewList(shapeLists + shape, GL_COMPILE);
        drawShape(static_cast<Shape>(shape));
        glEndList();
    }
}

void drawTrack::Coaster(float /*unused*/) {
    for (const std::vector<Point3D>& line : scene.centreLines) {
        setColour(kCentreLineColour);
        glBegin(GL_LINES);
        for (size_t k = 1; k < line.size(); ++k) {
            vertex(line[k - 1]);
            vertex(line[k]);
        }
        glEnd();
    }
}

void drawTrack::TrackNodes() { drawShapes(scene.trackNodes, kNodeSphere, kNodeColour); }

void drawTrack::FundNodes() { drawShapes(scene.fundNodes, kFundCube, kFundNodeColour); }

void drawTrack::FreeNodes() { drawShapes(scene.freeNodes, kNodeSphere, kNodeColour); }

void drawTrack::Supports() {
    setColour(kTubeColour);
    glBegin(GL_LINES);
    for (const TubeLine& tube : scene.tubes) {
        vertex(tube.a);
        vertex(tube.b);
    }
    glEnd();
}

void drawTrack::BezierPoints() {
    drawShapes(scene.bezierPoints, kBezierSphere, kBezierPointColour);
}
