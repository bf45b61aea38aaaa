#pragma once

#include <functional>

class QString;

// Prints the read time of layout files that make the section markup parser
// work hard, and of a large layout of editor pages, each with its outcome
// (read or refused), for those whose name ("layout " and the file's) wanted
// answers true for.
void benchLayoutFiles(const std::function<bool(const QString &)> &wanted);

// Prints the read time of layouts of the sizes that a reading or a layout
// file is bounded by (long styles over many line breaks, many sections, long
// titles and texts, a numerologist's layout) with their outcome, and for
// those read, the time to build their Numerology reading and its size.
void benchLayoutSizes(const std::function<bool(const QString &)> &wanted);
