#include "designer/managerthumbnaildlg.h"
#include "designer/reportdocument.h"
#include "designer/style.h"
#include "designerfixture.h"
#include "testenvironment.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace DesignerTest;

namespace {

QString goldenPath()
{
    return TestEnvironment::dataPath(QStringLiteral("designer/golden.lnr"));
}

// A page filled with one colour, optionally holding an item of the given type.
CREPage *colouredPage(CReportDocument &doc, QList<CREPage *> *list, const QColor &colour,
                      int itemType = 0, const QSizeF &size = QSizeF(840, 1188))
{
    auto *page = new CREPage(doc.container, doc.style);
    page->setPageSize(size);
    page->pageBackground.mode = 0;
    page->pageBackground.color = colour;
    if (itemType) {
        CREPageItem *frame = makeObject(doc.container, itemType, 100, 100, 300, 300);
        frame->inner->text = QStringLiteral("12345");
        page->items.append(frame);
    }
    list->append(page);
    if (!doc.currentPage)
        doc.currentPage = page;
    return page;
}

QList<CREPage *> *newList(CReportDocument &doc)
{
    auto *list = new QList<CREPage *>;
    doc.pageLists.append(list);
    return list;
}

QColor centre(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

QImage saveShot(const QImage &image, const QString &name)
{
    if (!qEnvironmentVariableIsEmpty("LUMARO_SHOTS")) {
        QDir().mkpath(qEnvironmentVariable("LUMARO_SHOTS"));
        image.save(qEnvironmentVariable("LUMARO_SHOTS") + QLatin1Char('/') + name);
    }
    return image;
}

} // namespace

class TestManagerThumbnailDlg : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void defaultPageFourTimesCanvas();
    void nothingToDraw();
    void lastDrawnPageWins_data();
    void lastDrawnPageWins();
    void repetitionNumbersRun();
    void recordDrivenPages_data();
    void recordDrivenPages();
    void goldenFrontPage();
    void goldenDataPageShowsPerson();
    void unreadableTemplate();
};

void TestManagerThumbnailDlg::sizes_data()
{
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QSize>("wish");
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<QSize>("result");

    QTest::newRow("default page, chart area")
        << QSizeF(840, 1188) << QSize(400, 400) << QSize(1258, 1780) << QSize(282, 400);
    QTest::newRow("landscape, wide area")
        << QSizeF(600, 300) << QSize(1000, 200) << QSize(898, 448) << QSize(400, 200);
    QTest::newRow("no wish: four times")
        << QSizeF(600, 300) << QSize(0, 0) << QSize(898, 448) << QSize(3592, 1792);
    // A side left at 0 does not bound the result (instead of an empty image).
    QTest::newRow("only a width") << QSizeF(840, 1188) << QSize(629, 0) << QSize(1258, 1780)
                                  << QSize(629, 890);
    QTest::newRow("only a height")
        << QSizeF(840, 1188) << QSize(0, 445) << QSize(1258, 1780) << QSize(314, 445);
    // A page below one pixel still gets a canvas to draw on.
    QTest::newRow("degenerate page") << QSizeF(1, 0) << QSize(0, 0) << QSize(0, 0) << QSize(1, 1);
    // Beyond the pixel budget: drawn smaller, keeping the aspect.
    QTest::newRow("huge page") << QSizeF(100000, 100000) << QSize(0, 0) << QSize(149924, 149924)
                               << QSize(6000, 6000);
    QTest::newRow("A3 page") << QSizeF(1188, 1680) << QSize(0, 0) << QSize(1780, 2518)
                             << QSize(5044, 7136);
    QTest::newRow("wish beyond the budget")
        << QSizeF(840, 1188) << QSize(20000, 20000) << QSize(1258, 1780) << QSize(5043, 7137);
}

void TestManagerThumbnailDlg::sizes()
{
    QFETCH(QSizeF, page);
    QFETCH(QSize, wish);
    QFETCH(QSize, canvas);
    QFETCH(QSize, result);
    const QSize c = CManagerThumbnailDlg::canvasSize(page.width(), page.height());
    QCOMPARE(c, canvas);
    QCOMPARE(CManagerThumbnailDlg::outputSize(c, wish), result);
}

void TestManagerThumbnailDlg::defaultPageFourTimesCanvas()
{
    Person person;
    CReportDocument doc(&person.container, nullptr);
    doc.newReport();
    QVERIFY(doc.currentPage);
    QImage image = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(0, 0));
    QCOMPARE(image.size(), QSize(5032, 7120));
    QCOMPARE(centre(image), QColor(Qt::white));
    image = QImage();
    image = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(400, 400));
    QCOMPARE(image.size(), QSize(282, 400));
    QCOMPARE(image.format(), QImage::Format_RGB32);
}

