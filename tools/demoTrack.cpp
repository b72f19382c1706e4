#include "demoTrack.h"

#include <vector>

#include "track.h"

const char* const kDemoTrackComments =
    "Strutwright demo circuit: station, lift hill, drop, banked turns, brake run. "
    "Markers: 2 column, 6 crossbeam, 7 braced leg, 3 strut only.";

namespace {


// One bezier: the track passes `position` heading along `tangent`, whose
// length sets how far the control points stand out on either side.
struct DemoBezier {
    Point3D position;
    Point3D tangent;
    float roll;  // radians; positive banks into the circuit's left-hand turns
};

// Beziers counter-clockwise seen from above; segment i runs from bezier i to
// bezier i+1, the last one back to bezier 0.
const DemoBezier kBeziers[] = {
    {{-25, 3, 30}, {10, 0, 0}, 0.0f},     // station start
    {{5, 3, 30}, {6, 0, 0}, 0.0f},        // station end, lift begins
    {{40, 30, 30}, {7, 6, 0}, 0.0f},      // top of the lift
    {{55, 32, 12}, {3, 0, -8}, 0.5f},     // turning crest
    {{48, 4, -22}, {-5, 0, -10}, 0.2f},   // bottom of the drop
    {{20, 7, -45}, {-10, 1, -2}, 0.8f},   // banked turn
    {{-15, 18, -42}, {-10, 0, 3}, 0.0f},  // hill top
    {{-40, 12, -28}, {-7, -1, 6}, 0.7f},  // banked turn
    {{-46, 6, -8}, {0, -0.5f, 6}, 0.0f},  // brake run begins
    {{-46, 4, 12}, {0, 0, 6}, 0.0f},      // brake run ends, back to the station
};

enum class DemoColours { kDefault, kMirroredLeg, kNoExtraDiagonal, kLowTieSteepBrace };

// A segment and the markers on it, at curve parameters 0..1.
struct DemoSegment {
    int type;
    DemoColours colours;
    int markerType;
    std::vector<float> markers;
    std::vector<float> strutOnlyMarkers;
};

const DemoSegment kSegments[] = {
    {kSegmentStation, DemoColours::kDefault, kMarkerColumn, {0.1f, 0.3f, 0.7f, 0.9f}, {0.5f}},
    {kSegmentLift, DemoColours::kMirroredLeg, kMarkerBracedLeg, {0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f}, {}},
    {kSegmentPlain, DemoColours::kLowTieSteepBrace, kMarkerBracedLeg, {0.25f, 0.5f, 0.75f}, {}},
    {kSegmentPlain, DemoColours::kDefault, kMarkerColumn, {0.2f, 0.4f, 0.6f, 0.8f}, {}},
    {kSegmentPlain, DemoColours::kDefault, kMarkerCrossbeam, {0.2f, 0.4f, 0.6f, 0.8f}, {}},
    {kSegmentPlain, DemoColours::kNoExtraDiagonal, kMarkerBracedLeg, {0.25f, 0.5f, 0.75f}, {}},
    {kSegmentPlain, DemoColours::kDefault, kMarkerCrossbeam, {0.3f, 0.6f, 0.85f}, {}},
    {kSegmentPlain, DemoColours::kDefault, kMarkerColumn, {0.33f, 0.66f}, {}},
    {kSegmentBrake, DemoColours::kDefault, kMarkerColumn, {0.25f, 0.75f}, {0.5f}},
    {kSegmentPlain, DemoColours::kDefault, kMarkerColumn, {0.5f}, {}},
};

// Opaque white is the neutral colour: components of 255 select the defaults.
constexpr int kOpaque = 255;
constexpr int kFull = 255;
constexpr int kDemoTieHeight = 5;
constexpr int kDemoBraceAngle = 20;

struct SegmentColours {
    Color color1, color2, color3;
};

SegmentColours coloursFor(DemoColours choice) {
    const Color white = createColorARGB(kOpaque, kFull, kFull, kFull);
    SegmentColours c{white, white, white};
    switch (choice) {
        case DemoColours::kMirroredLeg: c.color1 = createColorARGB(kOpaque, 0, kFull, 0); break;
        case DemoColours::kNoExtraDiagonal: c.color2 = createColorARGB(kOpaque, kFull, 0, 0); break;
        case DemoColours::kLowTieSteepBrace:
            c.color3 = createColorARGB(kOpaque, kDemoTieHeight, kFull, kDemoBraceAngle);
            break;
        case DemoColours::kDefault: break;
    }
    return c;
}

// The plan above is drawn 25% large; the circuit is shrunk on the ground and
// moved away from the viewer's starting camera, which looks along -z from 40
// in front of the origin, so the first frame shows the station in front and
// most of the far side.
constexpr float kGroundScale = 0.8f;
constexpr float kCircuitShiftX = -4.0f;
constexpr float kCircuitShiftZ = -22.0f;

void placeBezier(int index, const DemoBezier& b, ZvTrack* track) {
    const Point3D p = {b.position.x * kGroundScale + kCircuitShiftX, b.position.y,
                       b.position.z * kGroundScale + kCircuitShiftZ};
    const Point3D t = {b.tangent.x * kGroundScale, b.tangent.y, b.tangent.z * kGroundScale};
    if (index < getNumBeziers(track)) {
        modifyBezier(index, p.x, p.y, p.z, p.x - t.x, p.y - t.y, p.z - t.z, p.x + t.x, p.y + t.y,
                     p.z + t.z, b.roll, 0, 0, 0, track);
    } else {
        addBezier(p.x, p.y, p.z, p.x - t.x, p.y - t.y, p.z - t.z, p.x + t.x, p.y + t.y, p.z + t.z,
                  b.roll, 0, 0, 0, track);
    }
}

// Plausible operating values for the stored settings blocks; the generator
// does not read them.
void setOperatingSettings(int type, int n, ZvTrack* track) {
    switch (type) {
        case kSegmentStation:
            setSegmentStation(n, 2.0f, 1.5f, 30.0f, 45.0f, 1, 2, 1, 0, 5.0f, 1, 1, 1, 0, 3.0f,
                              1.0f, 2.0f, 1, 0.5f, 0.5f, 0.5f, 1, 10.0f, 1, track);
            break;
        case kSegmentLift: setSegmentLift(n, 1, 3.5f, 4.0f, 0.5f, 1, 1, 0, track); break;
        case kSegmentBrake:
            setSegmentBreak(n, 5.0f, 6.0f, 1.5f, 2.0f, 1, 0, 3.0f, 0.5f, 1.0f, 1, 0, 1, 0, 0, 1,
                            4.0f, 0, track);
            break;
        default: break;
    }
}

void addDemoSegment(int s, const DemoSegment& segment, ZvTrack* track) {
    int n = s + 1;  // segment record operations count from 1
    SegmentColours c = coloursFor(segment.colours);
    addSegment(segment.type, n, 0, c.color1, c.color2, c.color3, 0, 0, track);
    setOperatingSettings(segment.type, n, track);
    for (float pos : segment.markers) addTrackNode(s, segment.markerType, pos, track);
    for (float pos : segment.strutOnlyMarkers) addTrackNode(s, kMarkerStrutOnly, pos, track);
}

}  // namespace

void buildDemoTrack(ZvTrack* track) {
    initNewZvTrack(track);
    int index = 0;
    for (const DemoBezier& b : kBeziers) placeBezier(index++, b, track);
    int s = 0;
    for (const DemoSegment& segment : kSegments) addDemoSegment(s++, segment, track);
    track->closedTrack = 1;
    setAuthorComments(kDemoTrackComments, track);
}
