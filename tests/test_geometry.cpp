// Points, lengths, arc-length positions and banking of the track's segments.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "segmentCalc.h"
#include "generator_fixtures.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

void expectPoint(Point3D expected, Point3D actual, float tolerance = 1e-5f) {
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

void expectSame(Point3D expected, Point3D actual) {
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
    EXPECT_EQ(expected.z, actual.z);
}

// A curved three-bezier track; closed when asked.
ZvTrack curvedTrack(bool closed) {
    ZvTrack track = genfix::straightTrack({0, 10, 0}, {0, 12, 30});
    genfix::addStraightBezier(&track, {25, 8, 40});
    track.bezierArray[1].controlOut = {5, 14, 45};
    track.bezierArray[2].controlOut = {40, 5, 20};
    track.bezierArray[0].controlIn = {-10, 10, -15};
    if (closed) {
        track.closedTrack = 1;
        addSegment(kSegmentPlain, 3, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    }
    return track;
}

TEST(BezierPoints, EndsOfTheParameterRangeAreTheBezierPositions) {
    ZvTrack track = curvedTrack(false);
    BezierCalc calc;
    expectSame(track.bezierArray[1].position, calc.GetPosSegmentNode(0, 1, &track));
    expectPoint(track.bezierArray[2].position, calc.GetPosSegmentNode(1, 1, &track));
    // Not clamped: past the end the cubic goes on.
    const Point3D beyond = calc.GetPosSegmentNode(1.5f, 0, &track);
    EXPECT_GT(beyond.z, 30.0f);
}

TEST(BezierPoints, AgreeWithTheLibrarysPlacementOfTrackNodes) {
    ZvTrack track = curvedTrack(true);
    BezierCalc calc;
    for (int s = 0; s < 3; ++s) {
        const int node = addTrackNode(s, 3, 0.37f, &track);
        expectSame(getPosSegmentNode(node, s, &track), calc.GetPosSegmentNode(0.37f, s, &track));
    }
}

TEST(BezierLength, StraightEvenlySpacedSegmentIsItsChord) {
    ZvTrack track = genfix::straightTrack({1, 2, 3}, {4, 6, 15});
    BezierCalc calc;
    EXPECT_NEAR(13.0f, calc.GetBezierLength(0, 0, &track), 1e-4f);
    EXPECT_FLOAT_EQ(calc.GetBezierLength(0, 0, &track), calc.GetBezierLength(0, 7, &track));
}

TEST(BezierLength, SegmentsWithoutACurveHaveNone) {
    ZvTrack track = curvedTrack(false);
    BezierCalc calc;
    EXPECT_EQ(0.0f, calc.GetBezierLength(-1, 0, &track));
    EXPECT_EQ(0.0f, calc.GetBezierLength(2, 0, &track));  // open: no closing segment
    EXPECT_EQ(0.0f, calc.GetBezierLength(7, 0, &track));
    ZvTrack single;
    initNewZvTrack(&single);
    EXPECT_EQ(0.0f, calc.GetBezierLength(0, 0, &single));
}

TEST(ClosingSegment, RunsFromTheLastBezierBackToTheFirstEverywhere) {
    ZvTrack track = curvedTrack(true);
    BezierCalc calc;
    const BezierRecord& last = track.bezierArray[2];
    const BezierRecord& first = track.bezierArray[0];
    Point3D polygon[4] = {last.position, last.controlOut, first.controlIn, first.position};

    expectSame(last.position, calc.GetPosSegmentNode(0, 2, &track));
    expectPoint(first.position, calc.GetPosSegmentNode(1, 2, &track));
    const float length = calc.GetBezierLength(2, 0, &track);
    EXPECT_GT(length, 0.0f);
    EXPECT_EQ(calc.GetBezierLength(polygon, 0, kLengthTolerance), length);

    Point3D out{-1, -1, -1};
    calc.GetBezierPos(2, length, &out, 0, &track);
    expectPoint(first.position, out, 0.1f);
}

TEST(SegmentWithoutCurve, LeavesOutputsAloneAndYieldsTheFirstBezier) {
    ZvTrack track = curvedTrack(false);
    BezierCalc calc;
    Point3D out{7, 8, 9};
    calc.GetBezierPos(2, 1.0f, &out, 0, &track);
    calc.GetBezierPos(-3, 1.0f, &out, 0, &track);
    expectSame({7, 8, 9}, out);
    expectSame(track.bezierArray[2].position, calc.GetPosSegmentNode(0.5f, 2, &track));
    expectSame({0, 0, 0}, calc.GetPosSegmentNode(0.5f, 9, &track));
    TrackCalc banking;
    track.bezierArray[2].roll = 1.0f;
    EXPECT_EQ(0.0f, banking.GetBanking(2, 0.5f, &track));
    EXPECT_EQ(0.0f, banking.GetBanking(-1, 0.5f, &track));
}

// Arc length from the segment's start to its sampled point nearest `target`.
float arcLengthTo(Point3D target, int segment, ZvTrack* track) {
    BezierCalc calc;
    constexpr int kSamples = 20000;
    Point3D previous = calc.GetPosSegmentNode(0, segment, track);
    float travelled = 0, best = 0, bestGap = calc.getDistance(&previous, &target);
    for (int i = 1; i <= kSamples; ++i) {
        Point3D point = calc.GetPosSegmentNode(static_cast<float>(i) / kSamples, segment, track);
        travelled += calc.getDistance(&previous, &point);
        const float gap = calc.getDistance(&point, &target);
        if (gap < bestGap) bestGap = gap, best = travelled;
        previous = point;
    }
    return best;
}

TEST(BezierPos, CapturesWithinTheWindowOfTheRequestedDistance) {
    ZvTrack track = curvedTrack(false);
    BezierCalc calc;
    const float length = calc.GetBezierLength(1, 0, &track);
    for (float fraction : {0.1f, 0.5f, 0.93f, 1.0f}) {
        Point3D out{-1, -1, -1};
        calc.GetBezierPos(1, length * fraction, &out, 0, &track);
        EXPECT_NEAR(length * fraction, arcLengthTo(out, 1, &track), 0.06f) << fraction;
    }
}

TEST(BezierPos, KeepsOutWhenNoFlatPieceFallsIntoTheWindow) {
    ZvTrack curved = curvedTrack(false);
    BezierCalc calc;
    Point3D out{-1, -1, -1};
    calc.GetBezierPos(1, 0, &out, 0, &curved);
    calc.GetBezierPos(1, 1e6f, &out, 0, &curved);
    expectSame({-1, -1, -1}, out);
    // A straight segment is one flat piece, longer than the window.
    ZvTrack straight = genfix::straightTrack({0, 5, 0}, {0, 5, 30});
    calc.GetBezierPos(0, 15, &out, 0, &straight);
    expectSame({-1, -1, -1}, out);
}

TEST(BezierSplit, HalvesMeetAtTheMidpointAndFollowTheCurve) {
    ZvTrack track = curvedTrack(false);
    BezierCalc calc;
    SegmentCurve curve;
    ASSERT_TRUE(segmentCurve(1, &track, &curve));
    Point3D left[4], right[4];
    calc.bezierSplit(curve.p, left, right);
    expectSame(left[3], right[0]);
    expectPoint(calc.GetPosSegmentNode(0.5f, 1, &track), left[3]);
    expectSame(curve.p[0], left[0]);
    expectSame(curve.p[3], right[3]);
    // The left half at s is the whole curve at s / 2.
    ZvTrack half = genfix::straightTrack(left[0], left[3]);
    half.bezierArray[0].controlOut = left[1];
    half.bezierArray[1].controlIn = left[2];
    expectPoint(calc.GetPosSegmentNode(0.3f, 1, &track), calc.GetPosSegmentNode(0.6f, 0, &half));
}

// The curved track with rolls 0.2, 1.0 and -0.4 on its three beziers.
ZvTrack rolledTrack(bool closed) {
    ZvTrack track = curvedTrack(closed);
    const float rolls[] = {0.2f, 1.0f, -0.4f};
    for (int i = 0; i < 3; ++i) track.bezierArray[static_cast<size_t>(i)].roll = rolls[i];
    return track;
}

TEST(Banking, PlainEaseOnTheFirstSegmentOrWhenSwitchedOff) {
    ZvTrack track = rolledTrack(false);
    TrackCalc calc;
    EXPECT_FLOAT_EQ(0.2f, calc.GetBanking(0, 0, &track));
    EXPECT_FLOAT_EQ(1.0f, calc.GetBanking(0, 1, &track));
    EXPECT_FLOAT_EQ(0.6f, calc.GetBanking(0, 0.5f, &track));
    track.bezierArray[1].rollFlag = 1;
    EXPECT_FLOAT_EQ(1.0f, calc.GetBanking(1, 0, &track));
    EXPECT_FLOAT_EQ(0.3f, calc.GetBanking(1, 0.5f, &track));
}

TEST(Banking, CorrectionCarriesAShareOfThePreviousRollChange) {
    ZvTrack track = rolledTrack(true);
    TrackCalc calc;
    // Previous change 0.8: at t = 0 the roll is r0 + 0.031874 x 0.8.
    EXPECT_NEAR(1.0f + 0.031874f * 0.8f, calc.GetBanking(1, 0, &track), 1e-6f);
    EXPECT_NEAR(-0.4f, calc.GetBanking(1, 1, &track), 1e-6f);
    // The closing segment eases from the last bezier to bezier 0, corrected
    // by the change from bezier 1 to bezier 2 (-1.4).
    EXPECT_NEAR(-0.4f + 0.031874f * -1.4f, calc.GetBanking(2, 0, &track), 1e-6f);
    EXPECT_NEAR(0.2f, calc.GetBanking(2, 1, &track), 1e-6f);
}

TEST(Distance, IsEuclidean) {
    BezierCalc calc;
    Point3D a{1, 2, 3}, b{4, 6, 15};
    EXPECT_FLOAT_EQ(13.0f, calc.getDistance(&a, &b));
    EXPECT_EQ(0.0f, calc.getDistance(&a, &a));
}

// Random curves with coordinates within +-10,000: the walks end by flatness,
// never by the depth limit, so the limit changes none of their results.
TEST(ArcWalk, DepthLimitIsNeverReachedOnRealisticCurves) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> place(-9700.0f, 9700.0f);
    std::uniform_real_distribution<float> reach(-300.0f, 300.0f);
    BezierCalc calc;
    int deepest = 0;
    for (int i = 0; i < 100; ++i) {
        const Point3D base{place(rng), place(rng), place(rng)};
        Point3D polygon[4];
        for (Point3D& p : polygon) p = {base.x + reach(rng), base.y + reach(rng), base.z + reach(rng)};
        const float tolerance = i % 25 == 0 ? kPositionTolerance : kLengthTolerance;
        float length = 0, found = 0;
        Point3D out;
        deepest = std::max(deepest, calc.walkPiece(polygon, &length, &found, &out, 0, tolerance, 0));
        ASSERT_TRUE(std::isfinite(length));
    }
    EXPECT_LT(deepest, kArcWalkMaxDepth);
}

TEST(ArcWalk, NonFiniteAndHugeControlPointsEndTheWalk) {
    BezierCalc calc;
    const Point3D cases[][4] = {
        {{0, 0, 0}, {kNaN, 1, 1}, {2, 2, 2}, {3, 3, 3}},
        {{0, 0, 0}, {kInf, 1, 1}, {2, 2, 2}, {3, 3, 3}},
        {{0, 0, 0}, {-kInf, kInf, 1}, {2, kInf, 2}, {3, 3, 3}},
        {{-3e38f, 0, 0}, {3e38f, 3e38f, 0}, {-3e38f, 3e38f, 0}, {3e38f, 0, 0}},
        {{1e-40f, 0, 0}, {0, 1e-40f, 0}, {-1e-40f, 0, 1e-42f}, {0, -1e-40f, 0}},
    };
    for (const auto& polygon : cases) {
        Point3D copy[4] = {polygon[0], polygon[1], polygon[2], polygon[3]};
        float length = 0, found = 0;
        Point3D out{5, 5, 5};
        EXPECT_LE(calc.walkPiece(copy, &length, &found, &out, 1.0f, kPositionTolerance, 0),
                  kArcWalkMaxDepth);
    }
}

// One walk's pieces answer what the per-query walks answer: the captured
// point for every distance, the length as the length walk adds it up, and
// parameters that rise along the curve with their points on it.
TEST(ArcPieces, AnswerWhatEachWalkAnswers) {
    std::mt19937 rng(77);
    std::uniform_real_distribution<float> coordinate(-60.0f, 60.0f);
    BezierCalc calc;
    for (int i = 0; i < 20; ++i) {
        SegmentCurve curve;
        for (Point3D& p : curve.p) p = {coordinate(rng), coordinate(rng), coordinate(rng)};
        const float length = calc.GetBezierLength(curve.p, 0, kLengthTolerance);
        EXPECT_EQ(length, arcPieces(curve, kLengthTolerance).back().length);

        const std::vector<ArcPiece> pieces = arcPieces(curve, kPositionTolerance);
        for (float fraction : {0.0f, 0.001f, 0.25f, 0.5f, 0.999f, 1.0f, 1.5f}) {
            const float distance = length * fraction;
            Point3D walked{kNaN, kNaN, kNaN};
            float accumulated = 0, found = 0;
            calc.bezierAddIfClose(curve.p, &accumulated, &found, &walked, distance,
                                  kPositionTolerance);
            const long piece = capturedPiece(pieces, distance);
            ASSERT_EQ(found == 1, piece >= 0) << "fraction " << fraction;
            if (piece >= 0) expectSame(walked, pieces[static_cast<size_t>(piece)].end);
        }
        for (size_t k = 1; k < pieces.size(); k += pieces.size() / 7 + 1) {
            EXPECT_LT(pieces[k - 1].t, pieces[k].t);
            expectPoint(cubicPoint(curve, static_cast<float>(pieces[k].t)), pieces[k].end, 1e-3f);
        }
    }
}

TEST(ArcPieces, NonFiniteLengthsAreNeverCaptured) {
    SegmentCurve curve{{{0, 0, 0}, {kNaN, 1, 1}, {2, 2, 2}, {3, 3, 3}}};
    const std::vector<ArcPiece> pieces = arcPieces(curve, kPositionTolerance);
    EXPECT_EQ(-1, capturedPiece(pieces, 1.0f));
}

}  // namespace
