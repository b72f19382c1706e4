// Reading and writing .zvtrack files.
//
// Every number in the file is big-endian. Reading works on a ZvInStream, a
// cursor over bytes held in memory (the loader reads a file in large blocks
// first); a read past the end yields zero bytes for what is missing and sets
// `pastEnd`, so the loader can refuse a truncated file. Writing goes to a
// stdio stream; write errors are left for the caller to find with ferror.
//
// A track file is at most kZvMaxFileSize bytes: its counts and length words
// are 32-bit, so no larger file can be described by them.
//
//   ZvOpen  loads a file into a document: 1 on success, 0 on failure. On
//           failure the document is left exactly as it was and the report
//           says which chunk failed at which byte offset, after "not a track
//           file" when the file does not begin with "ZORV". Fields whose chunk the file lacks keep their previous
//           values. Refused before anything is read: a path that is not a
//           regular file (it is opened without waiting, so a FIFO cannot hang
//           the load) and a file larger than kZvMaxFileSize. A damaged file
//           (fields cut off by the end, nested counts of RASC and SCEN
//           included; a negative count or length, one larger than the bytes
//           left, a terrain larger than the grid) fails; up to 3 stray bytes
//           after the last chunk load with a warning.
//   ZvSave  writes a document by the link policy of writeFileSafely (the
//           platform library): a temporary file in the target's folder
//           renamed over the target once complete, so a failed save leaves
//           nothing behind and never damages an existing file; a symbolic
//           link at the target is replaced, never followed; a target that is
//           not a regular file or is write-protected is refused. 1 on success.
//   ZvWrite, ZvSaveMemory and ZvSave refuse a document whose file would be
//   larger than kZvMaxFileSize (ZvFileSize) before writing anything.
//   Messages of ZvOpen and ZvSave begin with the path; ZvOpenMemory's do not.

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zvtrack.h"

// Chunk keys; 0 means four bytes that are no known key.
enum ZvKey : int {
    kKeyUnknown = 0,
    kKeyZORV = 1, kKeyTRCK, kKeyINFO, kKeyBEZR, kKeySEGM, kKeySUPP, kKeyFUND, kKeyRASC,
    kKeyFREN, kKeyTUBE, kKeyCATW, kKeySCEN, kKeySCOB, kKeyTERA, kKeyENVC,
};

// The four letters of a key code 1..15, or nullptr.
const char* keyName(int key);

struct ZvInStream {
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    size_t pos = 0;
    bool pastEnd = false;  // set once a read wanted bytes beyond `size`
};

// Byte-level helpers.
void swap(char* a, char* b);
void SwapEndianInt(int* value);
void SwapEndianFloat(float* value);
int byteInt(const unsigned char* bytes, int mode);  // mode 0 little-endian, 1 big-endian
float byteFloat(ZvInStream* stream, int mode);      // mode 0 as stored, 1 byte-reversed
int filelength(int fd);                              // size of the open file, -1 on error

// Reading. Bytes past the end read as zero and set stream->pastEnd.
std::vector<char> ReadBytes(ZvInStream* stream, unsigned count);  // count bytes
int8_t ReadByte(ZvInStream* stream);
int ReadBool(ZvInStream* stream);                      // 1 only for 0xFF
int ReadKey(ZvInStream* stream);                       // ZvKey
int ReadInt(ZvInStream* stream);
float ReadFloat(ZvInStream* stream);
void ReadNull(ZvInStream* stream, unsigned count);
std::string ReadString(ZvInStream* stream, unsigned length);  // the bytes only; caller read the length
Color ReadColor(ZvInStream* stream);

// Writing.
void WriteBytes(FILE* stream, const char* bytes, size_t count);
void WriteByte(FILE* stream, int8_t value);
void WriteBool(FILE* stream, int value);                // 0xFF only for exactly 1
void WriteKey(FILE* stream, int key);                   // nothing for a code outside 1..15
void WriteInt(FILE* stream, int value);
void WriteFloat(FILE* stream, float value);
void WriteNull(FILE* stream, size_t count);
void WriteString(FILE* stream, const char* text);       // Int strlen, then the bytes
void WriteString(FILE* stream, const std::string& text);  // Int size, then the bytes
void WriteColor(FILE* stream, Color color);

// What a load found: on failure `error` names the chunk and byte offset.
struct ZvLoadReport {
    std::string error;
    std::string warning;  // stray bytes after the last chunk; the load still succeeded
    int chunksRead = 0;  // known chunks read; 0 means no track data at all
};

// The largest track file: what a 32-bit signed count or length word can describe.
constexpr uint64_t kZvMaxFileSize = 2147483647;

int ZvOpen(const char* path, ZvTrack* track, ZvLoadReport* report = nullptr);
int ZvOpenMemory(const unsigned char* bytes, size_t size, ZvTrack* track,
                 ZvLoadReport* report = nullptr);

// The number of bytes ZvWrite would write for the document.
uint64_t ZvFileSize(const ZvTrack* track);
// Writes every chunk in the saver's order to an open stream. Returns 1 when
// no write failed (ferror is clear).
int ZvWrite(FILE* stream, const ZvTrack* track);
int ZvSave(const char* path, ZvTrack* track, std::string* error = nullptr);
// The bytes ZvSave would write, in memory: 1 on success.
int ZvSaveMemory(const ZvTrack* track, std::vector<unsigned char>* bytes);
