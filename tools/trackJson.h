// The JSON form of a track document, as `zvtrack dump` prints it, produced
// piece by piece so that a track of any size needs little memory beyond the
// document itself.
//
//   walkTrackJson          hands `sink` every field of the document under the
//                          name the file layout (zvlayout.h) gives it, in the
//                          order the document declares them, and beside them
//                          scenTrailer and hasTerrain: each value whole (a
//                          colour is one object, a terrain row one array),
//                          records and lists piece by piece. Floats keep their
//                          shortest decimal form. Texts become Latin-1 strings:
//                          each byte is one code point, so any bytes survive.
//                          Only the settings block a segment's type stores is
//                          given; the terrain gives its used rows x columns
//                          only.
//   writeTrackJson         the dump: that JSON indented by 2, non-finite numbers
//                          as the strings "nan", "inf" and "-inf", ending in a
//                          newline.
//   forEachNonFiniteNumber calls visit(path, name) for every NaN or infinite
//                          number, with a path such as "bezierArray[2].controlIn.y"
//                          and its name ("nan", "inf", "-inf").
//   latin1ToUtf8           the Latin-1 reading of a byte string, as UTF-8.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "zvtrack.h"

using OrderedJson = nlohmann::ordered_json;

// Receives a document's JSON in order: containers opened and closed, keys of
// object members, and values (a scalar, a colour or a terrain row).
class JsonSink {
public:
    virtual ~JsonSink() = default;
    virtual void beginObject() = 0;
    virtual void beginArray() = 0;
    virtual void end() = 0;
    virtual void key(const char* name) = 0;
    virtual void value(OrderedJson value) = 0;
};

void walkTrackJson(const ZvTrack& track, JsonSink& sink);
void writeTrackJson(const ZvTrack& track, std::ostream& out);

using NonFiniteNumberVisitor = std::function<void(const std::string& path, const std::string& name)>;
void forEachNonFiniteNumber(const ZvTrack& track, const NonFiniteNumberVisitor& visit);

std::string latin1ToUtf8(const std::string& bytes);
