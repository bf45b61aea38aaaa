#include "designer/lnrstream.h"
#include "designer/managerthumbnaildlg.h"
#include "designer/reportdocument.h"
#include "designerfixture.h"
#include "hostiletemplates.h"
#include "testenvironment.h"
#include "tests/support/hostilepicture.h"
#include "tests/support/testenvironment.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

using namespace DesignerTest;

// Templates written by the program's own writer with extreme values in one
// field each, and a few with damaged bytes the writer cannot produce. Each
// must be refused, or load with the value brought into range and then draw.
// With LUMARO_WRITE_GOLDEN=1 they also become the seeds of the template
// fuzzers.
namespace {

using Shaper = std::function<void(CReportDocument &, CREPage *, CREPageItem *)>;

// Colour (0x12, 0x34, 0x56) marks the stored colour whose spec byte a row damages.
const QColor marker(0x12, 0x34, 0x56);

QByteArray write(int type, const Shaper &shape)
{
    CReportDocument doc(nullptr, nullptr);
    // The writer draws the first page as the file's preview: the hostile
    // values go on the second, so that only the reader meets them.
    doc.currentPage->width = 20;
    doc.currentPage->height = 15;
    CREPage *page = doc.addPage(QSizeF(200, 150), QStringLiteral("Hostile"));
    CREPageItem *frame = makeObject(doc.container, type, 10, 10, 80, 40);
    page->items.append(frame);
    frame->inner->text = QStringLiteral("LUMARO");
    shape(doc, page, frame->inner);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream s(&buffer);
    return doc.save(s) == 0 ? bytes : QByteArray();
}

QByteArray damageColorSpec(QByteArray bytes, char spec)
{
    const int at = bytes.indexOf(QByteArray("\xff\xff\x12\x12\x34\x34\x56\x56", 8));
    if (at < 1)
        return QByteArray();
    bytes[at - 1] = spec;
    return bytes;
}

QImage onePixel()
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

int load(CReportDocument &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream s(&buffer);
    return doc.load(s);
}

// The row's file becomes a seed of both template fuzzers.
void writeSeeds(const QByteArray &bytes)
{
    const QString name
        = QString::fromLatin1(QTest::currentDataTag())
              .replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    for (const char *target : {"fuzz/lnr/", "fuzz/lnredit/"}) {
        QFile seed(
            TestEnvironment::dataPath(QLatin1String(target) + name + QStringLiteral(".lnr")));
        if (seed.open(QIODevice::WriteOnly))
            seed.write(bytes);
    }
}

CREPageItem *firstContent(const CReportDocument &doc)
{
    const CREPage *page = doc.pageLists.first()->value(1);
    return !page || page->items.isEmpty() ? nullptr : page->items.first()->inner;
}

} // namespace

Q_DECLARE_METATYPE(HostileTemplates::Builder)

class TestHostileTemplate : public QObject
{
    Q_OBJECT

private slots:
    void hostileFiles_data();
    void hostileFiles();
    void heavyTemplates_data();
    void heavyTemplates();
    void placingWithinLimits_data();
    void placingWithinLimits();
    void pictureBudget_data();
    void pictureBudget();
    void heavyItems_data();
    void heavyItems();
    void longStringDeclared();

private:
    void loadsOrIsRefused();
};

