#include "strutWright.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "angles.h"
#include "track.h"

namespace {

// Connector strut.
constexpr float kBaseLift = 1.0f;
constexpr float kLiftPerHalfTurn = 0.5f;

// Collars begin and end this far from the joint they sit at.
constexpr float kCollarNear = 1.0f;
constexpr float kCollarFar = 1.2f;

// Braced leg.
constexpr float kBraceDrop = 1.8f;
constexpr float kBraceFootHeight = 0.9f;
constexpr float kSecondLegTop = 2.0f;
constexpr float kTieClearance = 2.0f;
constexpr float kDiagonalHeight = 1.5f;
// A brace spreading more than this many times its drop is nearly horizontal.
constexpr double kFarSpreadRatio = 50.0;

// Crossbeam.
constexpr float kLongArm = 3.0f;
constexpr float kShortArm = 1.0f;
constexpr float kColumnInset = 0.5f;

// Columns under track at exactly this height are lighter than below or above.
constexpr float kColumnTypeChange = 15.0f;

// The most elements one marker's structure adds, by marker type. Room for
// them is reserved before a run, so the document's arrays never move while
// they grow; only the pages a run fills are ever touched.
struct StructureSize {
    size_t freeNodes, fundNodes, tubes;
};
constexpr StructureSize kConnectorOnly{2, 0, 1};
constexpr StructureSize kColumnOrCrossbeam{5, 1, 3};
// A braced leg with its tie section and the extra diagonal.
constexpr StructureSize kBracedLegAtMost{27, 2, 15};

// Distance from the centre line down to the connector strut, by coaster
// style; styles the table does not name attach on the centre line.
float attachmentDepth(int coasterStyle) {
    switch (coasterStyle) {
        case 0: case 7: case 38: case 49: return 0.3f;
        case 3: case 6: case 8: case 13: return 0.35f;
        case 34: case 35: return 0.4f;
        case 50: return 0.55f;
        case 1: case 18: return 0.6f;
        case 5: return 0.9f;
        default: return 0.0f;  // 20, 36, 39, 41, 47 and unknown styles
    }
}

// The columns' tube type by the height of the track they stand under.
TubeType columnType(float height) {
    if (height < kColumnTypeChange) return kTubeMedium;
    if (height == kColumnTypeChange) return kTubeLight;
    return kTubeHeavy;
}

Point3D raised(Point3D p, float dy) { return {p.x, p.y + dy, p.z}; }
Point3D atHeight(Point3D p, float y) { return {p.x, y, p.z}; }

// Records one index by the rule of the recording lists.
void recordIndex(std::vector<int>& list, int& count, int index) {
    count = std::max(count, 0) + 1;
    if (list.size() <= static_cast<size_t>(count)) list.resize(static_cast<size_t>(count) + 1);
    list[static_cast<size_t>(count)] = index;
}

StructureSize largestStructure(int markerType) {
    switch (structureKind(markerType)) {
    case StructureKind::kColumn:
    case StructureKind::kCrossbeam: return kColumnOrCrossbeam;
    case StructureKind::kBracedLeg: return kBracedLegAtMost;
    case StructureKind::kStrutOnly: break;
    }
    return kConnectorOnly;
}

template <typename Record>
void reserveMore(std::vector<Record>& records, size_t more) {
    records.reserve(records.size() + more);
}

}  // namespace

// What the track's coaster style and a segment's colours set for every marker
// on the segment: worked out once per segment, not once per marker.
struct strutWright::SegmentStyle {
    float depth = 0;  // from the centre line down to the connector strut
    SegmentSupportSettings colours;
    double braceSlope = 0;  // tan of the brace angle
};

// The frame of one marker and the parameters its segment and height give it.
struct strutWright::NodeFrame {
    int nodeType = 0;
    TrackFrame at;        // P, L, D, heading and bank at the marker
    Point3D strutTop;     // F1
    Point3D strutFoot;    // F2: where the structures hang from
    float columnBank = 0;  // bankA: degrees, folded to 0..180 and capped at 90 below 180
    int braceType = 0, columnType = 0, collarType = 0;
    SegmentStyle style;
};

