#include "app/picturecache.h"
#include "app/reportaccess.h"
#include "app/reportexport.h"
#include "base/apppaths.h"
#include "engine/numerology.h"
#include "engine/reporttools.h"
#include "hostilepicture.h"
#include "layouts/layoutfile.h"
#include "testenvironment.h"
#include "tests/engine/readingfixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Saving single readings as HTML or the chart as a picture, picture
// inlining, the order of the joined PDF report and the section dialog. No
// page is loaded into the web engine here; the PDF job is tested in
// tst_pdfexport.

namespace {

const QString pngPrefix = QStringLiteral("data:image/png;base64,");

// Replaces every data URI payload by '#' and returns the payloads, so that
// whole outputs can be compared with a readable expectation.
QString maskPayloads(const QString &html, QStringList *payloads = nullptr)
{
    static const QRegularExpression uri(
        QStringLiteral("(data:image/[a-z]+;base64,)([A-Za-z0-9+/=]*)"));
    QString masked;
    int last = 0;
    auto it = uri.globalMatch(html);
    while (it.hasNext()) {
        const auto match = it.next();
        masked += html.mid(last, match.capturedStart(2) - last) + QLatin1Char('#');
        last = match.capturedEnd(2);
        if (payloads)
            *payloads << match.captured(2);
    }
    return masked + html.mid(last);
}

QImage decodePng(const QString &payload)
{
    return QImage::fromData(QByteArray::fromBase64(payload.toLatin1()), "PNG");
}

QImage decodePicture(const QString &payload)
{
    return QImage::fromData(QByteArray::fromBase64(payload.toLatin1()));
}

// The test picture as a data URI of the given format.
QString dataUri(const QImage &picture, const char *format, const QString &type)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return QStringLiteral("data:") + type + QStringLiteral(";base64,")
        + QString::fromLatin1(bytes.toBase64());
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A path that no one, root included, can create: its parent is a file.
QString unwritablePath(const QTemporaryDir &dir, const QString &name)
{
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    if (file.open(QIODevice::WriteOnly))
        file.write("x");
    return blocker + QLatin1Char('/') + name;
}

// Pictures are inlined only from the program's and the user's folders.
QString userPictureFolder()
{
    QDir().mkpath(getUserFolder());
    return getUserFolder() + QStringLiteral("/pictures-XXXXXX");
}

// A reading document of exactly the given length that names its source.
QString documentOfLength(const QString &name, int length)
{
    QString doc = QStringLiteral("<html><body>") + name + QStringLiteral(" ");
    return doc.leftJustified(length - 14, QLatin1Char('.')) + QStringLiteral("</body></html>");
}

class RecordingExport : public CReportExport
{
public:
    using CReportExport::CReportExport;

    QString answer;
    QStringList captions;
    QStringList filters;
    QStringList criticals;
    int dialogsRun = 0;
    std::function<int(QDialog *)> onDialog;

    QString getSaveFileName(const QString &caption, const QString &filter) override
    {
        captions << caption;
        filters << filter;
        return answer;
    }
    void showCritical(QWidget *, const QString &title, const QString &text) override
    {
        criticals << title + QLatin1Char('|') + text;
    }
    int execDialog(QDialog *dialog) override
    {
        ++dialogsRun;
        return onDialog ? onDialog(dialog) : int(QDialog::Accepted);
    }
};

// One reading object per source, each with its own document.
struct Readings
{
    CReportTools numerology, psychoMatrix, compatibility, celebrities, pet, nameAdvisor;

    CReportExport::Sources sources() const
    {
        CReportExport::Sources s;
        s.numerology = &numerology;
        s.psychoMatrix = &psychoMatrix;
        s.compatibility = &compatibility;
        s.celebrities = &celebrities;
        s.pet = &pet;
        s.nameAdvisor = &nameAdvisor;
        return s;
    }
    CReportTools *byName(const QString &name)
    {
        static const QStringList names {"NUM", "PM", "COMP", "CEL", "PET", "ADV"};
        CReportTools *all[]
            = {&numerology, &psychoMatrix, &compatibility, &celebrities, &pet, &nameAdvisor};
        return all[names.indexOf(name)];
    }
};

CReportExport::SectionFlags flagsFrom(const QString &ticked)
{
    CReportExport::SectionFlags flags {};
    for (int i = 0; i < CReportExport::SectionCount; ++i)
        flags[i] = ticked.at(i) == QLatin1Char('1');
    return flags;
}

} // namespace

class tst_ReportExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pageRequests_data();
    void pageRequests();
    void stringForm_data();
    void stringForm();
    void stringFormFramesThePicture();
    void pictureCache_data();
    void pictureCache();
    void streamForm_data();
    void streamForm();
    void savedReadingMatchesGolden();

    void joinedOrder_data();
    void joinedOrder();
    void sectionThreshold_data();
    void sectionThreshold();
    void joinedReportCarriesEveryPicture();
    void chartParagraph_data();
    void chartParagraph();

    void writeReportHtml_data();
    void writeReportHtml();
    void exportHtml_data();
    void exportHtml();
    void exportChart_data();
    void exportChart();

    void askReportsList_data();
    void askReportsList();
    void pdfExportStopsEarly_data();
    void pdfExportStopsEarly();
    void hostileLayoutSavesNoMarkup();

private:
    QTemporaryDir m_dir {userPictureFolder()};
    QTemporaryDir m_outside;
    QString m_png; // 8 x 6, blue top-left quarter on red
    QString m_outsidePng; // the same, outside the folders pictures may come from
    QString m_jpg;
    QString m_bmp;
    QString m_text;
    QString m_svg; // an SVG at a picture place that names the picture outside
    QString m_ampersand; // a picture whose name needs a character reference
    QString m_pngUri; // the picture as data: URIs
    QString m_jpgUri;
    QString m_svgUri;
    QString m_hugeUri; // a PNG declaring 100000 x 100000 pixels
};