void TestHostileTemplate::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // What the loaded first content item or page must hold; empty for a
    // refused file.
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("expected");

    const double bigAngle = std::fmod(1e300, 360.0);

    QTest::newRow("name table sheared 1000") << write(
        12, [](CReportDocument &, CREPage *, CREPageItem *item) {
            item->key = QStringLiteral("Name");
            item->transform = QTransform(1, 0, 1000, 1, 0, 0);
        }) << QString() << 0.0;
    QTest::newRow("dashed path, almost projective, pen 3e9") << write(
        4, [](CReportDocument &, CREPage *, CREPageItem *item) {
            item->shape.addEllipse(0, 0, 80, 40);
            item->penStyle = Qt::DashLine;
            item->penWidth = 3e9;
            item->transform = QTransform(1, 0, 0, 0, 1, 0, 0, 0, 1.0000000009);
        }) << QString() << 0.0;
    QTest::newRow("symbol bound size 1e300") << write(
        10, [](CReportDocument &, CREPage *, CREPageItem *item) {
            item->boundSize = QSizeF(1e300, 1e300);
        }) << QString() << 0.0;
    QTest::newRow("code 128 of 3001 letters") << write(
        10, [](CReportDocument &, CREPage *, CREPageItem *item) {
            item->barcodeKind = 2;
            item->text = QString(TemplateLimits::MaxSymbolText + 1, QLatin1Char('W'));
        }) << QString() << 0.0;
    QTest::newRow("picture slot number 2147483647") << write(
        7, [](CReportDocument &, CREPage *, CREPageItem *item) { item->blockIndex = 2147483647; })
                                                    << QString() << 0.0;
    QTest::newRow("block reference order 2147483647") << write(
        8, [](CReportDocument &doc, CREPage *, CREPageItem *item) {
            item->blockPage = doc.addBlock(QSizeF(50, 50), QStringLiteral("Block"));
            item->order = 2147483647;
        }) << QString() << 0.0;
    QTest::newRow("item colour spec 9") << damageColorSpec(
        write(3, [](CReportDocument &, CREPage *, CREPageItem *item) { item->color = marker; }), 9)
                                        << QString() << 0.0;
    QTest::newRow("picture declaring 23000 x 23000") << HostilePicture::declareSize(
        write(2, [](CReportDocument &, CREPage *, CREPageItem *item) { item->image = onePixel(); }),
        23000, 23000) << QString() << 0.0;
    QTest::newRow("257 empty pages") << write(
        3, [](CReportDocument &doc, CREPage *, CREPageItem *) {
            for (int i = 0; i < 256; ++i)
                doc.addPage(QSizeF(10, 10), QString());
        }) << QString() << 0.0;
    QTest::newRow("page 0.001 units wide")
        << write(3, [](CReportDocument &, CREPage *page, CREPageItem *) { page->width = 0.001; })
        << QString() << 0.0;

    QTest::newRow("angle 1e300") << write(3, [](CReportDocument &, CREPage *, CREPageItem *item) {
        item->angle = 1e300;
        item->outer->angle = 1e300;
    }) << "angle" << bigAngle;
    QTest::newRow("path pen width 1e300") << write(
        4, [](CReportDocument &, CREPage *, CREPageItem *item) {
            item->shape.addRect(5, 5, 60, 30);
            item->penStyle = Qt::DotLine;
            item->penWidth = 1e300;
        }) << "penWidth" << TemplateLimits::MaxPenWidth;
    QTest::newRow("pen style 77") << write(4, [](CReportDocument &, CREPage *, CREPageItem *item) {
        item->shape.addRect(5, 5, 60, 30);
        item->penStyle = 77;
    }) << "penStyle" << double(Qt::SolidLine);
    QTest::newRow("page repeat 2147483647") << write(
        5, [](CReportDocument &, CREPage *page, CREPageItem *) { page->repeatCount = 2147483647; })
                                            << "repeatCount" << double(TemplateLimits::MaxRepeat);
    QTest::newRow("font of 1e9 points") << write(
        6, [](CReportDocument &, CREPage *, CREPageItem *item) {
            item->key = QStringLiteral("#full_name");
            item->font = QFont(QStringLiteral("Arial"));
            item->font.setPointSizeF(1e9);
        }) << "pixelSize" << double(TemplateLimits::MaxFontPixels);
    QTest::newRow("every bound reached") << write(
        12, [](CReportDocument &doc, CREPage *page, CREPageItem *item) {
            page->width = TemplateLimits::MaxSide;
            page->height = 1;
            item->key = QStringLiteral("Name");
            const double m = TemplateLimits::MaxScale;
            item->transform = QTransform(m, m, -m, m, TemplateLimits::MaxSide, 0);
            item->outer->transform = QTransform(m, -m, m, m, 0, -TemplateLimits::MaxSide);
            item->font.setPixelSize(TemplateLimits::MaxFontPixels);
            doc.gridStepX = 1.0000001;
        }) << "transform" << TemplateLimits::MaxScale;
    QTest::newRow("text squashed 2000 to 1") << write(
        3, [](CReportDocument &, CREPage *, CREPageItem *item) {
            item->font.setPixelSize(TemplateLimits::MaxFontPixels);
            item->transform = QTransform::fromScale(1, 0.0005);
            item->text = QStringLiteral("Hello 123");
        }) << "transform" << 1.0;
    QTest::newRow("self-referencing block") << write(
        3, [](CReportDocument &doc, CREPage *, CREPageItem *) {
            CREPage *block = doc.addBlock(QSizeF(50, 50), QStringLiteral("Loop"));
            CREPageItem *self = makeObject(doc.container, 8, 0, 0, 40, 40);
            self->inner->blockPage = block;
            block->items.append(self);
        }) << "blocks" << 1.0;
}