// The elements of one structure in the order they are added. Nothing reaches
// the document until the whole structure is known to be finite. One plan
// serves every marker of a run, so its lists are allocated once. Elements are
// filled where they lie: copying in one assembled field by field beside the
// list makes the processor wait for the pieces.
class strutWright::StructurePlan {
public:
    StructurePlan() {
        nodes.reserve(kBracedLegAtMost.freeNodes + kBracedLegAtMost.fundNodes);
        members.reserve(kBracedLegAtMost.tubes);
        documentIndex.reserve(nodes.capacity());
        recorded.reserve(members.capacity());
    }

    // Empties the plan for the next marker's structure.
    void start(float markerHeading) {
        heading = markerHeading;
        nodes.clear();
        members.clear();
    }

    int freeNode(Point3D at) { return addNode(at, kEndFreeNode); }
    int fundNodeBelow(Point3D above) { return addNode(atHeight(above, 0.0f), kEndFundNode); }
    void tube(int from, int to, int type, MemberRole role, bool recorded = false) {
        Member& member = members.emplace_back();
        member.from = from;
        member.to = to;
        member.type = type;
        member.role = role;
        member.recorded = recorded;
    }

    bool isFinite() const {
        if (!std::isfinite(heading)) return false;
        return std::all_of(nodes.begin(), nodes.end(),
                           [](const Node& node) { return ::isFinite(node.at); });
    }

    // Adds the elements, and the tubes as built to `built`; returns the
    // document indices of the recorded tubes, valid until the next start.
    // Each kind of element has its own index sequence, so adding all nodes
    // before all tubes yields the same indices as interleaving them.
    const std::vector<int>& commit(ZvTrack* track, std::vector<BuiltTube>* built) {
        documentIndex.clear();
        for (const Node& node : nodes) documentIndex.push_back(addToDocument(node, track));
        recorded.clear();
        for (const Member& member : members) {
            const Node& from = nodes[static_cast<size_t>(member.from)];
            const Node& to = nodes[static_cast<size_t>(member.to)];
            const int index = addSupport(from.kind, documentIndex[static_cast<size_t>(member.from)], 0,
                                         to.kind, documentIndex[static_cast<size_t>(member.to)], 0,
                                         member.type, 0, 0, track);
            built->push_back({{from.at, to.at}, index, member.role});
            if (member.recorded) recorded.push_back(index);
        }
        return recorded;
    }

    // The planned tubes, without document indices.
    std::vector<BuiltTube> plannedTubes() const {
        std::vector<BuiltTube> tubes;
        tubes.reserve(members.size());
        for (const Member& member : members) {
            tubes.push_back({{nodes[static_cast<size_t>(member.from)].at,
                              nodes[static_cast<size_t>(member.to)].at},
                             -1, member.role});
        }
        return tubes;
    }

private:
    struct Node {
        Point3D at;
        int kind;  // kEndFreeNode or kEndFundNode
    };
    struct Member {
        int from, to, type;
        MemberRole role;
        bool recorded;
    };

    int addNode(Point3D at, int kind) {
        Node& node = nodes.emplace_back();
        node.at = at;
        node.kind = kind;
        return static_cast<int>(nodes.size()) - 1;
    }

    int addToDocument(const Node& node, ZvTrack* track) const {
        if (node.kind == kEndFreeNode) return addFreeNode(node.at.x, node.at.y, node.at.z, track);
        return addFundNode(0, 0.0f, 1, heading, 0, 0, node.at.x, node.at.y, node.at.z, track);
    }

    float heading = 0;
    std::vector<Node> nodes;
    std::vector<Member> members;
    std::vector<int> documentIndex;  // per planned node
    std::vector<int> recorded;       // per recorded tube
};

void setDriverDefaults(Supports* supports) {
    supports->lastStyle = 1;
    supports->lastTube = 0;
    supports->styles.assign(kStyleTableSize, SupportStyle{});
    supports->styles[0] = {2, 0.9f, kGenerationMethod1, 0.25f, 0.7f, 0.6f, 1.7f, 4.0f, 0.5f, 1, 1, 1};
    supports->styles[1] = {7, 0.8f, kGenerationMethod1, 0.25f, 0.7f, 0.6f, 1.7f, 7.0f, 0.5f, 1, 1, 1};
}

