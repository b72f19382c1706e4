// Opens the 3D view of a document through the viewer module, loaded only now.
//
//   showTrack  loads the module (beside the executable, or in the installed
//              lib/strutwright/ folder) and runs it; kViewFailed with a
//              message on stderr when the module cannot be loaded. The module
//              stays loaded until exit: the toolkit may run exit handlers.
#pragma once

#include "viewer.h"

int showTrack(const ViewRequest& request, ZvTrack* track);