void TestHostileTemplate::hostileFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(double, expected);
    QVERIFY(!bytes.isEmpty());

    if (qEnvironmentVariableIntValue("LUMARO_WRITE_GOLDEN"))
        writeSeeds(bytes);

    Person person;
    QElapsedTimer timer;
    timer.start();
    CReportDocument doc(&person.container, nullptr);
    CREPage *const untouched = doc.currentPage;
    const int result = load(doc, bytes);
    if (field.isEmpty()) {
        QCOMPARE(result, -1);
        QVERIFY(!doc.loadError().isEmpty());
        QCOMPARE(doc.currentPage, untouched);
        return;
    }
    QCOMPARE(result, 0);
    const CREPageItem *item = firstContent(doc);
    QVERIFY(item);
    const QHash<QString, double> read {
        {QStringLiteral("angle"), item->angle},
        {QStringLiteral("penWidth"), item->penWidth},
        {QStringLiteral("penStyle"), item->penStyle},
        {QStringLiteral("repeatCount"),
         item->outer ? doc.pageLists.first()->at(1)->repeatCount : 0},
        {QStringLiteral("pixelSize"), item->font.pixelSize()},
        {QStringLiteral("transform"), item->transform.m11()},
        {QStringLiteral("blocks"), doc.blocks.size()},
    };
    QCOMPARE(read.value(field), expected);

    // What loaded draws, turns and renders in bounded time.
    const_cast<CREPageItem *>(item)->outer->rotate(1e300, true);
    QVERIFY(item->outer->angle >= 0 && item->outer->angle <= 360);
    const QImage chart = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(100, 100));
    QVERIFY(!chart.isNull());
    QVERIFY2(timer.elapsed() < TestEnvironment::HangGuardMs,
             qPrintable(QString::number(timer.elapsed())));
}

