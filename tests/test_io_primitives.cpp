// The encoding of single values: byte order, flags, colours, keys, strings and
// reads past the end of the bytes.
#include <gtest/gtest.h>

#include "track_fixtures.h"

using fixture::Bytes;
using fixture::captureWrites;

namespace {

ZvInStream streamOver(const Bytes& bytes) {
    ZvInStream stream;
    stream.bytes = bytes.data();
    stream.size = bytes.size();
    return stream;
}

TEST(StreamPrimitives, IntsAreBigEndianTwosComplement) {
    EXPECT_EQ(captureWrites([](FILE* s) { WriteInt(s, 32768); }), (Bytes{0x00, 0x00, 0x80, 0x00}));
    EXPECT_EQ(captureWrites([](FILE* s) { WriteInt(s, -2); }), (Bytes{0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(captureWrites([](FILE* s) { WriteInt(s, -1); }), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));

    Bytes file = {0x00, 0x00, 0x80, 0x00, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    ZvInStream in = streamOver(file);
    EXPECT_EQ(ReadInt(&in), 32768);
    EXPECT_EQ(ReadInt(&in), -2);
    EXPECT_EQ(ReadInt(&in), -1);
    EXPECT_FALSE(in.pastEnd);

    const unsigned char word[4] = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(byteInt(word, 1), 0x01020304);
    EXPECT_EQ(byteInt(word, 0), 0x04030201);
}

TEST(StreamPrimitives, FloatsAreBigEndianSingles) {
    EXPECT_EQ(captureWrites([](FILE* s) { WriteFloat(s, 1.0f); }), (Bytes{0x3F, 0x80, 0x00, 0x00}));
    Bytes file = {0xC0, 0x20, 0x00, 0x00, 0x3F, 0x80, 0x00, 0x00};
    ZvInStream in = streamOver(file);
    EXPECT_EQ(ReadFloat(&in), -2.5f);
    EXPECT_EQ(byteFloat(&in, 1), 1.0f);
}

TEST(StreamPrimitives, OnlyFFIsTrueAndOnlyOneWritesIt) {
    Bytes file = {0xFF, 0x01, 0x00, 0x80};
    ZvInStream in = streamOver(file);
    EXPECT_EQ(ReadBool(&in), 1);
    EXPECT_EQ(ReadBool(&in), 0);
    EXPECT_EQ(ReadBool(&in), 0);
    EXPECT_EQ(ReadBool(&in), 0);
    Bytes written = captureWrites([](FILE* s) {
        for (int value : {1, 0, 2, -1, 255}) WriteBool(s, value);
    });
    EXPECT_EQ(written, (Bytes{0xFF, 0x00, 0x00, 0x00, 0x00}));
}

TEST(StreamPrimitives, ColoursAreAlphaBlueGreenRedSignedOctets) {
    Bytes file = {0xC8, 0x01, 0x7F, 0xFF};
    ZvInStream in = streamOver(file);
    Color color = ReadColor(&in);
    EXPECT_EQ(color.alpha, -56);
    EXPECT_EQ(color.blue, 1);
    EXPECT_EQ(color.green, 127);
    EXPECT_EQ(color.red, -1);
    EXPECT_EQ(captureWrites([&](FILE* s) { WriteColor(s, color); }), file);

    // createColorARGB takes alpha, red, green, blue; 255 and -1 write the same octet.
    Bytes white = captureWrites([](FILE* s) { WriteColor(s, createColorARGB(255, 3, 2, 1)); });
    EXPECT_EQ(white, (Bytes{0xFF, 0x01, 0x02, 0x03}));
}

TEST(StreamPrimitives, KeysAreTheFifteenChunkNamesOnly) {
    const char* names = "ZORVTRCKINFOBEZRSEGMSUPPFUNDRASCFRENTUBECATWSCENSCOBTERAENVC";
    Bytes file(names, names + 60);
    ZvInStream in = streamOver(file);
    for (int code = kKeyZORV; code <= kKeyENVC; ++code) EXPECT_EQ(ReadKey(&in), code);

    for (const char* other : {"CSTM", "vrtx", "zorv", "ZORW", "ZOR\0"}) {
        Bytes group(other, other + 4);
        ZvInStream unknown = streamOver(group);
        EXPECT_EQ(ReadKey(&unknown), kKeyUnknown) << other;
        EXPECT_EQ(unknown.pos, 4u);
    }

    EXPECT_EQ(captureWrites([](FILE* s) { WriteKey(s, kKeyENVC); }), (Bytes{'E', 'N', 'V', 'C'}));
    for (int outside : {0, 16, -1}) {
        EXPECT_TRUE(captureWrites([&](FILE* s) { WriteKey(s, outside); }).empty()) << outside;
    }
}

TEST(StreamPrimitives, StringsAreALengthThenTheBytes) {
    EXPECT_EQ(captureWrites([](FILE* s) { WriteString(s, ""); }), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(captureWrites([](FILE* s) { WriteString(s, static_cast<const char*>(nullptr)); }),
              (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(captureWrites([](FILE* s) { WriteString(s, "abc"); }),
              (Bytes{0, 0, 0, 3, 'a', 'b', 'c'}));
    EXPECT_EQ(captureWrites([](FILE* s) { WriteString(s, std::string("a\0b", 3)); }),
              (Bytes{0, 0, 0, 3, 'a', 0, 'b'}));

    Bytes file = {'x', 'y', 0, 'z'};
    ZvInStream in = streamOver(file);
    EXPECT_EQ(ReadString(&in, 0), "");
    EXPECT_EQ(in.pos, 0u);
    EXPECT_EQ(ReadString(&in, 4), std::string("xy\0z", 4));
}

TEST(StreamPrimitives, NullRunsAndRawBytes) {
    EXPECT_TRUE(captureWrites([](FILE* s) { WriteNull(s, 0); }).empty());
    EXPECT_EQ(captureWrites([](FILE* s) { WriteNull(s, 300); }), Bytes(300, 0));
    EXPECT_EQ(captureWrites([](FILE* s) { WriteBytes(s, "vrtx", 4); }), (Bytes{'v', 'r', 't', 'x'}));
    EXPECT_EQ(captureWrites([](FILE* s) { WriteByte(s, -56); }), (Bytes{0xC8}));
}

TEST(StreamPrimitives, ReadsPastTheEndGiveZerosAndSaySo) {
    Bytes file = {0xAB, 0xCD, 0x01};
    ZvInStream in = streamOver(file);
    EXPECT_EQ(ReadByte(&in), static_cast<int8_t>(0xAB));
    EXPECT_FALSE(in.pastEnd);
    EXPECT_EQ(ReadInt(&in), static_cast<int>(0xCD010000));
    EXPECT_TRUE(in.pastEnd);
    EXPECT_EQ(in.pos, in.size);
    EXPECT_EQ(ReadInt(&in), 0);
    EXPECT_EQ(ReadBytes(&in, 3), std::vector<char>(3, 0));

    ZvInStream skip = streamOver(file);
    ReadNull(&skip, 3);
    EXPECT_FALSE(skip.pastEnd);
    ReadNull(&skip, 1);
    EXPECT_TRUE(skip.pastEnd);
    EXPECT_EQ(skip.pos, skip.size);
}

}  // namespace
