#include "info.h"

#include <cstring>
#include <utility>

// The pointer is stored as given; ownedAuthorComments is left alone because a
// caller may still be using the text an earlier getAuthorComments returned.
void setAuthorComments(const char* text, ZvTrack* track) { track->authorComments = text; }

const char* getAuthorComments(ZvTrack* track) { return track->authorComments; }

void setOwnedAuthorComments(std::string text, ZvTrack* track) {
    auto owned = std::make_shared<const std::string>(std::move(text));
    track->authorComments = owned->c_str();
    track->ownedAuthorComments = std::move(owned);
}

std::string authorCommentsText(const ZvTrack* track) {
    const std::string* owned = track->ownedAuthorComments.get();
    if (owned && track->authorComments == owned->c_str()) return *owned;
    return track->authorComments ? std::string(track->authorComments) : std::string();
}
