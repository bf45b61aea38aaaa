#pragma once

#include <functional>

class QString;

// Prints the read time of layout files that make the section markup parser
// work hard, and of a large layout of editor pages, each with its outcome
// (read or refused), for those whose name ("layout " and the file's) wanted
// answers true for.
void benchLayoutFiles(const std::function<bool(const QString &)> &wanted);
