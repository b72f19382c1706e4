// Segments. Record operations and settings accessors count from 1 (n),
// deleteSegment from 0 (i); a bad n gets a zero record or changes nothing.
// addSegment appends a segment with an empty track-node list and stores its
// values at n, which callers pass as the new count; deleteSegment takes the
// list along. Length words move by the stored sizes (37 per segment, 4 per
// list, 24 per node), so every list a save writes is counted once.
#pragma once
#include "zvtrack.h"

// Stored length of the type block of a segment of this type.
int segmentTypeDataLength(int type);

// What a segment's colours set for the supports of its markers, read the
// one way the generator and placement both use.
constexpr float kDefaultTieHeight = 6.0f;
constexpr float kDefaultBraceAngle = 25.0f;  // degrees
struct SegmentSupportSettings {
    bool mirrored = false;       // color1 opaque pure green: braced legs stand towards -L
    bool extraDiagonal = false;  // color2 anything but opaque pure red: braced legs get it
    float tieHeight = kDefaultTieHeight;    // color3 red byte; 255 selects the default
    float braceAngle = kDefaultBraceAngle;  // color3 blue byte; 255 selects the default
};
SegmentSupportSettings segmentSupportSettings(const SegmentRecord& segment);
// All four components equal as a file would store them (255 set in memory
// and -1 loaded from a file agree).
bool sameColor(Color a, Color b);

void addSegment(int type, int n, int segmentFlag, Color color1, Color color2, Color color3,
                int segmentFlag2, int segmentValue, ZvTrack* track);
void modifySegment(int type, int n, int segmentFlag, Color color1, Color color2, Color color3,
                   int segmentFlag2, int segmentValue, ZvTrack* track);
void deleteSegment(int i, ZvTrack* track);
SegmentRecord getSegment(int n, ZvTrack* track);
int getTotalSegments(ZvTrack* track);

void setSegmentStation(int n, float station1, float station2, float station3, float station4,
                       int8_t station5, int8_t station6, int station7, int8_t station8,
                       float station9, int8_t station10, int8_t station11, int station12,
                       int station13, float station14, float station15, float station16,
                       int station17, float station18, float station19, float station20,
                       int8_t station21, float station22, int station23, ZvTrack* track);
StationSettings getSegmentStation(int n, ZvTrack* track);
void setSegmentLift(int n, int8_t lift1, float lift2, float lift3, float lift4, int lift5,
                    int lift6, int lift7, ZvTrack* track);
LiftSettings getSegmentLift(int n, ZvTrack* track);
void setSegmentTransport(int n, float transport1, float transport2, float transport3,
                         int8_t transport4, int transport5, int transport6, int8_t transport7,
                         int8_t transport8, float transport9, ZvTrack* track);
TransportSettings getSegmentTransport(int n, ZvTrack* track);
void setSegmentBreak(int n, float break1, float break2, float break3, float break4, int break5,
                     int break6, float break7, float break8, float break9, int break10,
                     int break11, int break12, int8_t break13, int break14, int break15,
                     float break16, int break17, ZvTrack* track);
BreakSettings getSegmentBreak(int n, ZvTrack* track);
