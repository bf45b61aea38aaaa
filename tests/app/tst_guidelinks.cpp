#include "engine/apppaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QtTest>

// The guide as the build lays it out: every page, picture and anchor that a
// page refers to must be there, so that no link of the Guide page or the
// start page ends on an error page or a broken picture.
class TestGuideLinks : public QObject
{
    Q_OBJECT

private slots:
    void entryPages();
    void references_data();
    void references();
};

namespace {

QString guideFolder()
{
    return getImagesPath() + QStringLiteral("manual");
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void TestGuideLinks::entryPages()
{
    QVERIFY(QFile::exists(guideFolder() + QStringLiteral("/index.html")));
    QVERIFY(QFile::exists(guideFolder() + QStringLiteral("/manual/start.html")));
}

void TestGuideLinks::references_data()
{
    QTest::addColumn<QString>("page");
    QDirIterator pages(guideFolder(), {QStringLiteral("*.html")}, QDir::Files,
                       QDirIterator::Subdirectories);
    int count = 0;
    while (pages.hasNext()) {
        const QString path = pages.next();
        QTest::newRow(qPrintable(QDir(guideFolder()).relativeFilePath(path))) << path;
        ++count;
    }
    QVERIFY(count >= 10);
}

void TestGuideLinks::references()
{
    QFETCH(QString, page);
    const QString html = readText(page);
    QVERIFY(!html.isEmpty());
    static const QRegularExpression reference(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""));
    static const QRegularExpression external(QStringLiteral("^(?:[a-z]+:)"));
    const QDir here = QFileInfo(page).dir();
    QRegularExpressionMatchIterator it = reference.globalMatch(html);
    while (it.hasNext()) {
        const QString target = it.next().captured(1);
        // The guide is read offline: nothing may lead outside it.
        QVERIFY2(!external.match(target).hasMatch(), qPrintable(target));
        const int hash = target.indexOf(QLatin1Char('#'));
        const QString file = hash < 0 ? target : target.left(hash);
        const QString anchor = hash < 0 ? QString() : target.mid(hash + 1);
        const QString path = file.isEmpty() ? page : here.absoluteFilePath(file);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(target));
        QVERIFY2(QDir::cleanPath(path).startsWith(guideFolder()), qPrintable(target));
        const QString suffix = QFileInfo(path).suffix();
        if (suffix == QLatin1String("png"))
            QVERIFY2(!QImage(path).isNull(), qPrintable(target));
        if (!anchor.isEmpty())
            QVERIFY2(readText(path).contains(QStringLiteral("id=\"") + anchor + QLatin1Char('"')),
                     qPrintable(target));
    }
}

QTEST_MAIN(TestGuideLinks)
#include "tst_guidelinks.moc"
