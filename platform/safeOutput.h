// How the programs put their results into files and onto standard output, so
// that a failure or an interruption never harms a file and never passes for
// success.
//
//   writeFileSafely     the one way every output file is written (track files,
//                       screenshots). `write` fills a new file created under a
//                       short hidden name in the output's folder (".strutwright-"
//                       and six random characters, created exclusively, so no
//                       existing file is ever opened); only when it succeeded
//                       and the file closed cleanly is the new file renamed
//                       over `path`. So:
//                       - a failed or interrupted write leaves no partial file,
//                         and an existing output keeps its old contents;
//                       - a symbolic link at `path` is replaced by the new file:
//                         the file it points to is never written;
//                       - an existing `path` that is not a regular file (a
//                         folder, a FIFO, a device), or whose mode has no write
//                         bit for its owner, is refused;
//                       - an existing regular file's permission bits carry over
//                         to the new one; otherwise it gets 0666 less the umask;
//                       - SIGINT, SIGTERM and SIGHUP while the file is written
//                         remove the temporary file, then end the process as the
//                         signal would have (a signal the process ignores stays
//                         ignored).
//                       Nothing is synced to the disk: the rename protects
//                       against failures of the program, not of the machine.
//                       Returns "" or the problem, without the path.
//   closeStandardOutput flushes and closes standard output; "" when everything
//                       written to it arrived, else the problem. A program calls
//                       it last, so a full disk or a closed pipe is not success.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes the whole file to `stream`; returns "" or the problem.
using FileWriter = std::function<std::string(FILE* stream)>;

std::string writeFileSafely(const std::string& path, const FileWriter& write);
std::string closeStandardOutput();