void tst_ReportExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 30));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            picture.setPixelColor(x, y, QColor(20, 20, 160));
    m_png = m_dir.filePath(QStringLiteral("picture.png"));
    m_jpg = m_dir.filePath(QStringLiteral("photo.JPG"));
    m_bmp = m_dir.filePath(QStringLiteral("drawing.bmp"));
    QVERIFY(picture.save(m_png, "PNG"));
    QVERIFY(picture.save(m_jpg, "JPG"));
    QVERIFY(picture.save(m_bmp, "BMP"));
    m_outsidePng = m_outside.filePath(QStringLiteral("private.png"));
    QVERIFY(picture.save(m_outsidePng, "PNG"));
    m_text = m_dir.filePath(QStringLiteral("notes.txt"));
    QFile text(m_text);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    m_ampersand = m_dir.filePath(QStringLiteral("A&B.png"));
    QVERIFY(picture.save(m_ampersand, "PNG"));

    const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"8\" "
                           "height=\"6\"><image width=\"8\" height=\"6\" xlink:href=\""
        + QUrl::fromLocalFile(m_outsidePng).toEncoded() + "\"/></svg>";
    m_svg = m_dir.filePath(QStringLiteral("drawing.svg"));
    QFile svgFile(m_svg);
    QVERIFY(svgFile.open(QIODevice::WriteOnly) && svgFile.write(svg) == svg.size());
    svgFile.close();
    // The engine would draw it, private picture and all.
    QCOMPARE(QImage(m_svg).size(), QSize(8, 6));
    m_svgUri = QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(svg.toBase64());

    m_pngUri = dataUri(picture, "PNG", QStringLiteral("image/png"));
    m_jpgUri = dataUri(picture, "JPG", QStringLiteral("image/jpeg"));
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QByteArray dotBytes;
    QBuffer dotBuffer(&dotBytes);
    dotBuffer.open(QIODevice::WriteOnly);
    dot.save(&dotBuffer, "PNG");
    const QByteArray huge = HostilePicture::declareSize(dotBytes, 100000, 100000);
    QVERIFY(!huge.isEmpty());
    m_hugeUri = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(huge.toBase64());
}

// %R the resources folder, %U a folder inside the user's folder, %O one
// outside both; "file://" + an absolute path gives three slashes.
void tst_ReportExport::pageRequests_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("allowed");
    const int page = QWebEngineUrlRequestInfo::ResourceTypeMainFrame;
    const int frame = QWebEngineUrlRequestInfo::ResourceTypeSubFrame;
    const int picture = QWebEngineUrlRequestInfo::ResourceTypeImage;
    const int style = QWebEngineUrlRequestInfo::ResourceTypeStylesheet;

    QTest::newRow("picture as data") << "data:image/png;base64,AAAA" << picture << true;
    QTest::newRow("frame as data") << "data:text/html,x" << frame << false;
    QTest::newRow("shipped picture, four slashes")
        << "file:///%R/images/doc/res01.jpg" << picture << true;
    QTest::newRow("user's picture") << "file://%U/p.png" << picture << true;
    QTest::newRow("link out") << "file://%U/link.png" << picture << false;
    QTest::newRow("remote picture") << "https://example.org/p.png" << picture << false;
    QTest::newRow("guide style sheet") << "file://%R/images/manual/guide.css" << style << true;
    QTest::newRow("user's style sheet") << "file://%U/x.css" << style << false;
    QTest::newRow("guide page") << "file://%R/images/manual/index.html" << page << true;
    QTest::newRow("guide page in a frame")
        << "file://%R/images/manual/index.html" << frame << false;
    QTest::newRow("page elsewhere") << "file://%O/report.html" << page << false;
    QTest::newRow("the job's own page") << "file://%O/job.html" << page << true;
}

void tst_ReportExport::pageRequests()
{
    QFETCH(QString, url);
    QFETCH(int, type);
    QFETCH(bool, allowed);
    QVERIFY(QFile::link(m_outsidePng, m_dir.filePath(QStringLiteral("link.png")))
            || QFileInfo(m_dir.filePath(QStringLiteral("link.png"))).isSymLink());
    const QString job = m_outside.filePath(QStringLiteral("job.html"));
    QString resources = getResourcesPath();
    resources.chop(1);
    url.replace("%R", resources).replace("%U", m_dir.path()).replace("%O", m_outside.path());

    ReportAccess::allowPageFile(job);
    QCOMPARE(ReportAccess::isAllowed(QUrl(url), QWebEngineUrlRequestInfo::ResourceType(type)),
             allowed);
    ReportAccess::forgetPageFile(job);
    QVERIFY(!ReportAccess::isAllowed(QUrl::fromLocalFile(job),
                                     QWebEngineUrlRequestInfo::ResourceTypeMainFrame));
}

