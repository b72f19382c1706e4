// Editing operations of the track document: indices, length words, records,
// out-of-range handling, segment numbering and positions on segments.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "track.h"

namespace {

// One collection seen through its operations, so every kind gets the same checks.
struct Collection {
    std::string name;
    std::function<void(ZvTrack*)> prepare;  // makes the collection usable
    std::function<int(ZvTrack*)> add;
    std::function<void(int, ZvTrack*)> remove;
    std::function<int(ZvTrack*)> count;
    std::function<int&(ZvTrack*)> lengthWord;
    int recordSize;
};

std::vector<Collection> collections() {
    auto none = [](ZvTrack*) {};
    return {
        {"tubes", none, [](ZvTrack* t) { return addSupport(2, 5, 0, 1, 7, 0, 1, 0, 0, t); },
         deleteSupport, getTotalSupport, [](ZvTrack* t) -> int& { return t->tubeLength; }, 48},
        {"free nodes", none, [](ZvTrack* t) { return addFreeNode(1, 2, 3, t); }, deleteFreeNode,
         getTotalFreeNodes, [](ZvTrack* t) -> int& { return t->frenLength; }, 28},
        {"foundation nodes", none,
         [](ZvTrack* t) { return addFundNode(0, 0, 1, 0.5f, 0, 0, 1, 0, 3, t); }, deleteFundNode,
         getTotalFundNodes, [](ZvTrack* t) -> int& { return t->fundLength; }, 92},
        {"beziers", none,
         [](ZvTrack* t) { return addBezier(0, 1, 0, 0, 1, 1, 0, 1, -1, 0, 0, 0, 0, t); },
         deleteBezier, getNumBeziers, [](ZvTrack* t) -> int& { return t->bezrLength; }, 60},
        {"track nodes",
         [](ZvTrack* t) { addSegment(kSegmentPlain, 1, 0, Color{}, Color{}, Color{}, 0, 0, t); },
         [](ZvTrack* t) { return addTrackNode(0, 2, 0.25f, t); },
         [](int i, ZvTrack* t) { deleteTrackNode(0, i, t); },
         [](ZvTrack* t) { return getTotalTrackNodes(0, t); },
         [](ZvTrack* t) -> int& { return t->rascLength; }, 24},
        {"segments", none,
         [](ZvTrack* t) {
             addSegment(kSegmentPlain, getTotalSegments(t) + 1, 0, Color{}, Color{}, Color{}, 0, 0,
                        t);
             return getTotalSegments(t) - 1;
         },
         deleteSegment, getTotalSegments, [](ZvTrack* t) -> int& { return t->segmLength; }, 37},
    };
}

TEST(Collections, AddReturnsIndicesAndDeleteMovesLengthWords) {
    for (const Collection& c : collections()) {
        SCOPED_TRACE(c.name);
        ZvTrack track;
        c.prepare(&track);
        c.lengthWord(&track) = 1000;
        EXPECT_EQ(c.add(&track), 0);
        EXPECT_EQ(c.add(&track), 1);
        EXPECT_EQ(c.add(&track), 2);
        EXPECT_EQ(c.count(&track), 3);
        EXPECT_EQ(c.lengthWord(&track), 1000 + 3 * c.recordSize);

        c.remove(1, &track);
        EXPECT_EQ(c.count(&track), 2);
        EXPECT_EQ(c.lengthWord(&track), 1000 + 2 * c.recordSize);

        for (int bad : {2, 3, -1, INT_MAX, INT_MIN}) c.remove(bad, &track);
        EXPECT_EQ(c.count(&track), 2);
        EXPECT_EQ(c.lengthWord(&track), 1000 + 2 * c.recordSize);

        c.remove(1, &track);
        c.remove(0, &track);
        EXPECT_EQ(c.count(&track), 0);
        EXPECT_EQ(c.lengthWord(&track), 1000);
        c.remove(0, &track);
        EXPECT_EQ(c.lengthWord(&track), 1000);
        EXPECT_EQ(c.add(&track), 0);  // an emptied collection starts again at 0
    }
}

TEST(Collections, LengthWordWrapsInsteadOfOverflowing) {
    ZvTrack track;
    track.tubeLength = INT_MAX;
    addSupport(1, 0, 0, 2, 0, 0, 0, 0, 0, &track);
    EXPECT_EQ(track.tubeLength, INT_MIN + 47);
    deleteSupport(0, &track);
    EXPECT_EQ(track.tubeLength, INT_MAX);
}

TEST(Tubes, FieldsFollowTheArgumentOrder) {
    ZvTrack track;
    addSupport(2, 5, 0, 1, 7, 0, 1, 0, 0, &track);
    TubeRecord tube = getSupport(0, &track);
    EXPECT_EQ(tube.kind1, 2);
    EXPECT_EQ(tube.index1, 5);
    EXPECT_EQ(tube.segment1, 0);
    EXPECT_EQ(tube.kind2, 1);
    EXPECT_EQ(tube.index2, 7);
    EXPECT_EQ(tube.segment2, 0);
    EXPECT_EQ(tube.tubeType, 1);
    EXPECT_EQ(tube.tubeValue, 0);
    EXPECT_EQ(tube.tubeSize, 0.0f);

    addSupport(3, 4, 9, 3, 6, 8, 2, 11, 3, &track);
    tube = getSupport(1, &track);
    EXPECT_EQ(tube.index1, 4);  // each end's index comes before its segment
    EXPECT_EQ(tube.segment1, 9);
    EXPECT_EQ(tube.index2, 6);
    EXPECT_EQ(tube.segment2, 8);
    EXPECT_EQ(tube.tubeSize, 3.0f);

    const int lengthBefore = track.tubeLength;
    modifySupport(1, 5, 6, 7, &track);
    tube = getSupport(1, &track);
    EXPECT_EQ(tube.kind1, 3);  // ends stay
    EXPECT_EQ(tube.index2, 6);
    EXPECT_EQ(tube.tubeType, 5);
    EXPECT_EQ(tube.tubeValue, 6);
    EXPECT_EQ(tube.tubeSize, 7.0f);
    EXPECT_EQ(track.tubeLength, lengthBefore);
}

TEST(Tubes, ReferencesAreNotRenumberedByDeletes) {
    ZvTrack track;
    addFreeNode(1, 0, 0, &track);
    addFreeNode(2, 0, 0, &track);
    addFreeNode(3, 0, 0, &track);
    addSupport(kEndFreeNode, 2, 0, kEndFreeNode, 0, 0, 0, 0, 0, &track);
    deleteFreeNode(1, &track);
    EXPECT_EQ(getFreeNode(0, &track).x, 1.0f);
    EXPECT_EQ(getFreeNode(1, &track).x, 3.0f);
    EXPECT_EQ(getSupport(0, &track).index1, 2);
    EXPECT_EQ(track.frenLength, 2 * 28);
}

TEST(OutOfRange, GetYieldsZeroRecordsAndModifyChangesNothing) {
    ZvTrack track;
    addSupport(1, 1, 1, 1, 1, 1, 1, 1, 1, &track);
    addFreeNode(1, 1, 1, &track);
    addFundNode(1, 1, 1, 1, 1, 1, 1, 1, 1, &track);
    addBezier(1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, &track);
    for (int bad : {1, -1, INT_MIN}) {
        EXPECT_EQ(getSupport(bad, &track).kind1, 0);
        EXPECT_EQ(getFreeNode(bad, &track).x, 0.0f);
        EXPECT_EQ(getFundNode(bad, &track).x, 0.0f);
        EXPECT_EQ(getBezier(bad, &track).position.x, 0.0f);
        modifySupport(bad, 9, 9, 9, &track);
        modifyFreeNode(bad, 9, 9, 9, &track);
        modifyFundNode(bad, 9, 9, 9, 9, 9, 9, 9, 9, 9, &track);
        modifyBezier(bad, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, &track);
    }
    EXPECT_EQ(getSupport(0, &track).tubeType, 1);
    EXPECT_EQ(getFreeNode(0, &track).x, 1.0f);
    EXPECT_EQ(getFundNode(0, &track).x, 1.0f);
    EXPECT_EQ(getBezier(0, &track).position.x, 1.0f);
    EXPECT_EQ(getTotalSupport(&track) + getTotalFreeNodes(&track) + getTotalFundNodes(&track) +
                  getNumBeziers(&track),
              4);
}

TEST(Nodes, ModifyOverwritesInPlaceAndGetReturnsCopies) {
    ZvTrack track;
    addFreeNode(1, 2, 3, &track);
    track.freeNodeArray[0].freeValue = 42;
    modifyFreeNode(0, 4, 5, 6, &track);
    FreeNodeRecord free = getFreeNode(0, &track);
    EXPECT_EQ(free.x, 4.0f);
    EXPECT_EQ(free.z, 6.0f);
    EXPECT_EQ(free.freeValue, 42);
    free.x = 99;
    EXPECT_EQ(getFreeNode(0, &track).x, 4.0f);

    addFundNode(1, 2.5f, 1, 0.75f, -3, 17, 4, 0, 6, &track);
    FundNodeRecord fund = getFundNode(0, &track);
    EXPECT_EQ(fund.flagA, 1);
    EXPECT_EQ(fund.valueA, 2.5f);
    EXPECT_EQ(fund.angleFlag, 1);
    EXPECT_EQ(fund.angle, 0.75f);
    EXPECT_EQ(fund.fundByte, -3);
    EXPECT_EQ(fund.fundValue, 17);
    EXPECT_EQ(fund.x, 4.0f);
    EXPECT_EQ(fund.z, 6.0f);
    modifyFundNode(0, 0, 0, 0, 0, 0, 0, 7, 8, 9, &track);
    fund = getFundNode(0, &track);
    EXPECT_EQ(fund.flagA + fund.angleFlag + fund.fundByte + fund.fundValue, 0);
    EXPECT_EQ(fund.y, 8.0f);

    addBezier(1, 2, 3, 4, 5, 6, 7, 8, 9, 0.5f, 1, 0, 1, &track);
    modifyBezier(0, 1, 2, 3, 4, 5, 6, 7, 8, 19, 0.25f, 0, 1, 0, &track);
    BezierRecord bezier = getBezier(0, &track);
    EXPECT_EQ(bezier.controlIn.x, 4.0f);
    EXPECT_EQ(bezier.controlOut.z, 19.0f);
    EXPECT_EQ(bezier.auxFlag1, 1);
}

TEST(TrackNodes, SegmentWithoutListHasNoNodes) {
    ZvTrack track;
    track.rascLength = 40;
    EXPECT_EQ(addTrackNode(0, 2, 0.5f, &track), -1);
    EXPECT_EQ(addTrackNode(-1, 2, 0.5f, &track), -1);
    EXPECT_EQ(getTotalTrackNodes(0, &track), 0);
    EXPECT_EQ(getTrackNode(0, 0, &track).nodeType, 0);
    deleteTrackNode(0, 0, &track);
    modifyTrackNode(0, 0, 1, 1.0f, &track);
    EXPECT_EQ(track.rascLength, 40);
    EXPECT_TRUE(track.trackNodeLists.empty());
}

TEST(TrackNodes, ListsBelongToTheirSegment) {
    ZvTrack track;
    addSegment(kSegmentPlain, 1, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    addSegment(kSegmentPlain, 2, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    deleteTrackNode(1, 0, &track);  // empty segment: nothing to delete
    EXPECT_EQ(track.rascLength, 8);
    EXPECT_EQ(addTrackNode(1, 7, 0.4f, &track), 0);
    EXPECT_EQ(addTrackNode(1, 6, 0.8f, &track), 1);
    EXPECT_EQ(track.rascLength, 8 + 48);
    EXPECT_EQ(getTotalTrackNodes(0, &track), 0);
    EXPECT_EQ(getTotalTrackNodes(1, &track), 2);
    modifyTrackNode(1, 1, 2, 0.9f, &track);
    modifyTrackNode(1, 2, 5, 0.1f, &track);
    TrackNodeRecord node = getTrackNode(1, 1, &track);
    EXPECT_EQ(node.nodeType, 2);
    EXPECT_EQ(node.segmentPos, 0.9f);
    deleteTrackNode(1, 0, &track);
    EXPECT_EQ(getTrackNode(1, 0, &track).nodeType, 2);
    EXPECT_EQ(track.rascLength, 8 + 24);
}

TEST(Segments, AddSetsTypeDataLengthAndAnEmptyList) {
    const int expected[] = {0, 126, 36, 28, 50};
    ZvTrack track;
    for (int type = 0; type <= 4; ++type) {
        addSegment(type, type + 1, 1, createColorARGB(255, 1, 2, 3), Color{}, Color{}, 1, 77,
                   &track);
        EXPECT_EQ(getSegment(type + 1, &track).typeDataLength, expected[type]);
    }
    addSegment(9, 6, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    EXPECT_EQ(getSegment(6, &track).typeDataLength, 0);
    EXPECT_EQ(getTotalSegments(&track), 6);
    EXPECT_EQ(track.segmLength, 6 * 37);
    EXPECT_EQ(track.rascLength, 6 * 4);
    ASSERT_EQ(track.trackNodeLists.size(), 6u);
    for (int s = 0; s < 6; ++s) EXPECT_EQ(getTotalTrackNodes(s, &track), 0);

    SegmentRecord station = getSegment(2, &track);
    EXPECT_EQ(station.type, kSegmentStation);
    EXPECT_EQ(station.segmentFlag, 1);
    EXPECT_EQ(station.color1.red, 1);
    EXPECT_EQ(station.color1.blue, 3);
    EXPECT_EQ(station.segmentFlag2, 1);
    EXPECT_EQ(station.segmentValue, 77);
}

TEST(Segments, RecordOperationsCountFromOne) {
    ZvTrack track;
    addSegment(kSegmentLift, 1, 0, Color{}, Color{}, Color{}, 0, 1, &track);
    addSegment(kSegmentPlain, 2, 0, Color{}, Color{}, Color{}, 0, 2, &track);
    EXPECT_EQ(getSegment(1, &track).segmentValue, 1);
    EXPECT_EQ(getSegment(2, &track).segmentValue, 2);
    EXPECT_EQ(getSegment(0, &track).segmentValue, 0);  // no segment 0
    EXPECT_EQ(getSegment(3, &track).segmentValue, 0);

    modifySegment(kSegmentBrake, 2, 1, Color{}, Color{}, createColorARGB(255, 6, 0, 25), 0, 5,
                  &track);
    SegmentRecord brake = getSegment(2, &track);
    EXPECT_EQ(brake.type, kSegmentBrake);
    EXPECT_EQ(brake.typeDataLength, 50);
    EXPECT_EQ(brake.color3.red, 6);
    EXPECT_EQ(brake.color3.blue, 25);
    EXPECT_EQ(getSegment(1, &track).type, kSegmentLift);
    EXPECT_EQ(track.segmLength, 74);

    for (int bad : {0, 3, -5}) modifySegment(kSegmentStation, bad, 1, Color{}, Color{}, Color{}, 1, 9, &track);
    EXPECT_EQ(getSegment(1, &track).segmentValue, 1);
    EXPECT_EQ(getSegment(2, &track).segmentValue, 5);
    EXPECT_EQ(getTotalSegments(&track), 2);
}

TEST(Segments, AddWithAnotherNumberAppendsADefaultSegment) {
    ZvTrack track;
    addSegment(kSegmentPlain, 1, 0, Color{}, Color{}, Color{}, 0, 1, &track);
    addSegment(kSegmentStation, 1, 0, Color{}, Color{}, Color{}, 0, 2, &track);
    EXPECT_EQ(getTotalSegments(&track), 2);
    EXPECT_EQ(getSegment(1, &track).segmentValue, 2);  // written into segment 1
    EXPECT_EQ(getSegment(1, &track).typeDataLength, 126);
    EXPECT_EQ(getSegment(2, &track).segmentValue, 0);
    addSegment(kSegmentStation, 10, 0, Color{}, Color{}, Color{}, 0, 3, &track);
    EXPECT_EQ(getTotalSegments(&track), 3);
    EXPECT_EQ(getSegment(3, &track).type, kSegmentPlain);
    EXPECT_EQ(track.trackNodeLists.size(), 3u);
    EXPECT_EQ(track.segmLength, 3 * 37);
    EXPECT_EQ(track.rascLength, 3 * 4);
}

TEST(Segments, DeleteTakesItsTrackNodeList) {
    ZvTrack track;
    for (int n = 1; n <= 3; ++n) {
        addSegment(kSegmentPlain, n, 0, Color{}, Color{}, Color{}, 0, n, &track);
    }
    addTrackNode(0, 7, 0.1f, &track);
    addTrackNode(0, 7, 0.2f, &track);
    addTrackNode(1, 6, 0.5f, &track);
    EXPECT_EQ(track.rascLength, 12 + 72);

    deleteSegment(0, &track);
    EXPECT_EQ(getTotalSegments(&track), 2);
    EXPECT_EQ(getSegment(1, &track).segmentValue, 2);
    EXPECT_EQ(track.trackNodeLists.size(), 2u);
    EXPECT_EQ(getTotalTrackNodes(0, &track), 1);
    EXPECT_EQ(getTrackNode(0, 0, &track).nodeType, 6);
    EXPECT_EQ(track.segmLength, 2 * 37);
    EXPECT_EQ(track.rascLength, 8 + 24);  // the list's 4 and its two nodes' 48

    for (int bad : {2, -1}) deleteSegment(bad, &track);
    EXPECT_EQ(getTotalSegments(&track), 2);
    EXPECT_EQ(track.rascLength, 8 + 24);
}

TEST(Segments, LoadedSegmentsWithoutListsGetOneOnEdit) {
    ZvTrack track;
    track.segmentArray.resize(2);  // as a file with segments but no RASC lists loads
    addSegment(kSegmentPlain, 3, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    EXPECT_EQ(track.trackNodeLists.size(), 3u);
    EXPECT_EQ(track.rascLength, 3 * 4);
    EXPECT_EQ(addTrackNode(0, 2, 0.5f, &track), 0);
}

TEST(Segments, SettingsSettersFillOnlyTheirBlock) {
    ZvTrack track;
    addSegment(kSegmentPlain, 1, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    const SegmentRecord before = getSegment(1, &track);
    const int segmLength = track.segmLength;

    setSegmentStation(1, 1, 2, 3, 4, 5, 6, 1, 8, 9, 10, 11, 1, 0, 14, 15, 16, 1, 18, 19, 20, 21,
                      22, 1, &track);
    setSegmentLift(1, -1, 2, 3, 4, 1, 0, 7, &track);
    setSegmentTransport(1, 1, 2, 3, 4, 1, 1, 7, 8, 9, &track);
    setSegmentBreak(1, 1, 2, 3, 4, 1, 0, 7, 8, 9, 1, 0, 1, 13, 14, 1, 16, 1, &track);

    StationSettings station = getSegmentStation(1, &track);
    EXPECT_EQ(station.station8, 8);
    EXPECT_EQ(station.station13, 0);
    EXPECT_EQ(station.station21, 21);
    EXPECT_EQ(station.station22, 22.0f);
    EXPECT_EQ(station.station23, 1);
    LiftSettings lift = getSegmentLift(1, &track);
    EXPECT_EQ(lift.lift1, -1);
    EXPECT_EQ(lift.lift4, 4.0f);
    EXPECT_EQ(lift.lift7, 7);
    TransportSettings transport = getSegmentTransport(1, &track);
    EXPECT_EQ(transport.transport4, 4);
    EXPECT_EQ(transport.transport8, 8);
    EXPECT_EQ(transport.transport9, 9.0f);
    BreakSettings brake = getSegmentBreak(1, &track);
    EXPECT_EQ(brake.break9, 9.0f);
    EXPECT_EQ(brake.break13, 13);
    EXPECT_EQ(brake.break14, 14);
    EXPECT_EQ(brake.break16, 16.0f);
    EXPECT_EQ(brake.break17, 1);

    SegmentRecord after = getSegment(1, &track);
    EXPECT_EQ(after.type, before.type);
    EXPECT_EQ(after.typeDataLength, before.typeDataLength);
    EXPECT_EQ(track.segmLength, segmLength);

    // A bad segment number neither writes anywhere nor reads garbage.
    setSegmentLift(2, 5, 5, 5, 5, 5, 5, 5, &track);
    setSegmentLift(0, 5, 5, 5, 5, 5, 5, 5, &track);
    EXPECT_EQ(getSegmentLift(1, &track).lift7, 7);
    EXPECT_EQ(getSegmentLift(2, &track).lift7, 0);
    EXPECT_EQ(getSegmentBreak(0, &track).break14, 0);
    EXPECT_EQ(getTotalSegments(&track), 1);
}

// Three beziers on the x axis whose handles sit at thirds, so every segment is
// a straight line walked at constant speed.
ZvTrack straightTrack() {
    ZvTrack track;
    for (int b = 0; b < 3; ++b) {
        const float x = 3.0f * b;
        addBezier(x, 1, 0, x - 1, 1, 0, x + 1, 1, 0, 0, 0, 0, 0, &track);
        addSegment(kSegmentPlain, b + 1, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    }
    return track;
}

void expectPoint(Point3D p, float x, float y, float z) {
    EXPECT_FLOAT_EQ(p.x, x);
    EXPECT_FLOAT_EQ(p.y, y);
    EXPECT_FLOAT_EQ(p.z, z);
}

TEST(PositionOnSegment, NodesSitOnTheSegmentCurve) {
    ZvTrack track = straightTrack();
    addTrackNode(1, 7, 0.0f, &track);
    addTrackNode(1, 7, 1.0f, &track);
    addTrackNode(1, 7, 0.5f, &track);
    addTrackNode(1, 7, 2.0f, &track);  // not clamped
    expectPoint(getPosSegmentNode(0, 1, &track), 3, 1, 0);
    expectPoint(getPosSegmentNode(1, 1, &track), 6, 1, 0);
    expectPoint(getPosSegmentNode(2, 1, &track), 4.5f, 1, 0);
    expectPoint(getPosSegmentNode(3, 1, &track), 9, 1, 0);
    expectPoint(getPosSegmentNode(9, 1, &track), 3, 1, 0);  // missing node: the start point
}

TEST(PositionOnSegment, BentSegmentUsesBothHandles) {
    ZvTrack track;
    addBezier(0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, &track);  // leaves upwards
    addBezier(4, 0, 0, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0, &track);  // arrives from above
    addSegment(kSegmentPlain, 1, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    addTrackNode(0, 2, 0.5f, &track);
    expectPoint(getPosSegmentNode(0, 0, &track), 2, 3, 0);
}

TEST(PositionOnSegment, ClosingSegmentEndsAtTheFirstBezier) {
    ZvTrack track = straightTrack();
    addTrackNode(2, 7, 1.0f, &track);
    addTrackNode(2, 7, 0.5f, &track);
    // Open track: the last bezier has nothing to lead to.
    expectPoint(getPosSegmentNode(0, 2, &track), 6, 1, 0);
    expectPoint(getPosSegmentNode(1, 2, &track), 6, 1, 0);
    track.closedTrack = 1;
    expectPoint(getPosSegmentNode(0, 2, &track), 0, 1, 0);
    // Handles: out of bezier 2 at x 7, into bezier 0 at x -1.
    expectPoint(getPosSegmentNode(1, 2, &track), 0.125f * 6 + 0.375f * 7 + 0.375f * -1, 1, 0);
}

TEST(PositionOnSegment, SegmentsBeyondTheBeziersYieldOrigin) {
    ZvTrack track = straightTrack();
    addSegment(kSegmentPlain, 4, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    addTrackNode(3, 7, 0.5f, &track);
    track.closedTrack = 1;
    expectPoint(getPosSegmentNode(0, 3, &track), 0, 0, 0);
    expectPoint(getPosSegmentNode(0, -1, &track), 0, 0, 0);
    ZvTrack empty;
    empty.closedTrack = 1;
    expectPoint(getPosSegmentNode(0, 0, &empty), 0, 0, 0);
}

}  // namespace