void TestManagerThumbnailDlg::nothingToDraw()
{
    Person person;
    CReportDocument doc(&person.container, nullptr);
    doc.clear();
    QImage image = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(400, 400));
    QCOMPARE(image.size(), QSize(10, 10));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));

    // Every page skipped by a negative repeat count.
    QList<CREPage *> *list = newList(doc);
    colouredPage(doc, list, Qt::red)->repeatCount = -1;
    colouredPage(doc, list, Qt::green)->repeatCount = -3;
    image = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(400, 400));
    QCOMPARE(image.size(), QSize(10, 10));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));

    QCOMPARE(
        CManagerThumbnailDlg::slotPrintReport(0, static_cast<CReportDocument *>(nullptr), QSize())
            .size(),
        QSize(10, 10));
}

void TestManagerThumbnailDlg::lastDrawnPageWins_data()
{
    // Page colours: red, green, blue; per page the item type on it (0 none)
    // and its repeat count; in which list each page lies.
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QList<int>>("repeats");
    QTest::addColumn<QList<int>>("lists");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("two lists, no records")
        << QList<int> {0, 0} << QList<int> {0, 0} << QList<int> {0, 1} << QColor(Qt::green);
    QTest::newRow("barcode page ends it")
        << QList<int> {CREPageItem::Symbol, CREPageItem::Text} << QList<int> {0, 0}
        << QList<int> {0, 0} << QColor(Qt::red);
    QTest::newRow("data field after plain pages")
        << QList<int> {0, CREPageItem::Text, CREPageItem::DataField} << QList<int> {1, 2, 0}
        << QList<int> {0, 0, 1} << QColor(Qt::blue);
    QTest::newRow("picture slot first")
        << QList<int> {CREPageItem::PictureSlot, 0, 0} << QList<int> {5, 1, 1}
        << QList<int> {0, 0, 0} << QColor(Qt::red);
    QTest::newRow("skipped last page") << QList<int> {0, 0, 0} << QList<int> {1, 1, -1}
                                       << QList<int> {0, 1, 1} << QColor(Qt::green);
}

void TestManagerThumbnailDlg::lastDrawnPageWins()
{
    QFETCH(QList<int>, types);
    QFETCH(QList<int>, repeats);
    QFETCH(QList<int>, lists);
    QFETCH(QColor, expected);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};

    Person person;
    CReportDocument doc(&person.container, nullptr);
    doc.clear();
    for (int i = 0; i < types.size(); ++i) {
        while (doc.pageLists.size() <= lists.at(i))
            newList(doc);
        CREPage *page = colouredPage(doc, doc.pageLists.at(lists.at(i)), colours[i], types.at(i));
        page->repeatCount = repeats.at(i);
    }
    const QImage image = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(200, 200));
    QCOMPARE(image.size(), QSize(141, 200));
    QCOMPARE(image.pixelColor(5, 5), expected);
}

void TestManagerThumbnailDlg::repetitionNumbersRun()
{
    Person person;
    CReportDocument doc(&person.container, nullptr);
    doc.clear();
    QList<CREPage *> *list = newList(doc);
    CREPage *first = colouredPage(doc, list, Qt::red);
    CREPage *second = colouredPage(doc, list, Qt::green);
    CREPage *third = colouredPage(doc, newList(doc), Qt::blue, CREPageItem::Symbol);
    first->repeatCount = 0; // drawn once: not record-driven
    second->repeatCount = 3; // likewise drawn once
    third->repeatCount = 4;
    for (CREPage *page : {first, second, third})
        page->recordIndex = page->pageNumber = -9;
    CManagerThumbnailDlg::slotPrintReport(7, &doc, QSize(50, 50));
    QCOMPARE(first->pageNumber, 1);
    QCOMPARE(second->pageNumber, 2);
    QCOMPARE(third->pageNumber, 3);
    QCOMPARE(first->recordIndex, 7);
    QCOMPARE(third->recordIndex, 7);
}

void TestManagerThumbnailDlg::recordDrivenPages_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("driven");
    for (int type = CREPageItem::Image; type <= CREPageItem::BridgesTable; ++type) {
        const bool driven = type == CREPageItem::DataField || type == CREPageItem::PictureSlot
            || type == CREPageItem::Symbol;
        QTest::addRow("type %d", type) << type << driven;
    }
}

void TestManagerThumbnailDlg::recordDrivenPages()
{
    QFETCH(int, type);
    QFETCH(bool, driven);
    Person person {QString()};
    CREPage page(&person.container, nullptr);
    QVERIFY(!CManagerThumbnailDlg::preparePrintReportBlock(&page));
    page.items.append(makeObject(&person.container, CREPageItem::Text, 0, 0, 10, 10));
    page.items.append(makeObject(&person.container, type, 0, 0, 10, 10));
    QCOMPARE(CManagerThumbnailDlg::preparePrintReportBlock(&page), driven);
    QVERIFY(!CManagerThumbnailDlg::preparePrintReportBlock(nullptr));
}