// %P png, %J jpg, %M a missing file, %O a png outside the user's folder, %D
// the same reached from inside it by ".."; "file:///" is put in front by the
// rows.
void tst_ReportExport::stringForm_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<QSize>>("pictures");

    const QString tail = QStringLiteral("\" style=\"margin-left: 15px;\" align=\"right\" />text");
    QTest::newRow("builder reference")
        << "<h2><img src=\"file:///%P" + tail + "</h2>"
        << "<h2><img hspace=\"50\"   src=\"data:image/png;base64,#" + tail + "</h2>"
        << QList<QSize> {QSize(28, 6)};
    QTest::newRow("scheme in capitals")
        << "<img src=\"FILE:///%P\">"
        << "<img hspace=\"50\"   src=\"data:image/png;base64,#\">" << QList<QSize> {QSize(28, 6)};
    QTest::newRow("jpeg becomes png")
        << "<img src=\"file:///%J\">"
        << "<img hspace=\"50\"   src=\"data:image/png;base64,#\">" << QList<QSize> {QSize(28, 6)};
    QTest::newRow("plain path") << "<img src=\"%P\">"
                                << "<img hspace=\"50\"   src=\"data:image/png;base64,#\">"
                                << QList<QSize> {QSize(28, 6)};
    QTest::newRow("missing file gives the bare prefix")
        << "a<img src=\"file:///%M\" alt=\"x\">b"
        << "a<img hspace=\"50\"   src=\"data:image/png;base64,#\" alt=\"x\">b"
        << QList<QSize> {QSize(0, 0)};
    QTest::newRow("picture from elsewhere reads as missing")
        << "<img src=\"file:///%O\"><img src=\"file:///%D\">"
        << "<img hspace=\"50\"   src=\"data:image/png;base64,#\">"
           "<img hspace=\"50\"   src=\"data:image/png;base64,#\">"
        << QList<QSize> {QSize(0, 0), QSize(0, 0)};
    QTest::newRow("builder's own data uri, drawn as it is")
        << "<img src = \"%I\" />"
        << "<img src = \"data:image/png;base64,#\" />" << QList<QSize> {QSize(8, 6)};
    QTest::newRow("data uri that is no picture reads as missing")
        << "<img src = \"data:image/png;base64,AAAA\" />"
        << "<img src = \"data:image/png;base64,#\" />" << QList<QSize> {QSize(0, 0)};
    QTest::newRow("remote picture reads as missing")
        << "<IMG  SRC = \"http://127.0.0.1:1/p.png\">"
        << "<img hspace=\"50\"   src=\"data:image/png;base64,#\">" << QList<QSize> {QSize(0, 0)};
    QTest::newRow("unclosed reference is dropped") << "before<img src=\"file:///%P"
                                                   << "before" << QList<QSize> {};
    QTest::newRow("two pictures, text between kept")
        << "<img src=\"file:///%P\"/>mid \"quoted\"<img src=\"file:///%J\"/>end"
        << "<img hspace=\"50\"   src=\"data:image/png;base64,#\"/>mid \"quoted\""
           "<img hspace=\"50\"   src=\"data:image/png;base64,#\"/>end"
        << QList<QSize> {QSize(28, 6), QSize(28, 6)};
    QTest::newRow("source behind other attributes")
        << "<img alt=\"a\" width=8 src=\"file:///%P\">"
        << "<img hspace=\"50\"   alt=\"a\" width=8 src=\"data:image/png;base64,#\">"
        << QList<QSize> {QSize(28, 6)};
    QTest::newRow("source in single quotes, picture as image")
        << "<image src='file:///%P'/>"
        << "<img hspace=\"50\"   src=\"data:image/png;base64,#\"/>" << QList<QSize> {QSize(28, 6)};
    QTest::newRow("a tag in a value is text")
        << "<p title=\"<img src='x.png'>\">t</p>"
        << "<p title=\"<img src='x.png'>\">t</p>" << QList<QSize> {};
    QTest::newRow("no pictures") << "<p>plain</p>"
                                 << "<p>plain</p>" << QList<QSize> {};
    QTest::newRow("empty") << ""
                           << "" << QList<QSize> {};
}

void tst_ReportExport::stringForm()
{
    QFETCH(QString, html);
    QFETCH(QString, expected);
    QFETCH(QList<QSize>, pictures);
    html.replace("%I", m_pngUri)
        .replace("%P", m_png)
        .replace("%J", m_jpg)
        .replace("%M", m_dir.filePath("missing.png"));
    html.replace("%O", m_outsidePng)
        .replace("%D", m_dir.filePath(QDir(m_dir.path()).relativeFilePath(m_outsidePng)));

    QString out = QStringLiteral("kept:");
    embedImagesToHtml(html, out);
    QVERIFY(out.startsWith("kept:"));
    QVERIFY(!out.contains("file:", Qt::CaseInsensitive));
    QStringList payloads;
    QCOMPARE(maskPayloads(out.mid(5), &payloads), expected);
    QCOMPARE(payloads.size(), pictures.size());
    for (int i = 0; i < pictures.size(); ++i) {
        QCOMPARE(decodePng(payloads.at(i)).size(), pictures.at(i));
    }
}

