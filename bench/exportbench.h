#pragma once

#include <functional>

class QString;

// Prints what exporting the Graphic Chart as PNG costs, for the shipped
// templates, the golden one of the tests and a one-page A4 template with a
// 2480 x 3508 photo background: the full-resolution render, the write the
// program does and the file it makes, next to the write of the same image
// as the program wrote it before (four channels at the encoder's default
// compression). Then, for the photo page and one shipped chart, time and
// size of the PNG at a few compression levels. Figures whose name
// ("chart png " and the template's) wanted answers true for.
void benchChartExport(const std::function<bool(const QString &)> &wanted);

// Writes the photo-background template of benchChartExport into folder as
// "photo background.lnr", for comparing renders of builds.
QString writePhotoTemplate(const QString &folder);