const char* memberWord(MemberRole role) {
    switch (role) {
    case MemberRole::kConnectorStrut: return "strut";
    case MemberRole::kColumn: return "column";
    case MemberRole::kCollar: return "collar";
    case MemberRole::kBrace: return "brace";
    case MemberRole::kSecondLeg: return "second leg";
    case MemberRole::kTie: return "tie";
    case MemberRole::kDiagonal: return "diagonal";
    case MemberRole::kCrossbeam: return "crossbeam";
    case MemberRole::kUnknown: break;
    }
    return "tube";
}

StructureKind structureKind(int markerType) {
    switch (markerType) {
    case kMarkerColumn: return StructureKind::kColumn;
    case kMarkerBracedLeg: return StructureKind::kBracedLeg;
    case kMarkerCrossbeam: return StructureKind::kCrossbeam;
    default: return StructureKind::kStrutOnly;
    }
}

bool tieSectionFits(float trackHeight, float tieHeight) {
    return trackHeight - (kBraceFootHeight + tieHeight) - kTieClearance >= tieHeight;
}

std::vector<BuiltTube> planStructure(ZvTrack* track, int segment, const TrackNodeRecord& marker) {
    strutWright generator;
    generator.setTrack(track);
    return generator.planStructure(segment, marker);
}

std::vector<ReportLine> generationWarnings(ZvTrack* track) {
    strutWright generator;
    generator.setTrack(track);
    generator.planOnly();
    return generator.takeReport().warnings;
}

GenerationReport generateWithDriverDefaults(ZvTrack* track, FILE* entryOutput) {
    Supports supports;
    setDriverDefaults(&supports);
    strutWright generator;
    generator.setTrack(track);
    generator.setSupport(&supports);
    generator.setEntryOutput(entryOutput);
    generator.Make();
    return generator.takeReport();
}

void strutWright::setTrack(ZvTrack* newTrack) { track = newTrack; }

void strutWright::setSupport(Supports* newSupports) { supports = newSupports; }

void strutWright::setEntryOutput(FILE* output) { entryOutput = output; }

void strutWright::FreeNode(int index) {
    recordIndex(supports->freeNodes, supports->lastFreeNode, index);
}

void strutWright::FundNode(int index) {
    recordIndex(supports->fundNodes, supports->lastFundNode, index);
}

void strutWright::Tube(int index) { recordIndex(supports->tubes, supports->lastTube, index); }

int strutWright::getSupport(int type, int step) { return tubeTypeStep(type, step); }

int strutWright::matchColor(Color a, Color b) { return sameColor(a, b) ? 1 : 0; }

Point3D strutWright::getLinearPosByValue(Point3D a, Point3D b, float t) {
    const float s = 1 - t;
    return {s * a.x + t * b.x, s * a.y + t * b.y, s * a.z + t * b.z};
}

std::vector<BuiltTube> strutWright::planStructure(int segment, const TrackNodeRecord& marker) {
    if (followingBezier(segment, track) < 0 || segment >= getTotalSegments(track)) return {};
    StructurePlan plan;
    const SegmentStyle style = segmentStyle(track->segmentArray[static_cast<size_t>(segment)]);
    if (!planMarker(segment, style, marker, plan)) return {};
    return plan.plannedTubes();
}

void strutWright::Make() {
    clearRecorded(supports->tubes, supports->lastTube, deleteSupport);
    clearRecorded(supports->fundNodes, supports->lastFundNode, deleteFundNode);
    clearRecorded(supports->freeNodes, supports->lastFreeNode, deleteFreeNode);
    runReport.markers = MarkerCounts{};
    runReport.markers.found = markersOnSegments();
    runReport.structures.clear();
    runReport.structures.reserve(static_cast<size_t>(runReport.markers.found));
    runReport.tubes.clear();
    const size_t freeBefore = track->freeNodeArray.size();
    const size_t fundBefore = track->fundNodeArray.size();
    const size_t tubesBefore = track->tubeArray.size();
    for (int i = 0; i <= supports->lastStyle; ++i) {
        if (entryOutput) std::fprintf(entryOutput, "%d\n", i);
        const bool known = static_cast<size_t>(i) < supports->styles.size();
        if (known && supports->styles[static_cast<size_t>(i)].method == kGenerationMethod1) {
            Type1(i);
        }
    }
    runReport.freeNodesAdded = track->freeNodeArray.size() - freeBefore;
    runReport.fundNodesAdded = track->fundNodeArray.size() - fundBefore;
    runReport.tubesAdded = track->tubeArray.size() - tubesBefore;
}

