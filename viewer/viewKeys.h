// The keys and mouse actions of the view, one line each, as the help in the
// window (F1) and `strutwright --help` list them. Plain text without GL, so
// the program reads it without loading the viewer.
#pragma once

inline constexpr const char* kViewKeyLines[] = {
    "  w / s          forward / back 0.5",
    "  a / d          turn left / right 5 degrees",
    "  x / y          look up / down 5 degrees",
    "  q / e          move right / left 0.5, level",
    "  r / f          move up / down 0.3",
    "  Left / Right   turn left / right 5 degrees",
    "  Up / Down      forward / back by a tenth of the distance",
    "  PgUp / PgDn    up / down by a tenth of the distance",
    "  wheel          forward / back by a tenth of the distance",
    "                 (from the eye to the track, at least 0.5)",
    "  left drag      turn the view",
    "  right drag     pan the view (middle drag too)",
    "  Shift          arrows, pages and mouse ten times faster",
    "  Home           frame the whole track",
    "  F1             show or hide the help",
    "  F2             flat / solid view",
    "  Escape         quit",
};
