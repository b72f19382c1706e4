// Author comments. setAuthorComments stores the pointer itself, not a copy: the
// caller keeps the text alive while the document is used. infoLength is not
// changed. getAuthorComments returns the stored pointer (may be null when no
// INFO chunk was ever loaded).
#pragma once
#include "zvtrack.h"

void setAuthorComments(const char* text, ZvTrack* track);
const char* getAuthorComments(ZvTrack* track);