// Removing an element moves the later ones down, so the highest index goes
// first: every recorded index then still names the element it recorded.
void strutWright::clearRecorded(std::vector<int>& recorded, int& count,
                                void (*remove)(int, ZvTrack*)) {
    const size_t last = std::min(static_cast<size_t>(std::max(count, 0)), recorded.size() - 1);
    std::vector<int> indices(recorded.begin() + 1, recorded.begin() + 1 + static_cast<long>(last));
    std::sort(indices.rbegin(), indices.rend());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (int index : indices) remove(index, track);
    count = 0;
    recorded.assign(1, 0);
}

// Every pass looks at every marker still there, so the kept markers are
// counted by the last pass, the built ones by all of them.
void strutWright::Type1(int /*style*/) {
    const int segments = getTotalSegments(track);
    // The tubes a run adds join free and foundation nodes only, so just the
    // tubes there before it can name a marker.
    const size_t tubesBefore = track->tubeArray.size();
    KeepFlags keep = attachmentPoints(segments);
    reserveForStructures(keep);
    visitMarkers(keep, true);
    removeMarkers(keep, tubesBefore);
}

void strutWright::planOnly() {
    KeepFlags keep = attachmentPoints(getTotalSegments(track));
    visitMarkers(keep, false);
}

// Plans the structure of every marker that is no attachment point, and builds
// it when `build`; afterwards `keep` flags every marker that stays.
void strutWright::visitMarkers(KeepFlags& keep, bool build) {
    building = build;
    MarkerCounts& counts = runReport.markers;
    counts.attachmentPoints = counts.withoutCurve = counts.outOfRange = counts.nonFinite = 0;
    StructurePlan plan;
    for (size_t s = 0; s < keep.size(); ++s) {
        if (keep[s].empty()) continue;
        const int segment = static_cast<int>(s);
        const bool hasCurve = followingBezier(segment, track) >= 0;
        const SegmentStyle style = hasCurve ? segmentStyle(track->segmentArray[s]) : SegmentStyle{};
        int leftInPlace = 0;
        for (size_t j = 0; j < keep[s].size(); ++j) {
            const TrackNodeRecord& marker = track->trackNodeLists[s].nodes[j];
            if (keep[s][j]) {  // an attachment point of an existing support
                ++counts.attachmentPoints;
            } else if (!hasCurve) {
                keep[s][j] = 1;
                ++leftInPlace;
            } else if (planAtMarker(segment, style, marker, plan)) {
                if (build) buildAtMarker(segment, marker, plan);
            } else {
                keep[s][j] = 1;
            }
        }
        counts.withoutCurve += leftInPlace;
        if (leftInPlace > 0) {
            const std::string markers = leftInPlace == 1 ? "marker was" : std::to_string(leftInPlace) + " markers were";
            warnOnce(kWithoutCurveLines, "segment " + std::to_string(segment) + " has no curve; its " + markers +
                                             " left in place");
        }
    }
}

// The markers Type1 works on: those of the lists that have a segment.
int strutWright::markersOnSegments() const {
    const size_t lists = std::min(static_cast<size_t>(std::max(getTotalSegments(track), 0)),
                                  track->trackNodeLists.size());
    int markers = 0;
    for (size_t s = 0; s < lists; ++s) markers += static_cast<int>(track->trackNodeLists[s].nodes.size());
    return markers;
}

