// The viewer's quit request: ends the window toolkit's main loop from inside a
// callback and keeps the exit status the program should end with.
//
//   postQuitMessage  asks the main loop to return after the current callback
//                    and records exitCode (the last request wins).
//   quitExitCode     the recorded code; 0 when no quit was requested (the
//                    window was closed).
//   quitRequested    whether a quit was posted: the callbacks then leave
//                    whatever events are still queued alone.
#pragma once

void postQuitMessage(int exitCode);
int quitExitCode();
bool quitRequested();