// Templates within every single-field bound and heavy by their sum, built
// and saved the way the designer saves them: the save and the reader refuse
// the same ones with the same message, and what they take draws on the
// Graphic Chart page and for the export within the pixel budget.
void TestHostileTemplate::heavyTemplates_data()
{
    using namespace HostileTemplates;
    QTest::addColumn<Builder>("build");
    QTest::addColumn<int>("size");
    // A part of the message for a refused template; empty when it loads.
    QTest::addColumn<QString>("refusal");
    // The export picture; a side off by one passes (scaling to the budget).
    QTest::addColumn<QSize>("exportSize");

    const auto texts = [](int items, int pages) -> Builder {
        return [items, pages](CReportDocument &doc, int refs) {
            textBlockReferences(doc, items, refs, pages);
        };
    };
    const QString objects = QStringLiteral("more than 20000 objects\r\non its pages");
    const QString references = QStringLiteral("more than\r\n1000 block references");
    const QSize a4(5032, 7120);
    // Empty pictures: objects that neither lay out text nor paint.
    const Builder pictures1 = [](CReportDocument &doc, int refs) {
        blockReferences(doc, CREPageItem::Image, 1, refs, 1);
    };

    QTest::newRow("4 pages of 1e6 units")
        << Builder(emptyPages) << 4 << QString() << QSize(6000, 6000);
    QTest::newRow("64 pages of 1e6 units")
        << Builder(emptyPages) << 64 << QString() << QSize(6000, 6000);
    const auto backgrounds = [](int side) -> Builder {
        return [side](CReportDocument &doc, int pages) {
            stretchedBackgrounds(doc, pages, side);
        };
    };
    QTest::newRow("1 stretched 2048 x 2048 background")
        << backgrounds(2048) << 1 << QString() << a4;
    QTest::newRow("2 stretched 2048 x 2048 backgrounds")
        << backgrounds(2048) << 2 << QString() << a4;
    QTest::newRow("24 pages of one 1024 x 1024 background")
        << backgrounds(1024) << 24 << QString() << a4;
    QTest::newRow("200 texts x 2000 references") << texts(200, 1) << 2000 << references << QSize();
    QTest::newRow("200 texts x 2 references, 400 drawn") << texts(200, 1) << 2 << QString() << a4;
    QTest::newRow("1 picture x 1000 references, 2000 drawn")
        << pictures1 << 1000 << QString() << a4;
    QTest::newRow("1 text x 1001 references") << texts(1, 1) << 1001 << references << QSize();
    QTest::newRow("8 pages x 2000 references") << texts(1, 8) << 2000 << references << QSize();
    QTest::newRow("8 pages x 125 references") << texts(1, 8) << 125 << QString() << a4;
    // The reader names what is too large as the save does.
    QTest::newRow("257 pages") << Builder(emptyPages) << 257
                               << QStringLiteral("at most\r\n256 pages") << QSize();
    QTest::newRow("page 2e6 units wide") << Builder([](CReportDocument &doc, int side) {
        reset(doc);
        doc.addPage(QSizeF(10, 10), QStringLiteral("Small"));
        doc.addPage(QSizeF(side, 10), QStringLiteral("Wide"));
    }) << 2000000 << QStringLiteral("\"Wide\" is larger")
                                         << QSize();
    QTest::newRow("symbol of 3001 characters") << Builder([](CReportDocument &doc, int length) {
        reset(doc);
        doc.addPage(QSizeF(10, 10), QStringLiteral("Small"));
        place(doc.addPage(QSizeF(840, 1188), QStringLiteral("Codes")), CREPageItem::Symbol, 0, 0,
              99, 99)
            ->text
            = QString(length, QLatin1Char('1'));
    }) << 3001 << QStringLiteral("\"Codes\"\r\nholds more than 3000")
                                               << QSize();
    QTest::newRow("4 pages x 2000 own objects") << Builder([](CReportDocument &doc, int pages) {
        reset(doc);
        for (int p = 0; p < pages; ++p) {
            CREPage *page = doc.addPage(QSizeF(840, 1188), QString());
            for (int i = 0; i < TemplateLimits::MaxItems; ++i)
                place(page, CREPageItem::Image, i % 40 * 20.0, i / 40 * 20.0, 20, 20);
        }
    }) << 4 << QString() << a4;
    QTest::newRow("10 blocks x 2000 objects and a page")
        << Builder([](CReportDocument &doc, int pages) {
               reset(doc);
               for (int p = 0; p < pages; ++p) {
                   CREPage *page = doc.addBlock(QSizeF(840, 1188), QString());
                   for (int i = 0; i < TemplateLimits::MaxItems; ++i)
                       place(page, CREPageItem::Text, i % 40 * 20.0, i / 40 * 20.0, 20, 20);
               }
               place(doc.addPage(QSizeF(840, 1188), QString()), CREPageItem::Text, 0, 0, 20, 20);
           })
        << 10 << objects << QSize();
}