// One flag per track node of each segment that Type1 works on (segments that
// have a track-node list): set for the nodes existing tubes name by kind 3.
strutWright::KeepFlags strutWright::attachmentPoints(int segments) {
    const int lists = static_cast<int>(track->trackNodeLists.size());
    KeepFlags keep(static_cast<size_t>(std::max(0, std::min(segments, lists))));
    for (size_t s = 0; s < keep.size(); ++s) keep[s].assign(track->trackNodeLists[s].nodes.size(), 0);
    // Without markers there is nothing to mark (a later style entry's run
    // finds none left), and the walk over every tube is spared.
    const bool anyMarker = std::any_of(keep.begin(), keep.end(),
                                       [](const std::vector<char>& flags) { return !flags.empty(); });
    if (!anyMarker) return keep;
    auto mark = [&keep](int kind, int segment, int index) {
        if (kind != kEndTrackNode || segment < 0 || static_cast<size_t>(segment) >= keep.size()) return;
        std::vector<char>& flags = keep[static_cast<size_t>(segment)];
        if (index >= 0 && static_cast<size_t>(index) < flags.size()) flags[static_cast<size_t>(index)] = 1;
    };
    for (const TubeRecord& tube : track->tubeArray) {
        mark(tube.kind1, tube.segment1, tube.index1);
        mark(tube.kind2, tube.segment2, tube.index2);
    }
    return keep;
}

// Room in the document for the largest structures the markers can get.
void strutWright::reserveForStructures(const KeepFlags& keep) {
    StructureSize room{0, 0, 0};
    for (size_t s = 0; s < keep.size(); ++s) {
        for (const TrackNodeRecord& node : track->trackNodeLists[s].nodes) {
            const StructureSize most = largestStructure(node.nodeType);
            room.freeNodes += most.freeNodes;
            room.fundNodes += most.fundNodes;
            room.tubes += most.tubes;
        }
    }
    reserveMore(track->freeNodeArray, room.freeNodes);
    reserveMore(track->fundNodeArray, room.fundNodes);
    reserveMore(track->tubeArray, room.tubes);
    reserveMore(runReport.tubes, room.tubes);
}

strutWright::SegmentStyle strutWright::segmentStyle(const SegmentRecord& record) {
    SegmentStyle style;
    style.depth = attachmentDepth(getCoasterStyle(track));
    style.colours = segmentSupportSettings(record);
    style.braceSlope = std::tan(style.colours.braceAngle / kDegreesPerRadian);
    return style;
}

// Plans the structure of one marker into `plan`; false, with a warning, when
// it has to be left out.
bool strutWright::planAtMarker(int segment, const SegmentStyle& style, const TrackNodeRecord& marker,
                               StructurePlan& plan) {
    MarkerCounts& counts = runReport.markers;
    // A finite position outside 0..1 would extend the curve past its ends;
    // a non-finite one fails as a non-finite structure below.
    const float position = marker.segmentPos;
    if (std::isfinite(position) && (position < 0 || position > 1)) {
        ++counts.outOfRange;
        warnAboutMarker(kOutOfRangeLines, segment, marker, "lies outside 0..1 along it");
        return false;
    }
    if (!planMarker(segment, style, marker, plan)) {
        ++counts.nonFinite;
        warnAboutMarker(kNotFiniteLines, segment, marker, "along it gives non-finite coordinates");
        return false;
    }
    return true;
}

// Adds the planned structure of one marker to the document and the report.
void strutWright::buildAtMarker(int segment, const TrackNodeRecord& marker, StructurePlan& plan) {
    MarkerCounts& counts = runReport.markers;
    const size_t firstTube = runReport.tubes.size();
    for (int index : plan.commit(track, &runReport.tubes)) Tube(index);
    const StructureKind kind = structureKind(marker.nodeType);
    runReport.structures.push_back({segment, marker.segmentPos, marker.nodeType, kind, firstTube,
                                    runReport.tubes.size() - firstTube});
    switch (kind) {
    case StructureKind::kColumn: ++counts.columns; break;
    case StructureKind::kBracedLeg: ++counts.bracedLegs; break;
    case StructureKind::kCrossbeam: ++counts.crossbeams; break;
    case StructureKind::kStrutOnly: ++counts.strutsOnly; break;
    }
}

