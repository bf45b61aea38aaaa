// lumaro_dbcrypt -o <out.dat> [<source.txt>...]
// Enciphers the readings database sources, in the order given, into one file.

#include "engine/readingsdb.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    QString outPath;
    QStringList sources;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o") && i + 1 < args.size())
            outPath = args[++i];
        else
            sources << args[i];
    }
    // No sources gives an empty database: the program then runs with empty texts.
    if (outPath.isEmpty()) {
        err << "usage: lumaro_dbcrypt -o <out.dat> [<source.txt>...]\n";
        return 2;
    }

    QByteArray database;
    for (const QString &path : qAsConst(sources)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err << path << ": " << file.errorString() << "\n";
            return 1;
        }
        QString error;
        if (!encipherReadingsSource(QString::fromUtf8(file.readAll()), &database, &error)) {
            err << path << ":" << error << "\n";
            return 1;
        }
    }

    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(database) != database.size()
        || !out.commit()) {
        err << outPath << ": " << out.errorString() << "\n";
        return 1;
    }
    return 0;
}
