#include "trackJson.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "zvlayout.h"

namespace {

// A float as the JSON number with the fewest digits that reads back as the
// same float, so dumps show 0.1 rather than 0.10000000149011612.
OrderedJson number(float value) {
    if (!std::isfinite(value)) return static_cast<double>(value);
    char text[32];
    auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

int usedTerrainRows(const ZvTrack& track) { return std::clamp(track.terrainRows, 0, kTerrainMaxRows); }

// One row of the used part of the terrain grid.
OrderedJson terrainRow(const ZvTrack& track, int row) {
    const int columns = std::clamp(track.terrainColumns, 0, kTerrainMaxColumns);
    OrderedJson out = OrderedJson::array();
    for (int c = 0; c < columns; ++c) out.push_back(number(terrainHeight(&track, row, c)));
    return out;
}

// Walks the file layout and hands the sink every field under the name the
// layout gives it. The file stores a few values away from where the document
// declares them (a segment's typeDataLength after its other fields), and the
// dump keeps the document's order: the values met since the last group or
// list opened or closed are gathered, then shown in the order of their
// places in the record. A list's elements go straight to the sink, so a
// collection of any size passes through in pieces.
class JsonWalk {
public:
    explicit JsonWalk(JsonSink& sink) : sink_(sink) {}

    void byte(const char* name, const int8_t& value) { put(name, &value, value); }
    void boolean(const char* name, const int& value) { put(name, &value, value); }
    void integer(const char* name, const int& value) { put(name, &value, value); }
    void real(const char* name, const float& value) { put(name, &value, number(value)); }
    void color(const char* name, const Color& c) {
        put(name, &c, {{"alpha", c.alpha}, {"blue", c.blue}, {"green", c.green}, {"red", c.red}});
    }
    void text(const char* name, const std::string& bytes) { put(name, &bytes, latin1ToUtf8(bytes)); }
    void blob(const char* name, const std::vector<char>& data) {
        list(name, data, [this](const char& byte) {
            put(zvlayout::kElement, &byte, static_cast<unsigned char>(byte));
        });
    }
    void authorComments(const char* name, const ZvTrack& t) {
        put(name, &t.authorComments,
            t.authorComments ? OrderedJson(latin1ToUtf8(t.authorComments)) : OrderedJson(nullptr));
    }
    // The used part of the terrain grid, row by row.
    void terrainGrid(const char* name, const ZvTrack& t) {
        open(name, true);
        for (int r = 0; r < usedTerrainRows(t); ++r) put(zvlayout::kElement, nullptr, terrainRow(t, r));
        close();
    }

    // What the file has and the dump shows otherwise or not at all.
    void nulls(size_t) {}
    template <class T>
    void count(const std::vector<T>&, size_t, const char*) {}
    void checkTerrainSize(const ZvTrack&) {}

    template <class Fields>
    void object(const char* name, Fields fields) {
        open(name, false);
        fields();
        close();
    }
    template <class List, class Element>
    void list(const char* name, const List& items, Element element) {
        open(name, true);
        for (const auto& item : items) element(item);
        close();
    }
    template <class Layout, class Record>
    void records(const char* name, const std::vector<Record>& list, Layout, const char*) {
        zvlayout::objects(*this, name, list, [this](const Record& record) { Layout::fields(*this, record); });
    }

private:
    struct Value {
        const void* place;  // of the field in its record
        const char* name;
        OrderedJson json;
    };

    bool inArray() const { return !arrays_.empty() && arrays_.back(); }

    void put(const char* name, const void* place, OrderedJson json) {
        if (inArray()) {
            sink_.value(std::move(json));
        } else {
            gathered_.push_back({place, name, std::move(json)});
        }
    }

    // The values gathered in an object, in the order of their places.
    void show() {
        std::sort(gathered_.begin(), gathered_.end(), [](const Value& a, const Value& b) {
            return std::less<const void*>()(a.place, b.place);
        });
        for (Value& value : gathered_) {
            sink_.key(value.name);
            sink_.value(std::move(value.json));
        }
        gathered_.clear();
    }

    void open(const char* name, bool array) {
        show();
        if (!arrays_.empty() && !inArray()) sink_.key(name);
        if (array) {
            sink_.beginArray();
        } else {
            sink_.beginObject();
        }
        arrays_.push_back(array);
    }

    void close() {
        show();
        sink_.end();
        arrays_.pop_back();
    }

    JsonSink& sink_;
    std::vector<bool> arrays_;  // of the open containers, innermost last: an array, not an object
    std::vector<Value> gathered_;
};

// The chunks in the order the document declares their fields.
constexpr int kDocumentOrder[] = {kKeyZORV, kKeyTRCK, kKeyINFO, kKeyBEZR, kKeySEGM,
                                  kKeySUPP, kKeyFUND, kKeyRASC, kKeyFREN, kKeyTUBE,
                                  kKeyCATW, kKeySCEN, kKeySCOB, kKeyENVC, kKeyTERA};

// Every chunk's fields, and beside them what the loader keeps about two chunks
// that is no field of theirs: SCEN's nested count and whether TERA was there.
void documentFields(const ZvTrack& track, JsonWalk& io) {
    for (int key : kDocumentOrder) {
        if (key == kKeySCEN) io.integer("scenTrailer", track.scenTrailer);
        if (key == kKeyTERA) io.integer("hasTerrain", track.hasTerrain);
        zvlayout::body(key, io, track);
    }
}

using NonFiniteVisitor = std::function<void(const std::string& path, OrderedJson& value)>;

void walkNonFinite(OrderedJson& node, const std::string& path, const NonFiniteVisitor& visit) {
    if (node.is_object()) {
        for (auto& item : node.items())
            walkNonFinite(item.value(), path.empty() ? item.key() : path + "." + item.key(), visit);
    } else if (node.is_array()) {
        for (size_t i = 0; i < node.size(); ++i)
            walkNonFinite(node[i], path + "[" + std::to_string(i) + "]", visit);
    } else if (node.is_number_float() && !std::isfinite(node.get<double>())) {
        visit(path, node);
    }
}

// "nan", "inf" or "-inf".
std::string nonFiniteName(double value) {
    if (std::isnan(value)) return "nan";
    return value < 0 ? "-inf" : "inf";
}

// The dump's text, exactly as the JSON library prints a whole document with
// an indent of 2: each piece is printed by the library and indented to its
// depth, and the framing between pieces is the library's.
class JsonTextWriter : public JsonSink {
public:
    explicit JsonTextWriter(std::ostream& out) : out_(out) {}

    void beginObject() override { open('{'); }
    void beginArray() override { open('['); }
    void end() override {
        const Frame frame = frames_.back();
        frames_.pop_back();
        if (frame.members > 0) out_ << '\n' << indent();
        out_ << frame.close;
        if (frames_.empty()) out_ << '\n';
    }
    void key(const char* name) override {
        nextMember();
        out_ << OrderedJson(name).dump() << ": ";
    }
    void value(OrderedJson value) override {
        if (inArray()) nextMember();
        walkNonFinite(value, "", [](const std::string&, OrderedJson& number) {
            number = nonFiniteName(number.get<double>());
        });
        std::string text = value.dump(kIndent, ' ', false, OrderedJson::error_handler_t::replace);
        // JSON strings hold no raw line breaks, so every one is the layout's.
        const std::string lineStart = "\n" + indent();
        for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
            text.replace(at, 1, lineStart);
            at += lineStart.size() - 1;
        }
        out_ << text;
    }

private:
    static constexpr int kIndent = 2;
    struct Frame {
        char close;
        bool array;
        size_t members;
    };

    bool inArray() const { return !frames_.empty() && frames_.back().array; }
    std::string indent() const { return std::string(kIndent * frames_.size(), ' '); }
    void nextMember() {
        out_ << (frames_.back().members++ > 0 ? ",\n" : "\n") << indent();
    }
    void open(char bracket) {
        if (inArray()) nextMember();
        out_ << bracket;
        frames_.push_back({bracket == '{' ? '}' : ']', bracket == '[', 0});
    }

    std::ostream& out_;
    std::vector<Frame> frames_;
};

// Follows the path of each piece and looks into it for non-finite numbers.
class NonFiniteFinder : public JsonSink {
public:
    explicit NonFiniteFinder(const NonFiniteNumberVisitor& visit) : visit_(visit) {}