// Plans the structure of one marker; false when it would not be finite.
bool strutWright::planMarker(int segment, const SegmentStyle& style, const TrackNodeRecord& marker,
                             StructurePlan& plan) {
    const NodeFrame frame = nodeFrame(segment, style, marker);
    plan.start(frame.at.heading);
    planConnector(frame, plan);
    const StructureKind kind = structureKind(frame.nodeType);
    if (kind == StructureKind::kColumn || kind == StructureKind::kBracedLeg) planColumn(frame, plan);
    if (kind == StructureKind::kBracedLeg) planBracedLeg(frame, plan);
    if (kind == StructureKind::kCrossbeam) planCrossbeam(frame, plan);
    return plan.isFinite();
}

strutWright::NodeFrame strutWright::nodeFrame(int segment, const SegmentStyle& style,
                                              const TrackNodeRecord& node) {
    NodeFrame frame;
    frame.nodeType = node.nodeType;
    frame.style = style;
    frame.at = trackFrameAt(segment, node.segmentPos, track);

    const int column = columnType(frame.at.point.y);
    frame.braceType = getSupport(column, -1);
    frame.columnType = getSupport(column, 0);
    frame.collarType = getSupport(column, 1);

    const float bank = frame.at.bankDegrees;
    const bool overturned = bank > kHalfTurnDegrees;
    frame.columnBank = overturned ? kFullTurnDegrees - bank : bank;
    if (frame.columnBank > kQuarterTurnDegrees && frame.columnBank < kHalfTurnDegrees) {
        frame.columnBank = kQuarterTurnDegrees;
    }
    const float liftBank = overturned ? kThreeQuarterTurnDegrees - bank : bank;
    const float lift = frame.nodeType == kMarkerCrossbeam
                           ? kBaseLift
                           : kBaseLift + kLiftPerHalfTurn * liftBank / kHalfTurnDegrees;
    const Point3D& p = frame.at.point;
    const Point3D& down = frame.at.down;
    frame.strutTop = vectors.Add(p, vectors.MultScalar(down, style.depth));
    frame.strutFoot = vectors.Add(p, vectors.MultScalar(down, style.depth + lift));
    return frame;
}

void strutWright::planConnector(const NodeFrame& frame, StructurePlan& plan) {
    const int top = plan.freeNode(frame.strutTop);
    const int foot = plan.freeNode(frame.strutFoot);
    plan.tube(top, foot, kTubeLight, MemberRole::kConnectorStrut, true);
}

void strutWright::planColumn(const NodeFrame& frame, StructurePlan& plan) {
    const Point3D& f2 = frame.strutFoot;
    const int top = plan.freeNode(raised(f2, frame.columnBank / kQuarterTurnDegrees));
    const int foot = plan.fundNodeBelow(f2);
    plan.tube(top, foot, frame.columnType, MemberRole::kColumn, true);
    const CollarEnds collar = verticalCollar(f2, -1.0f);
    const int near = plan.freeNode(collar.near);
    const int far = plan.freeNode(collar.far);
    plan.tube(near, far, frame.collarType, MemberRole::kCollar, true);
}

void strutWright::planBracedLeg(const NodeFrame& frame, StructurePlan& plan) {
    const Point3D& f2 = frame.strutFoot;
    Point3D braceTop = raised(f2, -kBraceDrop);
    Point3D footLevel = atHeight(f2, kBraceFootHeight);
    const float drop = bezierCalc.getDistance(&braceTop, &footLevel);
    const double slope = frame.style.braceSlope;
    float spread = static_cast<float>(slope * drop);
    if (frame.style.colours.mirrored) spread = -spread;
    if (std::fabs(slope) > kFarSpreadRatio) {
        char angle[32];
        std::snprintf(angle, sizeof angle, "%g", static_cast<double>(frame.style.colours.braceAngle));
        warnOnce(kFarBraceLines, std::string("brace angle ") + angle +
                                     " degrees is nearly horizontal; braced legs stand far from their columns");
    }
    const Point3D legPoint = vectors.Add(f2, vectors.MultScalar(frame.at.side, spread));
    const Point3D braceFoot = atHeight(legPoint, kBraceFootHeight);

    const int braceTopNode = plan.freeNode(braceTop);
    const int braceFootNode = plan.freeNode(braceFoot);
    const int legTop = plan.freeNode(atHeight(legPoint, kSecondLegTop));
    const int legFoot = plan.fundNodeBelow(legPoint);
    plan.tube(braceTopNode, braceFootNode, frame.braceType, MemberRole::kBrace);
    plan.tube(legTop, legFoot, frame.columnType, MemberRole::kSecondLeg);

    if (tieSectionFits(frame.at.point.y, frame.style.colours.tieHeight)) {
        planTieSection(frame, braceTop, braceFoot, plan);
    }
}

