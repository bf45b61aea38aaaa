// Draws the interface's skin pictures into the images folder given as the only
// argument. Run at build time; exits non-zero when a picture cannot be written.

#include "skinpictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: lumaro_skingen <images folder>\n";
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "cannot create " << folder.path() << "\n";
        return 1;
    }
    int failures = 0;
    for (const SkinPicture &picture : skinPictures()) {
        const QString path = folder.filePath(picture.fileName);
        if (!renderSkinPicture(picture).save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
