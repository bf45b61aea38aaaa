#pragma once

#include <functional>

#include <QtGlobal>

class QString;

// Kilobytes of the process's resident high-water mark (Linux resets it
// when "5" is written to /proc/self/clear_refs).
qint64 highWaterKb();

// Measures one template file in this process and prints one line; run by
// benchTemplates() as a child process per template.
int templateBenchChild(const QString &path);

// Writes the renders of the shipped and golden templates and of the photo
// background one (exportbench.h) at Graphic Chart and export size into
// folder as PNG files, to compare builds pixel by pixel.
int writeTemplateRenders(const QString &folder);

// Prints load, Graphic Chart and export figures and the peak memory of the
// shipped templates and of the heavy ones the tests build, those whose
// name ("template " and the template's) wanted answers true for.
void benchTemplates(const std::function<bool(const QString &)> &wanted);