void strutWright::planTieSection(const NodeFrame& frame, Point3D g2, Point3D braceFoot,
                                 StructurePlan& plan) {
    const float h = frame.style.colours.tieHeight;
    const Point3D k1 = atHeight(frame.strutFoot, kBraceFootHeight + h);
    const float length = g2.y - kBraceFootHeight;
    // A brace top at foot height (up to rounding) leaves no height to measure
    // along: the tie then meets the brace at its foot.
    const bool noHeight = std::fabs(length) <= roundingNoise(g2);
    const Point3D k2 = noHeight ? braceFoot : getLinearPosByValue(g2, braceFoot, 1 - h / length);

    const int k1Node = plan.freeNode(k1);
    const int k2Node = plan.freeNode(k2);
    plan.tube(k1Node, k2Node, frame.braceType, MemberRole::kTie);
    planCollar(verticalCollar(k1, 1.0f), frame.collarType, plan);
    planCollar(verticalCollar(k1, -1.0f), frame.collarType, plan);
    planCollarPair(collarOn(k1, k2, false), collarOn(k1, k2, true), frame.columnType, plan);
    planCollarPair(collarOn(k2, g2, false), collarOn(k2, braceFoot, false), frame.columnType, plan);
    if (frame.style.colours.extraDiagonal) planExtraDiagonal(frame, k2, k2Node, plan);
}

void strutWright::planExtraDiagonal(const NodeFrame& frame, Point3D k2, int k2Node,
                                    StructurePlan& plan) {
    const Point3D m = atHeight(frame.strutFoot, kDiagonalHeight);
    const int mNode = plan.freeNode(m);
    plan.tube(k2Node, mNode, frame.braceType, MemberRole::kDiagonal);
    planCollarPair(collarOn(m, k2, false), collarOn(m, k2, true), frame.columnType, plan);
}

void strutWright::planCrossbeam(const NodeFrame& frame, StructurePlan& plan) {
    const float bank = frame.at.bankDegrees;
    const bool overturned = bank > kHalfTurnDegrees;
    const float folded = overturned ? kFullTurnDegrees - bank : bank;
    const float longArm = kLongArm * folded / kHalfTurnDegrees;
    const float shortArm = kShortArm * folded / kHalfTurnDegrees;
    // The long arm reaches to +L, or to -L once the track is overturned.
    const float sign = overturned ? -1.0f : 1.0f;
    const Point3D& side = frame.at.side;
    const Point3D v1 = vectors.MultScalar(side, sign * longArm);
    const Point3D v2 = vectors.MultScalar(side, -sign * shortArm);
    const Point3D& f2 = frame.strutFoot;
    const int x1 = plan.freeNode(vectors.Add(f2, v1));
    const int x2 = plan.freeNode(vectors.Add(f2, v2));
    plan.tube(x1, x2, frame.columnType, MemberRole::kCrossbeam);

    Point3D end1 = v1;
    Point3D end2 = v2;
    const float span = bezierCalc.getDistance(&end1, &end2);
    // Without bank both arms vanish; the column goes where it goes for any
    // short beam: the inset from X1 towards X2.
    const Point3D offset =
        span == 0 ? vectors.Add(v1, vectors.MultScalar(side, -sign * kColumnInset))
                  : getLinearPosByValue(v1, v2, kColumnInset / span);
    const Point3D columnTop = vectors.Add(f2, offset);
    const int top = plan.freeNode(columnTop);
    const int foot = plan.fundNodeBelow(columnTop);
    plan.tube(top, foot, frame.columnType, MemberRole::kColumn);
}

void strutWright::planCollar(CollarEnds ends, int type, StructurePlan& plan) {
    const int near = plan.freeNode(ends.near);
    const int far = plan.freeNode(ends.far);
    plan.tube(near, far, type, MemberRole::kCollar);
}

