#include "segm.h"

#include "collection.h"

namespace {
// Stored type-block lengths, indexed by SegmentType.
constexpr int kTypeDataLengths[] = {0, 126, 36, 28, 50};
constexpr int kSegmentTypeCount = sizeof(kTypeDataLengths) / sizeof(kTypeDataLengths[0]);

// A colour byte that carries a value; its 255 byte selects the default.
constexpr int kDefaultByte = -1;
constexpr int kFullByte = 255;
const Color kOpaqueGreen = createColorARGB(kFullByte, 0, kFullByte, 0);
const Color kOpaqueRed = createColorARGB(kFullByte, kFullByte, 0, 0);

float colorValue(int component, float defaultValue) {
    const int value = colorComponent(component);
    return value == kDefaultByte ? defaultValue : static_cast<float>(value);
}

// The segment numbered n (from 1), or nullptr.
SegmentRecord* numberedSegment(int n, ZvTrack* track) {
    return findRecord(track->segmentArray, n - 1);
}

SegmentRecord segmentCopy(int n, ZvTrack* track) { return recordAt(track->segmentArray, n - 1); }

void fillSegment(SegmentRecord& segment, int type, int segmentFlag, Color color1, Color color2,
                 Color color3, int segmentFlag2, int segmentValue) {
    segment.type = type;
    segment.segmentFlag = segmentFlag;
    segment.color1 = color1;
    segment.color2 = color2;
    segment.color3 = color3;
    segment.segmentFlag2 = segmentFlag2;
    segment.segmentValue = segmentValue;
    segment.typeDataLength = segmentTypeDataLength(type);
}

// Empties a list, taking its nodes' stored size off rascLength.
void discardTrackNodes(TrackNodeList& list, ZvTrack* track) {
    moveLengthWord(track->rascLength, -kTrackNodeRecordSize * recordCount(list.nodes));
    list.nodes.clear();
}

// Gives every segment exactly one list: lists are added empty or dropped at
// the end, rascLength following what is added or dropped.
void fitTrackNodeLists(ZvTrack* track) {
    auto& lists = track->trackNodeLists;
    const size_t wanted = track->segmentArray.size();
    while (lists.size() > wanted) {
        discardTrackNodes(lists.back(), track);
        lists.pop_back();
        moveLengthWord(track->rascLength, -kTrackNodeListSize);
    }
    while (lists.size() < wanted) {
        lists.emplace_back();
        moveLengthWord(track->rascLength, kTrackNodeListSize);
    }
}
}  // namespace

bool sameColor(Color a, Color b) {
    return colorComponent(a.alpha) == colorComponent(b.alpha) &&
           colorComponent(a.blue) == colorComponent(b.blue) &&
           colorComponent(a.green) == colorComponent(b.green) &&
           colorComponent(a.red) == colorComponent(b.red);
}

SegmentSupportSettings segmentSupportSettings(const SegmentRecord& segment) {
    SegmentSupportSettings settings;
    settings.mirrored = sameColor(segment.color1, kOpaqueGreen);
    settings.extraDiagonal = !sameColor(segment.color2, kOpaqueRed);
    settings.tieHeight = colorValue(segment.color3.red, kDefaultTieHeight);
    settings.braceAngle = colorValue(segment.color3.blue, kDefaultBraceAngle);
    return settings;
}

int segmentTypeDataLength(int type) {
    return type >= 0 && type < kSegmentTypeCount ? kTypeDataLengths[type] : 0;
}

void addSegment(int type, int n, int segmentFlag, Color color1, Color color2, Color color3,
                int segmentFlag2, int segmentValue, ZvTrack* track) {
    appendRecord(track->segmentArray, SegmentRecord{}, track->segmLength, kSegmentRecordSize);
    fitTrackNodeLists(track);
    discardTrackNodes(track->trackNodeLists.back(), track);
    modifySegment(type, n, segmentFlag, color1, color2, color3, segmentFlag2, segmentValue, track);
}

void modifySegment(int type, int n, int segmentFlag, Color color1, Color color2, Color color3,
                   int segmentFlag2, int segmentValue, ZvTrack* track) {
    SegmentRecord* segment = numberedSegment(n, track);
    if (!segment) return;
    fillSegment(*segment, type, segmentFlag, color1, color2, color3, segmentFlag2, segmentValue);
}

void deleteSegment(int i, ZvTrack* track) {
    if (!inRange(track->segmentArray, i)) return;
    eraseRecord(track->segmentArray, i, track->segmLength, kSegmentRecordSize);
    if (TrackNodeList* list = findRecord(track->trackNodeLists, i)) {
        discardTrackNodes(*list, track);
        eraseRecord(track->trackNodeLists, i, track->rascLength, kTrackNodeListSize);
    }
    fitTrackNodeLists(track);
}

SegmentRecord getSegment(int n, ZvTrack* track) { return segmentCopy(n, track); }

int getTotalSegments(ZvTrack* track) { return recordCount(track->segmentArray); }

void setSegmentStation(int n, float station1, float station2, float station3, float station4,
                       int8_t station5, int8_t station6, int station7, int8_t station8,
                       float station9, int8_t station10, int8_t station11, int station12,
                       int station13, float station14, float station15, float station16,
                       int station17, float station18, float station19, float station20,
                       int8_t station21, float station22, int station23, ZvTrack* track) {
    SegmentRecord* segment = numberedSegment(n, track);
    if (!segment) return;
    segment->station = StationSettings{station1,  station2,  station3,  station4,  station5,
                                       station6,  station7,  station8,  station9,  station10,
                                       station11, station12, station13, station14, station15,
                                       station16, station17, station18, station19, station20,
                                       station21, station22, station23};
}

StationSettings getSegmentStation(int n, ZvTrack* track) { return segmentCopy(n, track).station; }

void setSegmentLift(int n, int8_t lift1, float lift2, float lift3, float lift4, int lift5,
                    int lift6, int lift7, ZvTrack* track) {
    SegmentRecord* segment = numberedSegment(n, track);
    if (!segment) return;
    segment->lift = LiftSettings{lift1, lift2, lift3, lift4, lift5, lift6, lift7};
}

LiftSettings getSegmentLift(int n, ZvTrack* track) { return segmentCopy(n, track).lift; }

void setSegmentTransport(int n, float transport1, float transport2, float transport3,
                         int8_t transport4, int transport5, int transport6, int8_t transport7,
                         int8_t transport8, float transport9, ZvTrack* track) {
    SegmentRecord* segment = numberedSegment(n, track);
    if (!segment) return;
    segment->transport = TransportSettings{transport1, transport2, transport3,
                                           transport4, transport5, transport6,
                                           transport7, transport8, transport9};
}

TransportSettings getSegmentTransport(int n, ZvTrack* track) {
    return segmentCopy(n, track).transport;
}

void setSegmentBreak(int n, float break1, float break2, float break3, float break4, int break5,
                     int break6, float break7, float break8, float break9, int break10,
                     int break11, int break12, int8_t break13, int break14, int break15,
                     float break16, int break17, ZvTrack* track) {
    SegmentRecord* segment = numberedSegment(n, track);
    if (!segment) return;
    segment->brake = BreakSettings{break1,  break2,  break3,  break4,  break5,  break6,
                                   break7,  break8,  break9,  break10, break11, break12,
                                   break13, break14, break15, break16, break17};
}

BreakSettings getSegmentBreak(int n, ZvTrack* track) { return segmentCopy(n, track).brake; }
