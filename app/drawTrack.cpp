#include "drawTrack.h"

#include <GL/freeglut.h>

namespace {

struct Rgb {
    GLubyte red, green, blue;
};

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

// Moves to the point, draws a shape centred there and moves back; the matrix
// is restored by the opposite shift.
template <typename DrawShape>
void drawAt(const Point3D& p, Rgb colour, DrawShape drawShape) {
    glTranslatef(p.x, p.y, p.z);
    setColour(colour);
    drawShape();
    glTranslatef(-p.x, -p.y, -p.z);
}

void drawSpheres(const std::vector<Point3D>& points, double radius, Rgb colour) {
    for (const Point3D& p : points) {
        drawAt(p, colour, [radius] { glutSolidSphere(radius, kSphereSlices, kSphereStacks); });
    }
}

}  // namespace

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
    sceneList = glGenLists(1);
    if (sceneList == 0) return;
    glNewList(sceneList, GL_COMPILE);
    drawScene();
    glEndList();
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

void drawTrack::TrackNodes() { drawSpheres(scene.trackNodes, kNodeRadius, kNodeColour); }

void drawTrack::FundNodes() {
    for (const Point3D& p : scene.fundNodes) {
        drawAt(p, kFundNodeColour, [] { glutSolidCube(kFundNodeEdge); });
    }
}

void drawTrack::FreeNodes() { drawSpheres(scene.freeNodes, kNodeRadius, kNodeColour); }

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
    drawSpheres(scene.bezierPoints, kBezierPointRadius, kBezierPointColour);
}