void strutWright::planCollarPair(CollarEnds first, CollarEnds second, int type,
                                 StructurePlan& plan) {
    const int firstNear = plan.freeNode(first.near);
    const int firstFar = plan.freeNode(first.far);
    const int secondNear = plan.freeNode(second.near);
    const int secondFar = plan.freeNode(second.far);
    plan.tube(firstNear, firstFar, type, MemberRole::kCollar);
    plan.tube(secondNear, secondFar, type, MemberRole::kCollar);
}

// The collar points on member a-b, measured from a, or from b when fromB.
strutWright::CollarEnds strutWright::collarOn(Point3D a, Point3D b, bool fromB) {
    return {pointAlong(a, b, kCollarNear, fromB), pointAlong(a, b, kCollarFar, fromB)};
}

// The collar points straight above (direction 1) or below (-1) a joint.
strutWright::CollarEnds strutWright::verticalCollar(Point3D joint, float direction) {
    return {raised(joint, direction * kCollarNear), raised(joint, direction * kCollarFar)};
}

// The point `distance` from a towards b (or from b towards a); on a member of
// zero length (up to rounding), its joint.
Point3D strutWright::pointAlong(Point3D a, Point3D b, float distance, bool fromB) {
    const float length = bezierCalc.getDistance(&a, &b);
    if (length <= roundingNoise(fromB ? b : a)) return fromB ? b : a;
    const float t = distance / length;
    return getLinearPosByValue(a, b, fromB ? 1 - t : t);
}

// Rebuilds each processed list with the nodes kept, in their order, and moves
// every kind-3 end of the first `tubesBefore` tubes that names a kept node to
// the node's new index.
void strutWright::removeMarkers(const KeepFlags& keep, size_t tubesBefore) {
    std::vector<std::vector<int>> newIndex(keep.size());
    bool removedAny = false;
    for (size_t s = 0; s < keep.size(); ++s) {
        std::vector<TrackNodeRecord>& nodes = track->trackNodeLists[s].nodes;
        newIndex[s].assign(keep[s].size(), -1);
        size_t kept = 0;
        for (size_t j = 0; j < keep[s].size(); ++j) {
            if (!keep[s][j]) continue;
            newIndex[s][j] = static_cast<int>(kept);
            nodes[kept++] = nodes[j];
        }
        removedAny = removedAny || kept < keep[s].size();
        // Deleting from the end moves nothing, so the removal stays linear.
        for (size_t j = keep[s].size(); j > kept; --j) {
            deleteTrackNode(static_cast<int>(s), static_cast<int>(j) - 1, track);
        }
    }
    if (!removedAny) return;  // every index still stands
    auto renumber = [&newIndex](int kind, int segment, int& index) {
        if (kind != kEndTrackNode || segment < 0 || static_cast<size_t>(segment) >= newIndex.size()) return;
        const std::vector<int>& map = newIndex[static_cast<size_t>(segment)];
        if (index >= 0 && static_cast<size_t>(index) < map.size() && map[static_cast<size_t>(index)] >= 0) {
            index = map[static_cast<size_t>(index)];
        }
    };
    for (size_t i = 0; i < tubesBefore; ++i) {
        TubeRecord& tube = track->tubeArray[i];
        renumber(tube.kind1, tube.segment1, tube.index1);
        renumber(tube.kind2, tube.segment2, tube.index2);
    }
}

// "segment 3: the marker at 2 <problem>; it was left in place" (when only
// planning: "a run leaves it in place")
void strutWright::warnAboutMarker(const char* kind, int segment, const TrackNodeRecord& marker,
                                  const char* problem) {
    char position[32];
    std::snprintf(position, sizeof position, "%g", static_cast<double>(marker.segmentPos));
    warnOnce(kind, "segment " + std::to_string(segment) + ": the marker at " + position + " " +
             problem + (building ? "; it was left in place" : "; a run leaves it in place"));
}

void strutWright::warnOnce(const char* kind, const std::string& message) {
    if (warningsGiven.insert(message).second) runReport.warnings.push_back({kind, message});
}