void TestHostileTemplate::heavyTemplates()
{
    QFETCH(HostileTemplates::Builder, build);
    QFETCH(int, size);
    QFETCH(QString, refusal);
    QFETCH(QSize, exportSize);

    CReportDocument doc(nullptr, nullptr);
    build(doc, size);
    const QByteArray bytes = HostileTemplates::write(doc);
    if (qEnvironmentVariableIntValue("LUMARO_WRITE_GOLDEN") && bytes.size() < 256 * 1024)
        writeSeeds(bytes);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("heavy.lnr"));
    if (!refusal.isEmpty()) {
        QVERIFY2(doc.limitProblem().contains(refusal), qPrintable(doc.limitProblem()));
        // The save writes nothing and keeps the file it would replace.
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QString error;
        QVERIFY(!doc.saveToFile(path, &error));
        QCOMPARE(error, doc.limitProblem());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        // A file from elsewhere holding the same is refused with the same words.
        Person person;
        CReportDocument reader(&person.container, nullptr);
        CREPage *const untouched = reader.currentPage;
        QCOMPARE(HostileTemplates::read(reader, bytes), -1);
        QCOMPARE(reader.loadError(), doc.limitProblem());
        QCOMPARE(reader.currentPage, untouched);
        return;
    }
    QVERIFY2(doc.saveToFile(path), qPrintable(doc.saveError()));
    Person person;
    QString error;
    const QImage board = CManagerThumbnailDlg::slotPrintReport(0, path, &person.container,
                                                               QSize(636, 900), nullptr, &error);
    QVERIFY2(!board.isNull(), qPrintable(error));
    QVERIFY(board.width() <= 636 && board.height() <= 900);
    const QImage exported
        = CManagerThumbnailDlg::slotPrintReport(0, path, &person.container, QSize(), nullptr);
    QVERIFY(qint64(exported.width()) * exported.height() <= TemplateLimits::MaxChartPixels);
    QVERIFY2(qAbs(exported.width() - exportSize.width()) <= 1
                 && qAbs(exported.height() - exportSize.height()) <= 1,
             qPrintable(QStringLiteral("%1 x %2").arg(exported.width()).arg(exported.height())));
}

// Single items that ask a lot of each draw: large symbols drawn many times,
// long texts, outlines reaching far off the page, a large picture in a
// block. Each is refused by the save and the reader alike, or loads and
// renders for the Graphic Chart page and for the export.
void TestHostileTemplate::heavyItems_data()
{
    using namespace HostileTemplates;
    QTest::addColumn<Builder>("build");
    QTest::addColumn<int>("size");
    // A part of the message for a refused template; empty when it loads.
    QTest::addColumn<QString>("refusal");

    const QString text = QStringLiteral("holds more than 20000 characters");
    const QString points = QStringLiteral("has an outline of more than 10000 points");
    const QString strings = QStringLiteral("more than 20000 characters");
    QTest::newRow("block of a 3000-digit QR symbol, 80 references")
        << Builder(symbolBlockReferences) << 80 << QString();
    QTest::newRow("400 QR symbols of 3000 digits") << Builder(symbolItems) << 400 << QString();
    QTest::newRow("text of 1000000 characters") << Builder(longText) << 1000000 << text;
    QTest::newRow("text of 20001 characters") << Builder(longText) << 20001 << text;
    QTest::newRow("text of 20000 characters") << Builder(longText) << 20000 << QString();
    QTest::newRow("path of 1000 curves at 1e6, scaled 100, pen 1000")
        << Builder(hugePath) << 1000 << QString();
    QTest::newRow("path of 3332 curves, 9998 points") << Builder(hugePath) << 3332 << QString();
    QTest::newRow("path of 3333 curves, 10001 points") << Builder(hugePath) << 3333 << points;
    QTest::newRow("block of a 4096 x 4096 picture, 1 reference")
        << Builder([](CReportDocument &doc, int refs) { pictureBlockReferences(doc, refs); }) << 1
        << QString();
    QTest::newRow("block of a 2048 x 2048 picture, 80 references")
        << Builder([](CReportDocument &doc, int refs) { pictureBlockReferences(doc, refs, 2048); })
        << 80 << QString();
    QTest::newRow("strings of a text and a page name of 20000 characters")
        << Builder(longStrings) << 20000 << QString();
    QTest::newRow("strings of a text and a page name of 20001 characters")
        << Builder(longStrings) << 20001 << strings;
}

