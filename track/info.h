// Author comments. setAuthorComments stores the pointer itself, not a copy: the
// caller keeps the text alive while the document is used. infoLength is not
// changed. getAuthorComments returns the stored pointer (may be null when no
// INFO chunk was ever loaded).
#pragma once
#include <string>
#include "zvtrack.h"

void setAuthorComments(const char* text, ZvTrack* track);
const char* getAuthorComments(ZvTrack* track);

// Stores a copy of `text` that the document owns, every byte kept (a NUL
// included); getAuthorComments then returns that copy's C string.
void setOwnedAuthorComments(std::string text, ZvTrack* track);
// The comment's bytes: the whole of an owned text (a loaded one, or one stored
// with setOwnedAuthorComments) while it is the current one, else the C string
// setAuthorComments stored, else empty.
std::string authorCommentsText(const ZvTrack* track);