void tst_ReportExport::stringFormFramesThePicture()
{
    QString out;
    embedImagesToHtml("<img src=\"file:///" + m_png + "\">", out);
    QStringList payloads;
    maskPayloads(out, &payloads);
    QCOMPARE(payloads.size(), 1);
    const QImage framed = decodePng(payloads.first());
    QCOMPARE(framed.size(), QSize(28, 6));
    // 20 white pixels on the left, then the picture unchanged.
    for (int y = 0; y < 6; ++y)
        QCOMPARE(framed.pixelColor(19, y), QColor(Qt::white));
    QCOMPARE(framed.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(framed.pixelColor(20, 0), QColor(20, 20, 160));
    QCOMPARE(framed.pixelColor(27, 5), QColor(200, 30, 30));
}

void tst_ReportExport::pictureCache_data()
{
    QTest::addColumn<QString>("between"); // what happens to the file between two uses
    QTest::addColumn<int>("encodings");
    QTest::newRow("unchanged") << "" << 1;
    QTest::newRow("rewritten") << "rewrite" << 2;
    QTest::newRow("missing") << "remove" << 2;
    QTest::newRow("carried data, the same again") << "same data" << 1;
    QTest::newRow("carried data, other data") << "other data" << 2;
}

// A picture is read and encoded once while its file stays as it was, or
// while a document carries the same data.
void tst_ReportExport::pictureCache()
{
    QFETCH(QString, between);
    QFETCH(int, encodings);
    static int encoded;
    encoded = 0;
    CPictureCache cache([](const QString &path) {
        ++encoded;
        return path.startsWith(QLatin1String("data:")) ? path.toUpper()
                                                       : QString::fromLatin1(readAll(path));
    });
    if (between.endsWith(QLatin1String("data"))) {
        const QString first = QStringLiteral("data:image/png;base64,AAAA");
        const QString second = between == QLatin1String("same data")
            ? first
            : QStringLiteral("data:image/png;base64,AAAB");
        QCOMPARE(cache.getByContent(first), first.toUpper());
        QCOMPARE(cache.getByContent(second), second.toUpper());
        QCOMPARE(encoded, encodings);
        return;
    }
    const QString path = m_dir.filePath(QStringLiteral("cached.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("first") == 5);
    file.close();
    QCOMPARE(cache.get(path), QStringLiteral("first"));
    if (between == QLatin1String("rewrite")) {
        // Same size, only the modification time tells.
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("later") == 5);
        file.close();
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
        file.close();
    } else if (between == QLatin1String("remove")) {
        QVERIFY(file.remove());
    }
    QCOMPARE(cache.get(path), QString::fromLatin1(readAll(path)));
    QCOMPARE(encoded, encodings);
    file.remove();
}

// %P png, %J jpg, %B bmp, %S an SVG naming a picture elsewhere, %T a text
// file, %M a missing file, %O a picture elsewhere, %A a name with '&'; %I,
// %G, %V and %H data URIs of a png, a jpeg, the SVG and a picture too large
// to decode.
void tst_ReportExport::streamForm_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QSize>("picture"); // of the one payload; (0, 0): empty

    QTest::newRow("png file") << "<h2><img src=\"file:///%P\" align=\"right\" />LP</h2>"
                              << "<h2><img src=\"data:image/png;base64,#\" align=\"right\" "
                                 "/>LP</h2>"
                              << QSize(8, 6);
    QTest::newRow("JPG in capitals stays a jpeg")
        << "<img src=\"file:///%J\">"
        << "<img src=\"data:image/jpeg;base64,#\">" << QSize(8, 6);
    QTest::newRow("other picture kinds become png")
        << "<img src=\"file:///%B\">"
        << "<img src=\"data:image/png;base64,#\">" << QSize(8, 6);
    QTest::newRow("name written with a reference")
        << "<img src=\"file://%A\">"
        << "<img src=\"data:image/png;base64,#\">" << QSize(8, 6);
    QTest::newRow("builder's own data uri")
        << "<img src = \"%I\" />"
        << "<img src = \"data:image/png;base64,#\" />" << QSize(8, 6);
    QTest::newRow("jpeg data uri") << "<img src=\"%G\">"
                                   << "<img src=\"data:image/jpeg;base64,#\">" << QSize(8, 6);
    QTest::newRow("missing file") << "<img src=\"file:///%M\">x"
                                  << "<img src=\"data:image/png;base64,#\">x" << QSize(0, 0);
    QTest::newRow("file that is no picture")
        << "<img src=\"file:///%T\">"
        << "<img src=\"data:image/png;base64,#\">" << QSize(0, 0);
    QTest::newRow("svg file") << "<img src=\"file:///%S\">"
                              << "<img src=\"data:image/png;base64,#\">" << QSize(0, 0);
    QTest::newRow("svg data uri") << "<img src=\"%V\">"
                                  << "<img src=\"data:image/png;base64,#\">" << QSize(0, 0);
    QTest::newRow("data uri too large to decode")
        << "<img src=\"%H\">"
        << "<img src=\"data:image/png;base64,#\">" << QSize(0, 0);
    QTest::newRow("data uri that is no picture")
        << "<img src = \"data:image/png;base64,AAAA\" />"
        << "<img src = \"data:image/png;base64,#\" />" << QSize(0, 0);
    QTest::newRow("picture elsewhere") << "<img src=\"file:///%O\">"
                                       << "<img src=\"data:image/png;base64,#\">" << QSize(0, 0);
    QTest::newRow("remote picture") << "<img src=\"https://127.0.0.1:1/p.png\">"
                                    << "<img src=\"data:image/png;base64,#\">" << QSize(0, 0);
    QTest::newRow("unclosed reference drops the rest") << "x<img src=\"%P<p>y</p>"
                                                       << "x" << QSize();
    QTest::newRow("unquoted source behind another attribute")
        << "<img width=\"8\" src=%I>"
        << "<img width=\"8\" src=\"data:image/png;base64,#\">" << QSize(8, 6);
    QTest::newRow("relative file URL") << "<img src=\"file:%L\">"
                                       << "<img src=\"data:image/png;base64,#\">" << QSize(0, 0);
}

void tst_ReportExport::streamForm()
{
    QFETCH(QString, html);
    QFETCH(QString, expected);
    QFETCH(QSize, picture);
    QString ampersand = m_ampersand;
    html.replace("%P", m_png)
        .replace("%J", m_jpg)
        .replace("%B", m_bmp)
        .replace("%S", m_svg)
        .replace("%T", m_text)
        .replace("%M", m_dir.filePath("missing.png"))
        .replace("%O", m_outsidePng)
        .replace("%A", ampersand.replace("&", "&amp;"))
        .replace("%I", m_pngUri)
        .replace("%G", m_jpgUri)
        .replace("%V", m_svgUri)
        .replace("%H", m_hugeUri)
        .replace("%L", QDir::current().relativeFilePath(m_png));

    QString out;
    QTextStream stream(&out);
    embedImagesToHtml(html, stream);
    stream.flush();
    QStringList payloads;
    QCOMPARE(maskPayloads(out, &payloads), expected);
    if (!picture.isValid()) {
        QVERIFY(payloads.isEmpty());
        return;
    }
    QCOMPARE(payloads.size(), 1);
    // Decoded and encoded again: the picture, not the bytes it came in.
    const QImage decoded = decodePicture(payloads.first());
    QCOMPARE(decoded.size(), picture);
    if (decoded.isNull())
        return;
    const auto near = [](const QColor &a, const QColor &b) {
        return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue())
            < 60;
    };
    QVERIFY(near(decoded.pixelColor(0, 0), QColor(20, 20, 160)));
    QVERIFY(near(decoded.pixelColor(7, 5), QColor(200, 30, 30)));
}

