#pragma once

#include <functional>

class QString;

// Prints the read time of layout files that make the section markup parser
// work hard, and of a large layout of editor pages, each with its outcome
// (read or refused), for those whose name ("layout " and the file's) wanted
// answers true for.
void benchLayoutFiles(const std::function<bool(const QString &)> &wanted);

// Prints what the pictures of layouts cost: the lists of layouts filled at
// start-up from ten shared files, a reading of four photos built, shown and
// exported, and a layout of three 4096 x 4096 pictures read; each with its
// outcome and the growth of the process's peak memory.
void benchLayoutPictures(const std::function<bool(const QString &)> &wanted);

// Prints the time startUp (the main window made and closed) takes with the
// user folder free of layouts, then with ten shared layouts of three plain
// 4096 x 4096 pictures and ten of 40 plain photos of 460 x 460 in it.
void benchStartupWithLayouts(const std::function<bool(const QString &)> &wanted,
                             const std::function<void()> &startUp);
// Prints the read time of large layouts (long styles over many line breaks,
// many sections, long titles and texts, a numerologist's layout) with their
// outcome, and for those read, the time to build their Numerology reading
// and its size.
void benchLayoutSizes(const std::function<bool(const QString &)> &wanted);
// Prints, for the section texts that ask the view, the PDF and the section
// editor for the most work (tests/app/hostilelayouts.h), the times to read
// the layout, build a reading, save and print it and open the editor, or
// that it was refused.
void benchLayoutWork(const std::function<bool(const QString &)> &wanted);
// Prints the section markup filter's time on an essay of the editor's and on
// the costliest texts within the filter's bounds, and the time from a key
// typed into the section editor on a 30-page essay to the text stored.
void benchSectionTexts(const std::function<bool(const QString &)> &wanted);
