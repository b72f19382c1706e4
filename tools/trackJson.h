// The JSON form of a track document, as `zvtrack dump` prints it.
//
//   trackToJson      every field of the document under the name the code uses,
//                    in field order. Floats keep their shortest decimal form and
//                    stay numbers even when not finite (see replaceNonFinite).
//                    Texts become Latin-1 strings: each byte is one code point,
//                    so any bytes survive. Only the settings block a segment's
//                    type stores is written; the terrain gives its used rows x
//                    columns only.
//   forEachNonFinite calls visit(path, value) for every NaN or infinite number,
//                    with a path such as "bezierArray[2].controlIn.y".
//   replaceNonFinite turns those numbers into the strings "nan", "inf", "-inf",
//                    which JSON can carry.
//   latin1ToUtf8     the Latin-1 reading of a byte string, as UTF-8.
#pragma once

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "zvtrack.h"

using OrderedJson = nlohmann::ordered_json;

OrderedJson trackToJson(const ZvTrack& track);

using NonFiniteVisitor = std::function<void(const std::string& path, OrderedJson& value)>;
void forEachNonFinite(OrderedJson& node, const NonFiniteVisitor& visit);
void replaceNonFinite(OrderedJson& node);

// "nan", "inf" or "-inf".
std::string nonFiniteName(double value);
std::string latin1ToUtf8(const std::string& bytes);
