// The whole track library in one include.
#pragma once
#include "bezr.h"
#include "calc.h"
#include "fren.h"
#include "fund.h"
#include "info.h"
#include "libzvtrack.h"
#include "rasc.h"
#include "segm.h"
#include "std.h"
#include "tube.h"
#include "zorv.h"
#include "zvtrack.h"