// A reading as the builder writes it, saved as HTML: every picture travels
// inside the file, non-ASCII text is UTF-8, the line-height style is added.
// The pictures are compared by what they show, not by their bytes, which
// another version of an encoder may write differently.
void tst_ReportExport::savedReadingMatchesGolden()
{
    const QString data = TestEnvironment::dataPath(QStringLiteral("app/export"));
    QString reading = QString::fromUtf8(readAll(data + QStringLiteral("/reading.html")));
    QVERIFY(!reading.isEmpty());
    const QString pictures = m_dir.filePath(QStringLiteral("golden"));
    QVERIFY(QDir().mkpath(pictures));
    for (const char *name : {"picture.png", "photo.JPG"})
        QVERIFY(QFile::copy(data + QLatin1Char('/') + QLatin1String(name),
                            pictures + QLatin1Char('/') + QLatin1String(name)));
    reading.replace(QStringLiteral("%DATA%"), pictures);

    const QString target = m_dir.filePath(QStringLiteral("golden-out.html"));
    QString error;
    QVERIFY2(CReportExport::writeReportHtml(reading, target, &error), qPrintable(error));
    const QByteArray written = readAll(target);
    const QString goldenPath = data + QStringLiteral("/expected-reading.html");
    // Set LUMARO_UPDATE_GOLDEN=1 to rewrite the golden file after a deliberate
    // change.
    if (qEnvironmentVariableIntValue("LUMARO_UPDATE_GOLDEN") == 1) {
        QFile golden(goldenPath);
        QVERIFY(golden.open(QIODevice::WriteOnly) && golden.write(written) == written.size());
    }
    const QByteArray golden = readAll(goldenPath);
    QVERIFY(!golden.isEmpty());
    QStringList writtenPictures;
    QStringList goldenPictures;
    QCOMPARE(maskPayloads(QString::fromUtf8(written), &writtenPictures),
             maskPayloads(QString::fromUtf8(golden), &goldenPictures));
    QCOMPARE(writtenPictures.size(), goldenPictures.size());
    for (int i = 0; i < writtenPictures.size(); ++i) {
        const QImage shown = decodePicture(writtenPictures.at(i));
        const QImage expected = decodePicture(goldenPictures.at(i));
        QCOMPARE(shown.size(), expected.size());
        if (!shown.isNull())
            QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2).name(),
                     expected.pixelColor(expected.width() / 2, expected.height() / 2).name());
    }
    QVERIFY(!written.contains("file:"));
}

void tst_ReportExport::joinedOrder_data()
{
    QTest::addColumn<QStringList>("present"); // readings that were run
    QTest::addColumn<QString>("ticked"); // Numerology, Psycho, Comp, Cel, Chart
    QTest::addColumn<QString>("expected");

    const QStringList all {"NUM", "PM", "COMP", "CEL", "PET", "ADV"};
    QTest::newRow("everything") << all << "11111"
                                << "NUM BR PM BR COMP BR CEL BR PET BR ADV BR CHART";
    QTest::newRow("only the chart, no pet or advisor")
        << QStringList {"NUM", "PM", "COMP", "CEL"} << "00001"
        << "CHART";
    QTest::newRow("chart unticked ends with a page break") << QStringList {"NUM", "CEL"} << "11110"
                                                           << "NUM BR CEL BR";
    QTest::newRow("pet and advisor whatever is ticked") << all << "00000"
                                                        << "PET BR ADV BR";
    QTest::newRow("readings not run drop out") << QStringList {"COMP", "ADV"} << "11111"
                                               << "COMP BR ADV BR CHART";
    QTest::newRow("unticked readings skipped") << all << "01010"
                                               << "PM BR CEL BR PET BR ADV BR";
    QTest::newRow("nothing at all") << QStringList {} << "00000"
                                    << "";
}

void tst_ReportExport::joinedOrder()
{
    QFETCH(QStringList, present);
    QFETCH(QString, ticked);
    QFETCH(QString, expected);

    Readings readings;
    for (const QString &name : present)
        readings.byName(name)->reportHtml = documentOfLength(name, 150);
    QImage canvas(120, 80, QImage::Format_ARGB32);
    canvas.fill(Qt::black);

    QString report = CReportExport::joinReports(readings.sources(), flagsFrom(ticked), canvas);
    for (const QString &name : present)
        report.replace(documentOfLength(name, 150), name + QLatin1Char(' '));
    report.replace(QStringLiteral("<p style=\"page-break-after: always;  \"></p>"),
                   QStringLiteral("BR "));
    report.replace(CReportExport::chartParagraph(canvas), QStringLiteral("CHART"));
    QCOMPARE(report.trimmed(), expected);
}