// The golden template's first page holds a QR symbol: it is drawn and ends
// the rendering.
void TestManagerThumbnailDlg::goldenFrontPage()
{
    Person person;
    const QImage image = saveShot(
        CManagerThumbnailDlg::slotPrintReport(0, goldenPath(), &person.container, QSize(0, 0)),
        QStringLiteral("render-golden-front.png"));
    QCOMPARE(image.size(), QSize(3592, 1792)); // 600 x 300 units, four times the canvas

    // 600 units across 3592 pixels.
    const double s = 3592.0 / 600.0;
    auto area = [s](double x, double y, double w, double h) {
        return QRect(int(x * s), int(y * s), int(w * s), int(h * s));
    };
    // The stretched two-colour background pattern.
    QVERIFY(countColor(image, area(0, 200, 150, 100), QColor(200, 220, 240), 12) > 100);
    QVERIFY(countColor(image, area(0, 200, 150, 100), QColor(240, 230, 200), 12) > 100);
    // The red and blue picture at (20, 20, 120, 80).
    QVERIFY(countColor(image, area(20, 20, 120, 80), QColor(255, 0, 0), 20) > 1000);
    // The dark blue QR symbol in its box (400, 60), 150 units, scaled 0.8 x 1.2.
    QVERIFY(countColor(image, area(400, 60, 120, 180), QColor(0, 0, 160), 30) > 1000);
    // Nothing drawn in the empty strip at the bottom left.
    QCOMPARE(countColor(image, area(5, 120, 10, 10), QColor(0, 0, 160), 30), 0);
}

// The second page of the golden template, with the first switched off: data
// field, placeholders and numerology tables filled from the person.
void TestManagerThumbnailDlg::goldenDataPageShowsPerson()
{
    Person person;
    CReportDocument doc(&person.container, nullptr);
    QVERIFY(doc.loadFromFile(goldenPath()));
    QList<CREPage *> *list = doc.pageLists.first();
    QCOMPARE(list->size(), 2);
    list->at(0)->repeatCount = -1;
    list->at(1)->repeatCount = 0;
    const QImage image = saveShot(CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(0, 0)),
                                  QStringLiteral("render-golden-data.png"));
    // The size comes from the current (first) page; the 840 x 1188 page is
    // centred in it keeping its aspect.
    QCOMPARE(image.size(), QSize(3592, 1792));
    const double s = 1792.0 / 1188.0;
    const double left = (3592 - 840 * s) / 2;
    auto area = [s, left](double x, double y, double w, double h) {
        return QRect(int(left + x * s), int(y * s), int(w * s), int(h * s));
    };
    // The full-name field shows dark text.
    QVERIFY(countColor(image, area(20, 100, 120, 25), Qt::black, 100) > 20);
    // The psycho-matrix table is painted on its light background.
    QVERIFY(countColor(image, area(20, 440, 650, 68), QColor(230, 240, 250), 12) > 500);
    QVERIFY(countColor(image, area(20, 440, 650, 68), Qt::black, 100) > 50);
    // Outside the page, left of it, stays white.
    QCOMPARE(countColor(image, QRect(0, 0, int(left) - 2, 1792), Qt::white, 0),
             (int(left) - 2) * 1792);

    // The same page without a calculated person shows fewer dark pixels in
    // its name table: the data really comes from the container.
    Person nobody {QString()};
    CReportDocument empty(&nobody.container, nullptr);
    QVERIFY(empty.loadFromFile(goldenPath()));
    empty.pageLists.first()->at(0)->repeatCount = -1;
    const QImage blank = CManagerThumbnailDlg::slotPrintReport(0, &empty, QSize(0, 0));
    const QRect nameTable = area(20, 596, 650, 100);
    QVERIFY(countColor(blank, nameTable, Qt::black, 100) + 200
            < countColor(image, nameTable, Qt::black, 100));
}

void TestManagerThumbnailDlg::unreadableTemplate()
{
    Person person;
    QTemporaryDir dir;
    QVERIFY(CManagerThumbnailDlg::slotPrintReport(0, dir.filePath(QStringLiteral("none.lnr")),
                                                  &person.container, QSize(100, 100))
                .isNull());
    // A damaged file is reported, never drawn as a blank page: a foreign
    // file, and the golden template cut short.
    QFile golden(goldenPath());
    QVERIFY(golden.open(QIODevice::ReadOnly));
    for (const QByteArray &bytes : {QByteArray("not a template"), golden.readAll().left(4000)}) {
        QFile damaged(dir.filePath(QStringLiteral("damaged.lnr")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(bytes);
        damaged.close();
        QString error;
        QVERIFY(CManagerThumbnailDlg::slotPrintReport(0, damaged.fileName(), &person.container,
                                                      QSize(100, 100), nullptr, &error)
                    .isNull());
        QVERIFY(!error.isEmpty());
    }
}

QTEST_MAIN(TestManagerThumbnailDlg)
#include "tst_managerthumbnaildlg.moc"
