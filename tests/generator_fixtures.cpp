#include "generator_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace genfix {
namespace {

constexpr int kOpaque = 255;

Point3D lerp(Point3D a, Point3D b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

void setBezier(ZvTrack* track, int index, Point3D position, Point3D in, Point3D out, float roll) {
    modifyBezier(index, position.x, position.y, position.z, in.x, in.y, in.z, out.x, out.y, out.z,
                 roll, 0, 0, 0, track);
}

bool names(int kind, int index, int segment, const ZvTrack& track) {
    switch (kind) {
        case kEndFundNode: return index >= 0 && index < static_cast<int>(track.fundNodeArray.size());
        case kEndFreeNode: return index >= 0 && index < static_cast<int>(track.freeNodeArray.size());
        case kEndTrackNode:
            return segment >= 0 && segment < static_cast<int>(track.trackNodeLists.size()) &&
                   index >= 0 &&
                   index < static_cast<int>(track.trackNodeLists[static_cast<size_t>(segment)].nodes.size());
        default: return false;
    }
}

void noteIfNonFinite(std::vector<std::string>* found, const std::string& what, float value) {
    if (!std::isfinite(value)) found->push_back(what);
}

}  // namespace

ZvTrack straightTrack(Point3D start, Point3D end, float roll, int coasterStyle) {
    ZvTrack track;
    initNewZvTrack(&track);
    setCoasterStyle(coasterStyle, &track);
    setBezier(&track, 0, start, start, lerp(start, end, 1.0f / 3), roll);
    addStraightBezier(&track, end, roll);
    return track;
}

void addStraightBezier(ZvTrack* track, Point3D position, float roll) {
    const int last = getNumBeziers(track) - 1;
    BezierRecord previous = getBezier(last, track);
    setBezier(track, last, previous.position, previous.controlIn,
              lerp(previous.position, position, 1.0f / 3), previous.roll);
    addBezier(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, track);
    setBezier(track, last + 1, position, lerp(previous.position, position, 2.0f / 3), position, roll);
    const int segments = getTotalSegments(track);
    addSegment(kSegmentPlain, segments + 1, 0, Color{}, Color{}, tieColor(kOpaque, kOpaque), 0, 0,
               track);
}

ZvTrack crossingTrack(float aside) {
    ZvTrack track = straightTrack({-44, 20, 0}, {44, 20, 0});
    addStraightBezier(&track, {aside, 5, -60});
    addStraightBezier(&track, {aside, 5, 60});
    return track;
}

ZvTrack twoLevelCrossing() {
    ZvTrack track = straightTrack({-44, 20, 0}, {44, 20, 0});
    addStraightBezier(&track, {1, 12, -60});
    addStraightBezier(&track, {1, 12, 60});
    addStraightBezier(&track, {0, 5, 60});
    addStraightBezier(&track, {0, 5, -60});
    return track;
}

void setColors(ZvTrack* track, int s, Color color1, Color color2, Color color3) {
    modifySegment(kSegmentPlain, s + 1, 0, color1, color2, color3, 0, 0, track);
}

Supports runType1(ZvTrack* track) {
    Supports supports;
    strutWright generator;
    generator.setTrack(track);
    generator.setSupport(&supports);
    generator.Type1(0);
    return supports;
}

MakeRun runMake(ZvTrack* track) {
    MakeRun run;
    setDriverDefaults(&run.supports);
    strutWright generator;
    generator.setTrack(track);
    generator.setSupport(&run.supports);
    testing::internal::CaptureStdout();
    generator.Make();
    run.out = testing::internal::GetCapturedStdout();
    run.report = generator.report();
    for (const ReportLine& warning : run.report.warnings) run.warnings += warning.text + "\n";
    return run;
}

Color opaqueRed(bool loaded) {
    return loaded ? Color{-1, 0, 0, -1} : createColorARGB(kOpaque, kOpaque, 0, 0);
}

Color opaqueGreen(bool loaded) {
    return loaded ? Color{-1, 0, -1, 0} : createColorARGB(kOpaque, 0, kOpaque, 0);
}

Color tieColor(int redByte, int blueByte) { return createColorARGB(0, redByte, 0, blueByte); }

std::vector<std::string> endProblems(const ZvTrack& track) {
    std::vector<std::string> problems;
    for (size_t t = 0; t < track.tubeArray.size(); ++t) {
        const TubeRecord& tube = track.tubeArray[t];
        if (!names(tube.kind1, tube.index1, tube.segment1, track)) {
            problems.push_back("tube " + std::to_string(t) + " end 1");
        }
        if (!names(tube.kind2, tube.index2, tube.segment2, track)) {
            problems.push_back("tube " + std::to_string(t) + " end 2");
        }
    }
    return problems;
}

std::vector<std::string> nonFiniteValues(const ZvTrack& track) {
    std::vector<std::string> found;
    for (size_t i = 0; i < track.freeNodeArray.size(); ++i) {
        const FreeNodeRecord& node = track.freeNodeArray[i];
        const std::string what = "free node " + std::to_string(i);
        noteIfNonFinite(&found, what, node.x);
        noteIfNonFinite(&found, what, node.y);
        noteIfNonFinite(&found, what, node.z);
    }
    for (size_t i = 0; i < track.fundNodeArray.size(); ++i) {
        const FundNodeRecord& node = track.fundNodeArray[i];
        const std::string what = "foundation node " + std::to_string(i);
        noteIfNonFinite(&found, what, node.x);
        noteIfNonFinite(&found, what, node.y);
        noteIfNonFinite(&found, what, node.z);
        noteIfNonFinite(&found, what, node.angle);
    }
    return found;
}

}  // namespace genfix
