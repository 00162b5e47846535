#pragma once

#include "cli/FramePlan.h"
#include "imageops/RowShifting.h"

#include <QString>

// One image of a series, from its file to its corrected file: what LOAD,
// CORRECT and SAVE do in the window, with the output format of the plan and,
// with keepDepth, 16-bit grey samples kept at their full depth. Safe to run
// for different plans on different threads at once.
//
// Returns an empty string on success, else the reason, naming the file.
QString correctFrameFile(const FramePlan& plan, RowShiftTable shifts, bool keepDepth);
