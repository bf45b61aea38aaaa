#include "engine/globsettings.h"
#include "engine/numerology.h"
#include "tests/engine/readingfixtures.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEnginePage>
#include <QtTest>

using namespace ReadingTest;

// The readings are XHTML-flavoured tag soup (unquoted attribute values,
// <br> and paragraphs around the tables of split paragraphs), written for
// the web engine's HTML parser. These tests write a reading to a file, load
// it into an off-screen page and check that the parser saw the whole
// document: every heading, the last section, and chapters that close
// rather than nest into each other.

namespace {

struct PageView
{
    bool loaded = false;
    QString title;
    int headingCount = -1;
    QString lastHeading;
    int tableDepth = -1;
    QString text;
};

PageView loadInPage(const QString &path)
{
    PageView view;
    QWebEnginePage page;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
        view.loaded = ok;
        loop.quit();
    });
    timeout.start(60000);
    page.load(QUrl::fromLocalFile(path));
    loop.exec();
    if (!view.loaded)
        return view;

    const QString script = QStringLiteral(
        "(function() {"
        "  var h = document.querySelectorAll('h2');"
        "  var depth = 0;"
        "  document.querySelectorAll('table').forEach(function(t) {"
        "    var d = 0;"
        "    for (var e = t; e; e = e.parentElement) if (e.tagName === 'TABLE') ++d;"
        "    if (d > depth) depth = d;"
        "  });"
        "  return JSON.stringify({title: document.title, headings: h.length,"
        "    last: h.length ? h[h.length - 1].textContent : '', depth: depth,"
        "    text: document.body.textContent});"
        "})()");
    QString json;
    page.runJavaScript(script, [&](const QVariant &result) {
        json = result.toString();
        loop.quit();
    });
    timeout.start(60000);
    loop.exec();
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    view.title = o.value(QStringLiteral("title")).toString();
    view.headingCount = o.value(QStringLiteral("headings")).toInt(-1);
    view.lastHeading = o.value(QStringLiteral("last")).toString();
    view.tableDepth = o.value(QStringLiteral("depth")).toInt(-1);
    view.text = o.value(QStringLiteral("text")).toString();
    return view;
}

// A layout of every Numerology section in the item's own style, with custom
// titles, a custom text, an own picture and the content font underlined.
reportSetting ownStyleLayout()
{
    reportSetting setting = layout(everyNumerologyType(), false);
    for (repItem &i : setting.items[RKNumerology]) {
        i.title = QStringLiteral("Section %1").arg(i.type);
        i.contentFont.setUnderline(true);
        i.contentFont.setItalic(true);
    }
    repItem &lessons = setting.items[RKNumerology][10];
    lessons.texts[6]
        = QStringLiteral("<html><body><!-- md --><br><p><span style=\"font-weight:600;\">"
                         "MINE-6<br>second line</span></p></body></html>");
    lessons.useStdText[6] = false;
    setting.items[RKNumerology][1].images[0] = redSquare();
    return setting;
}

} // namespace

class tst_ReadingDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadMarkerDatabase()); }
    void wholeDocumentParsed_data();
    void wholeDocumentParsed();
};

void tst_ReadingDocument::wholeDocumentParsed_data()
{
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<int>("layoutNo");
    QTest::addColumn<QString>("lastMarker");

    QTest::newRow("fixed reading") << false << 0 << "ES-9";
    QTest::newRow("fixed chaldean reading") << true << 0 << "ES-";
    QTest::newRow("layout, default look") << false << 1 << "Your custom text here";
    QTest::newRow("layout, own style") << false << 2 << "Your custom text here";
}

void tst_ReadingDocument::wholeDocumentParsed()
{
    QFETCH(bool, chaldean);
    QFETCH(int, layoutNo);
    QFETCH(QString, lastMarker);

    QList<reportSetting> layouts {layout(everyNumerologyType()), ownStyleLayout()};
    CNumerology n;
    n.preloadRes(QStringLiteral("/nowhere/"));
    QVERIFY(n.calculate("ANN LEE SMITH", "ANN", {}, {}, chaldean, QDate(1980, 3, 5),
                        QDate(2026, 3, 15), &layouts, layoutNo, 0, false));
    const QString html = n.reportHtml;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("reading.html"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(html.toUtf8()), qint64(html.toUtf8().size()));
    file.close();

    const PageView view = loadInPage(path);
    QVERIFY(view.loaded);
    const int start = html.indexOf(QLatin1String("<title>")) + 7;
    QCOMPARE(view.title, html.mid(start, html.indexOf(QLatin1String("</title>")) - start));
    const QStringList expected = headings(html);
    QCOMPARE(view.headingCount, expected.size());
    QCOMPARE(view.lastHeading, expected.last());
    // Every chapter is a table of its own: one left open would nest the
    // chapters after it.
    QCOMPARE(view.tableDepth, 1);
    QVERIFY(view.text.contains(lastMarker));
    if (layoutNo == 2)
        QVERIFY(view.text.contains(QLatin1String("MINE-6")));
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    tst_ReadingDocument test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_readingdocument.moc"