void tst_ReportExport::sectionThreshold_data()
{
    QTest::addColumn<QString>("reading");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("included");

    QTest::newRow("numerology 99") << "NUM" << 99 << false;
    QTest::newRow("numerology 100") << "NUM" << 100 << true;
    QTest::newRow("pet 99") << "PET" << 99 << false;
    QTest::newRow("pet 100") << "PET" << 100 << true;
    QTest::newRow("advisor 100") << "ADV" << 100 << true;
    QTest::newRow("empty") << "CEL" << 0 << false;
}

void tst_ReportExport::sectionThreshold()
{
    QFETCH(QString, reading);
    QFETCH(int, length);
    QFETCH(bool, included);

    Readings readings;
    const QString doc = length ? documentOfLength(reading, length) : QString();
    QCOMPARE(doc.size(), length);
    readings.byName(reading)->reportHtml = doc;
    const QString report
        = CReportExport::joinReports(readings.sources(), flagsFrom("11110"), QImage());
    QCOMPARE(report.contains(reading), included);
}

// The page that prints the PDF loads nothing but itself.
void tst_ReportExport::joinedReportCarriesEveryPicture()
{
    Readings readings;
    for (const QString name : {"NUM", "PM", "COMP", "CEL", "PET", "ADV"})
        readings.byName(name)->reportHtml
            = documentOfLength(name, 150) + QStringLiteral("<img src=\"file:///%1\">").arg(m_png);
    const QString report
        = CReportExport::joinReports(readings.sources(), flagsFrom("11110"), QImage());
    QStringList payloads;
    maskPayloads(report, &payloads);
    QCOMPARE(payloads.size(), 6);
    for (const QString &payload : payloads)
        QCOMPARE(decodePng(payload).size(), QSize(28, 6));
    QVERIFY(!report.contains(QLatin1String("file:")));
}

void tst_ReportExport::chartParagraph_data()
{
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<QSize>("shown");

    QTest::newRow("wide") << QSize(1200, 800) << QSize(600, 400);
    QTest::newRow("tall") << QSize(300, 1600) << QSize(150, 800);
    QTest::newRow("small is enlarged") << QSize(300, 200) << QSize(600, 400);
    QTest::newRow("exact") << QSize(600, 800) << QSize(600, 800);
}

void tst_ReportExport::chartParagraph()
{
    QFETCH(QSize, canvas);
    QFETCH(QSize, shown);

    QImage image(canvas, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QStringList payloads;
    const QString paragraph = maskPayloads(CReportExport::chartParagraph(image), &payloads);
    QCOMPARE(paragraph,
             QStringLiteral("<p style=\"text-align: center;\" ><img align=\"middle\" "
                            "vertical-align=\"middle\" width=\"%1\" height=\"%2\" "
                            "src=\"data:image/png;base64,#\"></p>")
                 .arg(shown.width())
                 .arg(shown.height()));
    // Stored at full resolution, shown at the fitted size.
    QCOMPARE(decodePng(payloads.first()).size(), canvas);
}

void tst_ReportExport::writeReportHtml_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("expected");

    const QString style
        = QStringLiteral("<style type=\"text/css\"> body table { line-height: 20px;  }</style>");
    QTest::newRow("style before every </head>")
        << "<head></head>x<HEAD></HEAD></head>"
        << "<head>" + style + "</head>x<HEAD></HEAD>" + style + "</head>";
    QTest::newRow("non-ASCII text as UTF-8")
        << QStringLiteral("Ω ü ß \u4e2d") << QStringLiteral("Ω ü ß \u4e2d");
    QTest::newRow("empty reading") << ""
                                   << "";
    const QString large = QString(QStringLiteral("<p>line</p>\r\n")).repeated(200000);
    QTest::newRow("large reading is written whole") << large << large;
}

void tst_ReportExport::writeReportHtml()
{
    QFETCH(QString, document);
    QFETCH(QString, expected);

    const QString target = m_dir.filePath(QStringLiteral("reading.html"));
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(3000000, 'o'));
    old.close();

    QString error;
    QVERIFY2(CReportExport::writeReportHtml(document, target, &error), qPrintable(error));
    QCOMPARE(readAll(target), expected.toUtf8());
}

void tst_ReportExport::exportHtml_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written"); // file name in the folder, empty: none
    QTest::addColumn<QString>("reading");

    QTest::newRow("numerology") << 0 << "a.html"
                                << "a.html"
                                << "NUM";
    QTest::newRow("forecast shows the numerology reading") << 7 << "b.htm"
                                                           << "b.htm"
                                                           << "NUM";
    QTest::newRow("psycho matrix") << 1 << "c.html"
                                   << "c.html"
                                   << "PM";
    QTest::newRow("compatibility") << 2 << "d.html"
                                   << "d.html"
                                   << "COMP";
    QTest::newRow("celebrities") << 3 << "e.html"
                                 << "e.html"
                                 << "CEL";
    QTest::newRow("pet") << 4 << "f.html"
                         << "f.html"
                         << "PET";
    QTest::newRow("name advisor") << 6 << "g.html"
                                  << "g.html"
                                  << "ADV";
    QTest::newRow("suffix added") << 0 << "report"
                                  << "report.html"
                                  << "NUM";
    QTest::newRow("guide writes nothing") << 8 << "guide"
                                          << ""
                                          << "";
    QTest::newRow("cancelled") << 0 << ""
                               << ""
                               << "";
    QTest::newRow("unwritable target reported") << 2 << "*"
                                                << ""
                                                << "";
}

