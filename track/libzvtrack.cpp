// The stream primitives: one value of one kind between a byte stream and memory.
#include "libzvtrack.h"

#include <sys/stat.h>

#include <cstring>

#include "zvbytes.h"

namespace {

constexpr int kKeyLetters = 4;

// Key letters in the order the reader compares them; index = key code - 1.
constexpr const char* kKeyNames[] = {
    "ZORV", "TRCK", "INFO", "BEZR", "SEGM", "SUPP", "FUND", "RASC",
    "FREN", "TUBE", "CATW", "SCEN", "SCOB", "TERA", "ENVC",
};
constexpr int kKeyCount = sizeof(kKeyNames) / sizeof(kKeyNames[0]);

// Copies `count` bytes from the stream into `out`; missing bytes become zero
// and mark the stream as past its end.
void takeBytes(ZvInStream* stream, void* out, size_t count) {
    size_t left = stream->pos < stream->size ? stream->size - stream->pos : 0;
    size_t available = count < left ? count : left;
    if (available > 0) std::memcpy(out, stream->bytes + stream->pos, available);
    if (available < count) {
        std::memset(static_cast<unsigned char*>(out) + available, 0, count - available);
        stream->pastEnd = true;
    }
    stream->pos = available < count ? stream->size : stream->pos + count;
}

void putBytes(FILE* stream, const void* bytes, size_t count) {
    if (count > 0) fwrite(bytes, 1, count, stream);
}

}  // namespace

const char* keyName(int key) {
    return key >= kKeyZORV && key <= kKeyCount ? kKeyNames[key - 1] : nullptr;
}

void swap(char* a, char* b) {
    char held = *a;
    *a = *b;
    *b = held;
}

void SwapEndianInt(int* value) {
    char* bytes = reinterpret_cast<char*>(value);
    swap(&bytes[0], &bytes[3]);
    swap(&bytes[1], &bytes[2]);
}

void SwapEndianFloat(float* value) {
    char* bytes = reinterpret_cast<char*>(value);
    swap(&bytes[0], &bytes[3]);
    swap(&bytes[1], &bytes[2]);
}

int byteInt(const unsigned char* bytes, int mode) {
    if (mode == 1) return zvbytes::decodeInt(bytes);
    const unsigned char reversed[4] = {bytes[3], bytes[2], bytes[1], bytes[0]};
    return zvbytes::decodeInt(reversed);
}

float byteFloat(ZvInStream* stream, int mode) {
    float value = 0.0f;
    takeBytes(stream, &value, sizeof value);
    if (mode == 1) SwapEndianFloat(&value);
    return value;
}

int filelength(int fd) {
    struct stat status;
    if (fstat(fd, &status) != 0) return -1;
    return static_cast<int>(status.st_size);
}

std::vector<char> ReadBytes(ZvInStream* stream, unsigned count) {
    std::vector<char> bytes(count);
    takeBytes(stream, bytes.data(), count);
    return bytes;
}

int8_t ReadByte(ZvInStream* stream) {
    int8_t value = 0;
    takeBytes(stream, &value, 1);
    return value;
}

int ReadBool(ZvInStream* stream) {
    return static_cast<uint8_t>(ReadByte(stream)) == zvbytes::kTrueByte ? 1 : 0;
}

int ReadKey(ZvInStream* stream) {
    char letters[kKeyLetters];
    takeBytes(stream, letters, kKeyLetters);
    for (int code = 0; code < kKeyCount; ++code) {
        if (std::memcmp(letters, kKeyNames[code], kKeyLetters) == 0) return code + 1;
    }
    return kKeyUnknown;
}

int ReadInt(ZvInStream* stream) {
    unsigned char bytes[4];
    takeBytes(stream, bytes, sizeof bytes);
    return zvbytes::decodeInt(bytes);
}

float ReadFloat(ZvInStream* stream) {
    unsigned char bytes[4];
    takeBytes(stream, bytes, sizeof bytes);
    return zvbytes::decodeFloat(bytes);
}

void ReadNull(ZvInStream* stream, unsigned count) {
    size_t left = stream->pos < stream->size ? stream->size - stream->pos : 0;
    if (count > left) stream->pastEnd = true;
    stream->pos += count > left ? left : count;
}

std::string ReadString(ZvInStream* stream, unsigned length) {
    std::string text(length, '\0');
    takeBytes(stream, text.data(), length);
    return text;
}

Color ReadColor(ZvInStream* stream) {
    int8_t octets[4];
    takeBytes(stream, octets, sizeof octets);
    Color color;
    color.alpha = octets[0];
    color.blue = octets[1];
    color.green = octets[2];
    color.red = octets[3];
    return color;
}

void WriteBytes(FILE* stream, const char* bytes, size_t count) {
    putBytes(stream, bytes, count);
}

void WriteByte(FILE* stream, int8_t value) {
    putBytes(stream, &value, 1);
}

void WriteBool(FILE* stream, int value) {
    unsigned char octet = zvbytes::encodeBool(value);
    putBytes(stream, &octet, 1);
}

void WriteKey(FILE* stream, int key) {
    const char* letters = keyName(key);
    if (letters) putBytes(stream, letters, kKeyLetters);
}

void WriteInt(FILE* stream, int value) {
    unsigned char bytes[4];
    zvbytes::encodeInt(value, bytes);
    putBytes(stream, bytes, sizeof bytes);
}

void WriteFloat(FILE* stream, float value) {
    unsigned char bytes[4];
    zvbytes::encodeFloat(value, bytes);
    putBytes(stream, bytes, sizeof bytes);
}

void WriteNull(FILE* stream, size_t count) {
    static const char kZeros[256] = {};
    while (count > 0) {
        size_t part = count < sizeof kZeros ? count : sizeof kZeros;
        putBytes(stream, kZeros, part);
        count -= part;
    }
}

void WriteString(FILE* stream, const char* text) {
    WriteString(stream, std::string(text ? text : ""));
}

void WriteString(FILE* stream, const std::string& text) {
    WriteInt(stream, static_cast<int>(text.size()));
    putBytes(stream, text.data(), text.size());
}

void WriteColor(FILE* stream, Color color) {
    unsigned char octets[4];
    zvbytes::encodeColor(color, octets);
    putBytes(stream, octets, sizeof octets);
}
