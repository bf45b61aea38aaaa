#pragma once

#include <functional>

class QString;

// Prints what the trial of a shared file costs: each shipped template and a
// numerologist's layout with photos tried for the first time (the wall time,
// the outcome and the step that took the most CPU) and again from the kept
// verdict, then each hostile template and layout of tests/app/sharedfiles.h
// (refused, and how long after its limit), for those whose name ("trial "
// and the file's) wanted answers true for.
void benchTrials(const std::function<bool(const QString &)> &wanted);