void tst_ReportExport::exportHtml()
{
    QFETCH(int, page);
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(QString, reading);

    QTemporaryDir dir;
    Readings readings;
    for (const QString name : {"NUM", "PM", "COMP", "CEL", "PET", "ADV"})
        readings.byName(name)->reportHtml = "<html><head></head><body>" + QString(name)
            + "<img src=\"file:///" + m_png + "\"/></body></html>";

    RecordingExport exporter(nullptr);
    exporter.setSources(readings.sources());
    const bool unwritable = answer == QLatin1String("*");
    if (unwritable)
        exporter.answer = unwritablePath(dir, "report.html");
    else
        exporter.answer = answer.isEmpty() ? QString() : dir.filePath(answer);
    exporter.exportHtml(page);

    QCOMPARE(exporter.captions, QStringList {"Save to HTML"});
    QCOMPARE(exporter.filters, QStringList {"HTML Files (*.html)"});
    QCOMPARE(exporter.criticals.size(), unwritable ? 1 : 0);
    if (unwritable)
        QVERIFY(exporter.criticals.first().startsWith("Error|Cannot save the report to"));
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    if (written.isEmpty()) {
        QVERIFY(files.isEmpty() || files == QStringList {"blocker"});
        return;
    }
    QCOMPARE(files, QStringList {written});
    const QString html = QString::fromUtf8(readAll(dir.filePath(written)));
    QVERIFY(html.contains("<body>" + reading + "<img src=\"data:image/png;base64,"));
    QVERIFY(html.contains("line-height: 20px"));
    QVERIFY(!html.contains("file:"));
}

void tst_ReportExport::exportChart_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("magic");
    QTest::addColumn<bool>("hasChart");

    QTest::newRow("png") << "chart.png"
                         << "chart.png" << QByteArray("\x89PNG\r\n", 6) << true;
    QTest::newRow("suffix added") << "chart"
                                  << "chart.png" << QByteArray("\x89PNG\r\n", 6) << true;
    QTest::newRow("jpeg by suffix") << "chart.jpg"
                                    << "chart.jpg" << QByteArray("\xff\xd8\xff", 3) << true;
    QTest::newRow("jpeg in capitals") << "Chart.JPEG"
                                      << "Chart.JPEG" << QByteArray("\xff\xd8\xff", 3) << true;
    QTest::newRow("another suffix gets png")
        << "chart.num"
        << "chart.num.png" << QByteArray("\x89PNG\r\n", 6) << true;
    QTest::newRow("unwritable target reported") << "*"
                                                << "" << QByteArray() << true;
    QTest::newRow("no chart reported") << "chart.png"
                                       << "" << QByteArray() << false;
}

void tst_ReportExport::exportChart()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(QByteArray, magic);
    QFETCH(bool, hasChart);

    QTemporaryDir dir;
    // Opaque, as the chart canvas is, and tall enough for the PNG encoder
    // to split it.
    QImage chart(320, 1450, QImage::Format_RGB32);
    chart.fill(Qt::white);
    {
        QPainter painter(&chart);
        painter.fillRect(40, 60, 100, 80, Qt::darkBlue);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::darkRed, 7));
        painter.drawEllipse(20, 300, 280, 1100);
    }
    RecordingExport exporter(nullptr);
    int rendered = 0;
    bool busyWhileDrawing = false;
    exporter.chartImage = [&] {
        ++rendered;
        busyWhileDrawing = QGuiApplication::overrideCursor()
            && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        return hasChart ? chart : QImage();
    };
    exporter.answer = answer == "*" ? unwritablePath(dir, "chart.png") : dir.filePath(answer);
    exporter.exportHtml(CReportExport::PageChart);

    QCOMPARE(exporter.captions, QStringList {"Save to PNG"});
    QCOMPARE(exporter.filters, QStringList {"PNG Files (*.png)"});
    QCOMPARE(rendered, 1);
    // Busy while it draws and writes, and not left so, also on failure.
    QVERIFY(busyWhileDrawing);
    QVERIFY(!QGuiApplication::overrideCursor());
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    if (written.isEmpty()) {
        QCOMPARE(exporter.criticals.size(), 1);
        QVERIFY(exporter.criticals.first().startsWith("Error|"));
        QVERIFY(!files.contains(QFileInfo(exporter.answer).fileName()));
        return;
    }
    QVERIFY(exporter.criticals.isEmpty());
    QCOMPARE(files, QStringList {written});
    const QByteArray bytes = readAll(dir.filePath(written));
    QVERIFY(bytes.startsWith(magic));
    const QImage back = QImage::fromData(bytes);
    QCOMPARE(back.size(), chart.size());
    if (magic.startsWith("\x89PNG")) {
        // Every pixel as drawn.
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), chart);
        return;
    }
    QVERIFY(qGray(back.pixel(90, 100)) < 80);
    QVERIFY(qGray(back.pixel(250, 200)) > 200);
}

void tst_ReportExport::askReportsList_data()
{
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<QString>("untick");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("flags");

    QTest::newRow("western, all") << false << "" << true << "11111";
    QTest::newRow("chaldean, chart off") << true << "4" << true << "11110";
    QTest::newRow("some off") << false << "13" << true << "10101";
    QTest::newRow("closed still takes the boxes") << false << "02" << false << "01011";
}

