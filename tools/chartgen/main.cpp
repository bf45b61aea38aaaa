// Writes the shipped chart templates into a folder:
//   <folder>/Numerology Chart.lnr, Psycho Matrix.lnr, ... (see chartdesigns.cpp)
// Usage: lumaro_chartgen <templates folder>
// Exits non-zero when the folder cannot be made or a template not written.

#include "chartdesigns.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: lumaro_chartgen <templates folder>\n";
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "cannot create " << folder.path() << "\n";
        return 1;
    }
    int failures = 0;
    for (const ChartDesign &design : chartDesigns()) {
        QString error;
        if (!design.write(folder.filePath(design.fileName), &error)) {
            err << "cannot write " << design.fileName << ": " << error << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
