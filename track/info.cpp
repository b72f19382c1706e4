#include "info.h"

// The pointer is stored as given; ownedAuthorComments is left alone because a
// caller may still be using the text an earlier getAuthorComments returned.
void setAuthorComments(const char* text, ZvTrack* track) { track->authorComments = text; }

const char* getAuthorComments(ZvTrack* track) { return track->authorComments; }
