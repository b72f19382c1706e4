#include "zorv.h"

#include "info.h"
#include "zvlayout.h"

const char* const kNewTrackComments = "Created with Talwins libzvtrack v1.0";

namespace {
// Version and header values of a new track.
constexpr int kNewMajor = 1;
constexpr int kNewMinor = 6;
constexpr int kNewCoasterStyle = 1;
constexpr int kNewTrckEntryCount = 32;
constexpr int kNewTrckValue = 6;

// Length words a new track's chunks start with. Those of the chunks that hold
// a counted list follow from the framing; the others are the format's own.
constexpr int kNewTrckLength = 88;
constexpr int kNewInfoLength = 39;
constexpr int kNewEmptyChunkLength = zvlayout::kCountedChunkFrame;  // FUND, RASC, FREN, TUBE, CATW, SCOB
constexpr int kNewBezrLength = kNewEmptyChunkLength + kBezierRecordSize;  // one bezier
// The segment count, the closed flag, two null runs and the nested count.
constexpr int kNewSegmLength = zvlayout::kIntSize + 1 + 2 * zvlayout::kChunkPadding + zvlayout::kIntSize;
constexpr int kNewSuppLength = zvlayout::kSuppPadding + zvlayout::kIntSize;
constexpr int kNewScenLength = 88;
constexpr int kNewEnvcLength = zvlayout::kEnvcFrame;

constexpr int kOpaque = 255;

// The low 8 bits of value as a signed byte.
int8_t lowByte(int value) { return static_cast<int8_t>(static_cast<uint8_t>(value)); }

void initHeader(ZvTrack* track, Color white) {
    track->headerValue = 0;
    track->major = kNewMajor;
    track->minor = kNewMinor;
    track->revision = 0;
    track->markup = 0;
    track->headerByte = 0;
    track->use16friction = 1;

    track->trckLength = kNewTrckLength;
    track->coasterStyle = kNewCoasterStyle;
    track->trckValue = kNewTrckValue;
    TrckEntry entry;
    entry.colors.fill(white);
    track->trckEntries.assign(kNewTrckEntryCount, entry);
    track->trackColors.fill(white);
    track->trckBytes.fill(0);
    track->trckInt = 0;
    track->trckFlag = 1;
    track->trckColor = white;

    track->infoLength = kNewInfoLength;
    setAuthorComments(kNewTrackComments, track);
    track->ownedAuthorComments.reset();
}

// One bezier 1 above the origin, its handles 10 along +z and -z, so the track
// leaves it heading towards -z.
void initSpline(ZvTrack* track) {
    BezierRecord start;
    start.position = {0.0f, 1.0f, 0.0f};
    start.controlIn = {0.0f, 1.0f, 10.0f};
    start.controlOut = {0.0f, 1.0f, -10.0f};
    track->bezierArray.assign(1, start);
    track->bezrLength = kNewBezrLength;

    track->segmLength = kNewSegmLength;
    track->closedTrack = 0;
    track->segmentArray.clear();
}

void initSupportsAndScenery(ZvTrack* track) {
    track->suppLength = kNewSuppLength;
    track->fundLength = kNewEmptyChunkLength;
    track->fundNodeArray.clear();
    track->rascLength = kNewEmptyChunkLength;
    track->trackNodeLists.clear();
    track->frenLength = kNewEmptyChunkLength;
    track->freeNodeArray.clear();
    track->tubeLength = kNewEmptyChunkLength;
    track->tubeArray.clear();
    track->catwLength = kNewEmptyChunkLength;
    track->catwRecords.clear();
    track->scenLength = kNewScenLength;
    track->scenRecords.clear();
    track->scobLength = kNewEmptyChunkLength;
    track->scobRecords.clear();
    track->envcLength = kNewEnvcLength;
    track->envcText1.clear();
    track->envcText2.clear();
}
}  // namespace

void initNewZvTrack(ZvTrack* track) {
    const Color white = createColorARGB(kOpaque, kOpaque, kOpaque, kOpaque);
    initHeader(track, white);
    initSpline(track);
    initSupportsAndScenery(track);
}

void setCoasterStyle(int style, ZvTrack* track) { track->coasterStyle = style; }
int getCoasterStyle(ZvTrack* track) { return track->coasterStyle; }

void setMajor(int value, ZvTrack* track) { track->major = lowByte(value); }
int getMajor(ZvTrack* track) { return track->major; }
void setMinor(int value, ZvTrack* track) { track->minor = lowByte(value); }
int getMinor(ZvTrack* track) { return track->minor; }
void setRevision(int value, ZvTrack* track) { track->revision = lowByte(value); }
int getRevision(ZvTrack* track) { return track->revision; }
void setMarkup(int value, ZvTrack* track) { track->markup = lowByte(value); }
int getMarkup(ZvTrack* track) { return track->markup; }

void setUse16friction(int value, ZvTrack* track) { track->use16friction = value; }
int getUse16friction(ZvTrack* track) { return track->use16friction; }
