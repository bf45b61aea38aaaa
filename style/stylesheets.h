#pragma once

#include <QString>

// The hand-written "Chocolate" scheme. folder is the images folder, ending
// with a path separator; the sheets refer to pictures as url(folder + "/x.png").
namespace StyleSheets {

// Sheet index of the Chocolate scheme, 0 to 13. Sheet 7 belongs to no scheme
// and is empty here; see progressBarSheet().
QString chocolateSheet(int index, const QString &folder);

// Sheet 7 of every scheme: the progress bars, never re-tinted.
QString progressBarSheet();

} // namespace StyleSheets
