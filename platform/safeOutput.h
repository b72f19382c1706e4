// How the programs put their results into files and onto standard output, so
// that a failure or an interruption never harms a file and never passes for
// success.
//
//   writeFileSafely     the one way every output file is written (track files,
//                       screenshots). `write` fills a new file created without
//                       a name in the output's folder, where the file system
//                       offers that (elsewhere under its temporary name from the
//                       start); only when it succeeded is the file given a short
//                       hidden name (".strutwright-" and six random characters,
//                       never an existing file's), closed, and renamed over
//                       `path`. So:
//                       - a failed or interrupted write leaves no partial file,
//                         and an existing output keeps its old contents; even a
//                         SIGKILL leaves nothing, except in the moment between
//                         naming and renaming a complete file;
//                       - a symbolic link at `path` is replaced by the new file,
//                         and the file it points to never written, when the
//                         link leads, through every link, to a regular file or
//                         to nothing and never into /dev or /proc (systemTree);
//                         any other link is refused as not a regular file:
//                         /dev/stdout stays the system's link;
//                       - an existing `path` that is not a regular file (a
//                         folder, a FIFO, a device), or whose mode has no write
//                         bit for its owner, is refused;
//                       - an existing regular file's permission bits carry over
//                         to the new one; otherwise it gets 0666 less the umask;
//                       - SIGINT, SIGTERM and SIGHUP while the file is written
//                         remove any temporary name, then end the process as the
//                         signal would have (a signal the process ignores stays
//                         ignored).
//                       Nothing is synced to the disk: the rename protects
//                       against failures of the program, not of the machine.
//                       Returns "" or the problem, without the path.
//   targetProblem       "" when writeFileSafely may put a file at `path`, else
//                       the problem it would return, found without writing.
//   flushStandardOutput flushes standard output now (before a window opens);
//                       a failure is told by closeStandardOutput.
//   closeStandardOutput flushes and closes standard output; "" when everything
//                       written to it arrived, else the problem, with the
//                       reason of the first flush that failed. A program calls
//                       it last, so a full disk or a closed pipe is not success.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes the whole file to `stream`; returns "" or the problem.
using FileWriter = std::function<std::string(FILE* stream)>;

std::string writeFileSafely(const std::string& path, const FileWriter& write);
std::string targetProblem(const std::string& path);
void flushStandardOutput();
std::string closeStandardOutput();