void tst_ReportExport::askReportsList()
{
    QFETCH(bool, chaldean);
    QFETCH(QString, untick);
    QFETCH(bool, accept);
    QFETCH(QString, flags);

    RecordingExport exporter(nullptr);
    QStringList captions;
    QList<QRect> geometries;
    QString styleSheet;
    QSize size;
    exporter.onDialog = [&](QDialog *dialog) {
        size = dialog->size();
        styleSheet = dialog->styleSheet();
        const auto boxes = dialog->findChildren<QCheckBox *>();
        for (QCheckBox *box : boxes) {
            captions << box->text();
            geometries << box->geometry();
            if (!box->isChecked())
                return int(QDialog::Rejected);
        }
        for (const QChar index : untick)
            boxes.at(index.digitValue())->setChecked(false);
        if (!accept)
            return int(QDialog::Rejected);
        const auto buttons = dialog->findChildren<QPushButton *>();
        if (buttons.size() != 1 || buttons.first()->text() != "Ok")
            return int(QDialog::Rejected);
        buttons.first()->click();
        return dialog->result();
    };

    QCOMPARE(exporter.askReportsList(chaldean, "QDialog { background: #123456; }"), accept);
    QCOMPARE(exporter.dialogsRun, 1);
    QCOMPARE(exporter.sectionFlags(), flagsFrom(flags));
    QCOMPARE(size, QSize(220, 215));
    QCOMPARE(styleSheet, QString("QDialog { background: #123456; }"));
    QCOMPARE(captions,
             (QStringList {chaldean ? " Chaldean Numerology" : " Western Numerology",
                           " Psychomatrix", " Compatibility", " Celebrities", " Graphic Chart"}));
    QCOMPARE(geometries.first(), QRect(10, 10, 200, 25));
    QCOMPARE(geometries.last(), QRect(10, 130, 200, 25));

    // The next dialog starts with every box ticked again.
    exporter.onDialog = [&](QDialog *dialog) {
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            if (!box->isChecked())
                return int(QDialog::Rejected);
        return int(QDialog::Accepted);
    };
    QVERIFY(exporter.askReportsList(false));
    QCOMPARE(exporter.sectionFlags(), flagsFrom("11111"));
}

// The ways "Save All Reports to PDF" ends before a PDF job starts.
void tst_ReportExport::pdfExportStopsEarly_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("fileDialogs");
    QTest::addColumn<QString>("critical"); // how the one box begins; empty: none

    QTest::newRow("sections dialog closed") << false << "x.pdf" << 0 << QString();
    QTest::newRow("file dialog cancelled") << true << "" << 1 << QString();
    // The joined report cannot be written for the engine to load.
    QTest::newRow("no temporary folder")
        << true << "x.pdf" << 1 << "Error|Cannot write the report for the PDF:";
}

void tst_ReportExport::pdfExportStopsEarly()
{
    QFETCH(bool, accept);
    QFETCH(QString, answer);
    QFETCH(int, fileDialogs);
    QFETCH(QString, critical);

    QTemporaryDir dir, elsewhere;
    const QByteArray tmp = qgetenv("TMPDIR");
    if (!critical.isEmpty()) // a file, not a folder
        qputenv("TMPDIR", QFile::encodeName(QFileInfo(unwritablePath(elsewhere, "x")).path()));
    Readings readings;
    readings.numerology.reportHtml = documentOfLength("NUM", 300);
    RecordingExport exporter(nullptr);
    exporter.setSources(readings.sources());
    exporter.renderChart = [](QImage *, QString *) {
        return false;
    };
    exporter.onDialog = [&](QDialog *) {
        return accept ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
    exporter.answer = answer.isEmpty() ? QString() : dir.filePath(answer);
    exporter.exportPdfAll(false);
    tmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);

    QCOMPARE(exporter.captions.size(), fileDialogs);
    if (fileDialogs)
        QCOMPARE(exporter.filters.first(), QString("PDF Files (*.pdf)"));
    QCOMPARE(exporter.criticals.size(), critical.isEmpty() ? 0 : 1);
    QVERIFY(exporter.criticals.value(0).startsWith(critical));
    QVERIFY(!QApplication::overrideCursor()); // the busy cursor ends with the job
    QVERIFY(!exporter.reportInProgress());
    QVERIFY(!exporter.currentJob());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

// A shared layout with markup in its font names, titles and text: the saved
// report holds none of it that a browser would run or embed.
void tst_ReportExport::hostileLayoutSavesNoMarkup()
{
    QVERIFY(ReadingTest::loadMarkerDatabase());
    QFile file(TestEnvironment::dataPath(QStringLiteral("layouts/hostile.zqnr")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<reportSetting> layouts {reportSetting()};
    QVERIFY(readReportSetting(&file, &layouts[0]));
    CNumerology reading;
    reading.preloadRes(m_dir.path() + QLatin1Char('/'));
    QVERIFY(reading.calculate("ANN LEE SMITH", "ANN", {}, {}, false, QDate(1980, 3, 5),
                              QDate(2026, 3, 15), &layouts, 1, 0, false));

    const QString target = m_dir.filePath(QStringLiteral("hostile.html"));
    QString error;
    QVERIFY2(CReportExport::writeReportHtml(reading.reportHtml, target, &error), qPrintable(error));
    const QString saved = QString::fromUtf8(readAll(target));
    QVERIFY(saved.contains(QLatin1String("Life path &lt;frame&gt; notes")));
    QVERIFY(saved.contains(QLatin1String("Seven ")));
    QCOMPARE(ReadingTest::activeMarkup(saved), QString());
    QVERIFY(!saved.contains(QLatin1String("secret.txt")));
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    tst_ReportExport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_reportexport.moc"
