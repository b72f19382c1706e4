// New-track defaults and the document-wide settings.
//   initNewZvTrack  fills a document with the values of a new, empty track: one
//                   bezier, no segments, 32 empty TRCK entries, empty collections.
//                   Terrain fields and scenTrailer keep what they held.
//   setMajor etc.   keep the low 8 bits; the getters widen the signed byte.
#pragma once
#include "zvtrack.h"

// The comment text of a new track.
extern const char* const kNewTrackComments;

void initNewZvTrack(ZvTrack* track);
void setCoasterStyle(int style, ZvTrack* track);
int getCoasterStyle(ZvTrack* track);
void setMajor(int value, ZvTrack* track);
int getMajor(ZvTrack* track);
void setMinor(int value, ZvTrack* track);
int getMinor(ZvTrack* track);
void setRevision(int value, ZvTrack* track);
int getRevision(ZvTrack* track);
void setMarkup(int value, ZvTrack* track);
int getMarkup(ZvTrack* track);
void setUse16friction(int value, ZvTrack* track);
int getUse16friction(ZvTrack* track);