    void beginObject() override { frames_.push_back({nextPath(), false, 0, ""}); }
    void beginArray() override { frames_.push_back({nextPath(), true, 0, ""}); }
    void end() override { frames_.pop_back(); }
    void key(const char* name) override { frames_.back().key = name; }
    void value(OrderedJson value) override {
        walkNonFinite(value, nextPath(), [this](const std::string& path, OrderedJson& number) {
            visit_(path, nonFiniteName(number.get<double>()));
        });
    }

private:
    struct Frame {
        std::string path;
        bool array;
        size_t index;
        std::string key;
    };

    // The path of the piece that comes next.
    std::string nextPath() {
        if (frames_.empty()) return "";
        Frame& frame = frames_.back();
        if (frame.array) return frame.path + "[" + std::to_string(frame.index++) + "]";
        return frame.path.empty() ? frame.key : frame.path + "." + frame.key;
    }

    const NonFiniteNumberVisitor& visit_;
    std::vector<Frame> frames_;
};

}  // namespace

void walkTrackJson(const ZvTrack& track, JsonSink& sink) {
    JsonWalk io(sink);
    io.object(zvlayout::kElement, [&] { documentFields(track, io); });
}

void writeTrackJson(const ZvTrack& track, std::ostream& out) {
    JsonTextWriter writer(out);
    walkTrackJson(track, writer);
}

void forEachNonFiniteNumber(const ZvTrack& track, const NonFiniteNumberVisitor& visit) {
    NonFiniteFinder finder(visit);
    walkTrackJson(track, finder);
}

std::string latin1ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        auto code = static_cast<unsigned char>(c);
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}
