#pragma once

#include <functional>

class QString;

// Prints the read time of layout files that make the section markup parser
// work hard, and of a large layout of editor pages, each with its outcome
// (read or refused), for those whose name ("layout " and the file's) wanted
// answers true for.
void benchLayoutFiles(const std::function<bool(const QString &)> &wanted);

// Prints, for the section texts that ask the view, the PDF and the section
// editor for the most work (tests/app/hostilelayouts.h), the times to read
// the layout, build a reading, save and print it and open the editor, or
// that it was refused.
void benchLayoutWork(const std::function<bool(const QString &)> &wanted);