namespace {

// The A4 template read into reader draws for the Graphic Chart page and
// the export.
void rendersA4(CReportDocument &reader)
{
    const QImage board = CManagerThumbnailDlg::slotPrintReport(0, &reader, QSize(636, 900));
    QVERIFY(!board.isNull() && board.width() <= 636 && board.height() <= 900);
    QVERIFY(board.width() >= 635 || board.height() >= 899);
    const QImage exported = CManagerThumbnailDlg::slotPrintReport(0, &reader, QSize(0, 0));
    QVERIFY(!exported.isNull());
    QVERIFY(qint64(exported.width()) * exported.height() <= TemplateLimits::MaxChartPixels);
    QCOMPARE(exported.size(), QSize(5032, 7120));
}

} // namespace

void TestHostileTemplate::heavyItems()
{
    loadsOrIsRefused();
}

// A template beyond a limit is refused by the save, which leaves the file
// it would replace, and by the reader with the save's words; one within
// every limit loads and draws.
void TestHostileTemplate::loadsOrIsRefused()
{
    QFETCH(HostileTemplates::Builder, build);
    QFETCH(int, size);
    QFETCH(QString, refusal);

    CReportDocument doc(nullptr, nullptr);
    build(doc, size);
    const QByteArray bytes = HostileTemplates::write(doc);
    QVERIFY(!bytes.isEmpty());
    Person person;
    CReportDocument reader(&person.container, nullptr);
    const int result = HostileTemplates::read(reader, bytes);
    if (refusal.isEmpty()) {
        QVERIFY2(doc.limitProblem().isEmpty(), qPrintable(doc.limitProblem()));
        QCOMPARE(result, 0);
        rendersA4(reader);
        return;
    }
    QVERIFY2(doc.limitProblem().contains(refusal), qPrintable(doc.limitProblem()));
    QCOMPARE(result, -1);
    QCOMPARE(reader.loadError(), doc.limitProblem());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("refused.lnr"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    QVERIFY(!doc.saveToFile(path));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
}

// A string is refused from the length it declares: a file declaring a
// page name of 50 million characters and ending soon after is refused for
// the name's length, not read to its end.
void TestHostileTemplate::longStringDeclared()
{
    CReportDocument doc(nullptr, nullptr);
    HostileTemplates::longStrings(doc, 20);
    QByteArray bytes = HostileTemplates::write(doc);
    const QByteArray name = QByteArray("\0\0\0\x28", 4) + QByteArray("\0k", 2).repeated(20);
    const int at = bytes.indexOf(name);
    QVERIFY(at > 0);
    bytes = bytes.left(at + name.size() + 100);
    bytes[at] = 0x05;
    bytes[at + 1] = char(0xf5);
    bytes[at + 2] = char(0xe1);
    bytes[at + 3] = 0x00;
    CReportDocument reader(nullptr, nullptr);
    QCOMPARE(HostileTemplates::read(reader, bytes), -1);
    QVERIFY2(reader.loadError().contains(QStringLiteral("more than 20000 characters")),
             qPrintable(reader.loadError()));
}

void TestHostileTemplate::placingWithinLimits_data()
{
    using namespace HostileTemplates;
    QTest::addColumn<Builder>("build");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("reference"); // to the first block; else a text
    QTest::addColumn<QString>("refusal");

    const Builder references = [](CReportDocument &doc, int refs) {
        blockReferences(doc, CREPageItem::Image, 1, refs, 1);
    };
    const Builder fullBlocks = [](CReportDocument &doc, int less) {
        reset(doc);
        for (int b = 0; b < 10; ++b) {
            CREPage *block = doc.addBlock(QSizeF(840, 1188), QString());
            for (int i = 0; i < TemplateLimits::MaxItems - (b == 0 ? less : 0); ++i)
                place(block, CREPageItem::Text, i % 40 * 20.0, i / 40 * 20.0, 20, 20);
        }
        doc.addPage(QSizeF(840, 1188), QStringLiteral("Empty"));
    };

    QTest::newRow("reference number 1000") << references << 999 << true << QString();
    QTest::newRow("reference number 1001")
        << Builder([](CReportDocument &doc, int refs) { textBlockReferences(doc, 1, refs, 8); })
        << 125 << true << QStringLiteral("1000 block references");
    QTest::newRow("object number 20000") << fullBlocks << 1 << false << QString();
    QTest::newRow("object number 20001")
        << fullBlocks << 0 << false << QStringLiteral("more than 20000 objects");
}

// The designer places an object only where the reader would still take the
// template by its counts of objects and block references.
void TestHostileTemplate::placingWithinLimits()
{
    QFETCH(HostileTemplates::Builder, build);
    QFETCH(int, size);
    QFETCH(bool, reference);
    QFETCH(QString, refusal);

    CReportDocument doc(nullptr, nullptr);
    build(doc, size);
    QVERIFY2(doc.limitProblem().isEmpty(), qPrintable(doc.limitProblem()));
    CREPage *target = doc.pageLists.first()->first();
    CREPageItem *frame = DesignerTest::makeObject(
        nullptr, reference ? CREPageItem::BlockReference : CREPageItem::Text, 0, 0, 20, 20);
    if (reference)
        frame->inner->blockPage = doc.blocks.first();
    const QString problem = doc.roomProblem(reference);
    QCOMPARE(problem.isEmpty(), refusal.isEmpty());
    QVERIFY2(problem.contains(refusal), qPrintable(problem));
    QCOMPARE(doc.roomForObject(target), reference || refusal.isEmpty());
    // What the check allows, the save and the reader take.
    target->items.append(frame);
    QCOMPARE(doc.limitProblem(), problem);
}

void TestHostileTemplate::pictureBudget_data()
{
    QTest::addColumn<int>("pictures");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("refused");

    // Of 4096 x 4096 each: 29 hold 487 million pixels, 30 hold 503 million.
    QTest::newRow("29 pictures") << 29 << 1 << false;
    QTest::newRow("30 pictures") << 30 << 1 << true;
    // A picture stored again is kept and counted once.
    QTest::newRow("29 pictures, each stored 3 times") << 29 << 3 << false;
}

// The pixels of a template's pictures are counted from their headers as
// the file is read, each different picture once; the designer holds a
// template it adds to within the same count.
void TestHostileTemplate::pictureBudget()
{
    QFETCH(int, pictures);
    QFETCH(int, copies);
    QFETCH(bool, refused);

    const QByteArray bytes = HostileTemplates::declaredPictures(pictures, copies, 4096);
    QVERIFY(!bytes.isEmpty());
    Person person;
    CReportDocument reader(&person.container, nullptr);
    const int result = HostileTemplates::read(reader, bytes);
    if (refused) {
        QCOMPARE(result, -1);
        QCOMPARE(reader.loadError(), CReportDocument::tooManyPixelsText());
        return;
    }
    QCOMPARE(result, 0);
    QVERIFY2(reader.limitProblem().isEmpty(), qPrintable(reader.limitProblem()));
    QImage more(4096, 4096, QImage::Format_RGB32);
    more.fill(Qt::darkCyan);
    QVERIFY(!reader.roomForPicture(more));
    HostileTemplates::place(reader.pageLists.first()->first(), CREPageItem::Image, 0, 0, 50, 50)
        ->image
        = more;
    QCOMPARE(reader.limitProblem(), CReportDocument::tooManyPixelsText());
}

QTEST_MAIN(TestHostileTemplate)
#include "tst_hostiletemplate.moc"
