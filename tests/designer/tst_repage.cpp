#include "designer/reportdocument.h"
#include "designer/style.h"
#include "designerfixture.h"

#include <QPainter>
#include <QtTest>

using namespace DesignerTest;

namespace {

QImage drawPage(CREPage &page, const CDrawMode &drawMode, bool paper = true, int w = 100,
                int h = 80)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::black);
    CDrawMode mode = drawMode;
    QPainter p(&image);
    page.draw(&p, &mode, page.style, paper);
    return image;
}

} // namespace

class TestREPage : public QObject
{
    Q_OBJECT

private slots:
    void newDocument();
    void addPagesAndBlocks();
    void background_data();
    void background();
    void grid_data();
    void grid();
    void linesStayOnePixel_data();
    void linesStayOnePixel();
    void itemsClippedToSheet();
    void drawIntoTarget();
    void thumbnailSizes_data();
    void thumbnailSizes();
    void thumbnailFrame();
    void thumbnailReusedAtSameSize();
};

void TestREPage::newDocument()
{
    CReportDocument doc(nullptr, nullptr);
    QCOMPARE(doc.name, QStringLiteral("New report"));
    QCOMPARE(doc.fileName, QStringLiteral("untitled.vxr"));
    QCOMPARE(doc.pageLists.size(), 1);
    QCOMPARE(doc.pageLists.first()->size(), 1);
    QVERIFY(doc.blocks.isEmpty());
    CREPage *page = doc.pageLists.first()->first();
    QCOMPARE(doc.currentPage, page);
    QCOMPARE(page->name, QStringLiteral("Untitled"));
    QCOMPARE(page->width, 840.0);
    QCOMPARE(page->height, 1188.0);
    QCOMPARE(page->pageBackground.mode, quint8(0xFF));
    QCOMPARE(page->pageBackground.color, QColor(255, 255, 255));
    QCOMPARE(page->style, doc.style);
    QCOMPARE(doc.gridShown, 1);
    QCOMPARE(doc.snapToGrid, 1);
    QCOMPARE(doc.gridStepX, 10.0);
    QCOMPARE(doc.gridStepY, 10.0);
    QCOMPARE(doc.drawMode->showBoundaries, true);
    QCOMPARE(doc.drawMode->thumbnailMode, false);
    QCOMPARE(doc.drawMode->outputMode, false);
    QCOMPARE(doc.style->outlineColor, QColor(180, 180, 180));

    // newReport after changes starts over; clear keeps settings and names.
    doc.gridStepX = 3;
    doc.name = QStringLiteral("x");
    doc.clear();
    QVERIFY(doc.pageLists.isEmpty());
    QVERIFY(!doc.currentPage);
    QCOMPARE(doc.gridStepX, 3.0);
    QCOMPARE(doc.name, QStringLiteral("x"));
    doc.newReport();
    QCOMPARE(doc.gridStepX, 10.0);
    QCOMPARE(doc.name, QStringLiteral("New report"));
    QVERIFY(doc.currentPage);
}

void TestREPage::addPagesAndBlocks()
{
    Person person {QString()};
    CReportDocument doc(&person.container, nullptr);
    CREPage *page = doc.addPage(QSizeF(300, 200), QStringLiteral("Two"));
    QCOMPARE(doc.pageLists.first()->size(), 2);
    QCOMPARE(doc.pageLists.first()->last(), page);
    QCOMPARE(page->container, &person.container);
    QCOMPARE(page->width, 300.0);
    QCOMPARE(page->name, QStringLiteral("Two"));
    CREPage *a = doc.addBlock(QSizeF(100, 50), QStringLiteral("A"));
    CREPage *b = doc.addBlock(QSizeF(100, 50), QStringLiteral("B"));
    QCOMPARE(doc.blocks, (QList<CREPage *> {a, b}));
    QVERIFY(doc.blockKey(a) != doc.blockKey(b));
    QCOMPARE(doc.blockKey(a), doc.blockKey(a));
    QVERIFY(doc.blockKey(nullptr).isEmpty());
}

void TestREPage::background_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("withImage");
    QTest::addColumn<QColor>("topLeft");
    QTest::addColumn<QColor>("bottomRight");
    const QColor white(255, 255, 255);
    const QColor colour(0, 0, 200);
    const QColor picture(200, 0, 0);
    QTest::newRow("none") << 0xFF << true << white << white;
    QTest::newRow("colour") << 0 << false << colour << colour;
    QTest::newRow("colour mode with a picture") << 0 << true << colour << colour;
    QTest::newRow("1:1 without a picture fills") << 1 << false << colour << colour;
    QTest::newRow("1:1") << 1 << true << picture << white;
    QTest::newRow("stretched") << 2 << true << picture << picture;
    QTest::newRow("1:1 switched off") << 3 << true << colour << colour;
    QTest::newRow("stretched switched off") << 4 << true << colour << colour;
}

void TestREPage::background()
{
    QFETCH(int, mode);
    QFETCH(bool, withImage);
    QFETCH(QColor, topLeft);
    QFETCH(QColor, bottomRight);
    CStyle style;
    CREPage page(nullptr, &style);
    page.width = 100;
    page.height = 80;
    page.pageBackground.mode = quint8(mode);
    page.pageBackground.color = QColor(0, 0, 200);
    if (withImage) {
        QImage picture(10, 10, QImage::Format_ARGB32);
        picture.fill(QColor(200, 0, 0));
        page.pageBackground.image = picture;
    }
    const QImage image = drawPage(page, CDrawMode());
    QCOMPARE(image.pixelColor(2, 2), topLeft);
    QCOMPARE(image.pixelColor(97, 77), bottomRight);
}

void TestREPage::grid_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("lines"); // grey rows in a column of the 100 x 80 page
    QTest::newRow("steps of 20") << 20.0 << 3; // y = 20, 40, 60
    QTest::newRow("steps of exactly 1") << 1.0 << 0;
    QTest::newRow("no grid") << 0.0 << 0;
}

void TestREPage::grid()
{
    QFETCH(double, step);
    QFETCH(int, lines);
    CStyle style;
    CREPage page(nullptr, &style);
    page.width = 100;
    page.height = 80;
    CDrawMode mode;
    mode.gridStepX = step;
    mode.gridStepY = step;
    const QImage image = drawPage(page, mode);
    QCOMPARE(countColor(image, QRect(5, 0, 1, 80), QColor(222, 222, 222), 4), lines);
    QCOMPARE(countColor(image, QRect(0, 5, 100, 1), QColor(222, 222, 222), 4),
             lines == 3 ? 4 : 0); // x = 20, 40, 60, 80
}

void TestREPage::linesStayOnePixel_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("editor zoom 1.1") << 1.1;
    QTest::newRow("editor zoom 1.7") << 1.7;
    QTest::newRow("export, 3 pixels a unit") << 3.0;
}

void TestREPage::linesStayOnePixel()
{
    QFETCH(double, zoom);
    CStyle style;
    CREPage page(nullptr, &style);
    page.width = 100;
    page.height = 80;
    CREPageItem *framed = makeObject(nullptr, CREPageItem::Text, 30.3, 10.4, 50, 40);
    framed->inner->frameStyle = 1;
    framed->inner->frameColor = Qt::red;
    page.items << framed;
    CDrawMode mode;
    mode.gridStepX = 20;
    mode.gridStepY = 20;
    QImage image(int(100 * zoom), int(80 * zoom), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(zoom, zoom);
    page.draw(&p, &mode, &style, true);
    p.end();
    // Down a column left of the frame: the grid rows y = 20, 40, 60, each
    // one pixel. Down a column through the frame: its top and bottom edges,
    // one pixel each, with no half-tone beside them.
    QCOMPARE(countInk(image, QRect(int(10 * zoom), 0, 1, image.height())), 3);
    QCOMPARE(countColor(image, QRect(int(55 * zoom), 0, 1, image.height()), Qt::red, 0), 2);
    QCOMPARE(countInk(image, QRect(int(55 * zoom), 0, 1, image.height())), 2 + 3);
}

void TestREPage::itemsClippedToSheet()
{
    CStyle style;
    CREPage page(nullptr, &style);
    page.width = 60.5;
    page.height = 40;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Path, 0, 0, 50, 50);
    QPainterPath shape;
    shape.addRect(0, 0, 100, 100);
    frame->inner->shape = shape;
    frame->inner->color = Qt::green;
    frame->inner->penWidth = 0;
    page.items << frame;
    CDrawMode mode;
    mode.outputMode = true;
    const QImage image = drawPage(page, mode, false);
    // Clipped to the truncated sheet 60 x 40; black (untouched) beyond it.
    QCOMPARE(countColor(image, QRect(0, 0, 60, 40), Qt::green), 60 * 40);
    QCOMPARE(countColor(image, QRect(60, 0, 40, 80), Qt::black), 40 * 80);
    QCOMPARE(countColor(image, QRect(0, 40, 100, 40), Qt::black), 100 * 40);
}

void TestREPage::drawIntoTarget()
{
    CStyle style;
    CREPage page(nullptr, &style);
    page.width = 600;
    page.height = 300;
    page.pageBackground.mode = 0;
    page.pageBackground.color = Qt::red;
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(Qt::black);
    CDrawMode mode;
    {
        QPainter p(&image);
        page.draw(&p, QRectF(0, 0, 256, 256), &mode, &style, true);
    }
    // Scaled by 256 / 600 and moved down by 64.
    QCOMPARE(countColor(image, QRect(0, 0, 256, 63), Qt::black), 256 * 63);
    QCOMPARE(countColor(image, QRect(0, 65, 256, 126), Qt::red), 256 * 126);
    QCOMPARE(countColor(image, QRect(0, 193, 256, 63), Qt::black), 256 * 63);
}

void TestREPage::thumbnailSizes_data()
{
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QSize>("thumbnail");
    QTest::newRow("wide") << QSizeF(600, 300) << QSize(256, 128);
    QTest::newRow("new page") << QSizeF(840, 1188) << QSize(181, 256);
    QTest::newRow("small") << QSizeF(64, 32) << QSize(256, 128);
    QTest::newRow("empty page") << QSizeF(0, 0) << QSize(1, 1);
}

void TestREPage::thumbnailSizes()
{
    QFETCH(QSizeF, page);
    QFETCH(QSize, thumbnail);
    CStyle style;
    CREPage p(nullptr, &style);
    p.width = page.width();
    p.height = page.height();
    p.generateThumbnail(false);
    QVERIFY(p.thumbnail);
    QCOMPARE(p.thumbnail->size(), thumbnail);
}

void TestREPage::thumbnailFrame()
{
    CStyle style;
    CREPage page(nullptr, &style);
    page.width = 600;
    page.height = 300;
    // An unframed item shows its grey outline in a thumbnail.
    page.items << makeObject(nullptr, CREPageItem::Image, 150, 75, 300, 150);
    page.generateThumbnail(true);
    const QImage framed = *page.thumbnail;
    QCOMPARE(framed.pixelColor(0, 0), QColor(0, 0, 0));
    QCOMPARE(framed.pixelColor(254, 126), QColor(0, 0, 0));
    QCOMPARE(framed.pixelColor(255, 127), QColor(255, 255, 255));
    page.generateThumbnail(false);
    QCOMPARE(page.thumbnail->pixelColor(0, 0), QColor(255, 255, 255));
    QVERIFY(countColor(*page.thumbnail, QRect(64, 32, 128, 2), QColor(180, 180, 180), 60) > 100);
}

void TestREPage::thumbnailReusedAtSameSize()
{
    CStyle style;
    CREPage page(nullptr, &style);
    page.generateThumbnail(false);
    const QImage *first = page.thumbnail;
    page.generateThumbnail(true);
    QCOMPARE(page.thumbnail, first);
    // A new size keeps the same image object, which block references point at.
    page.width = 100;
    page.generateThumbnail(false);
    QCOMPARE(page.thumbnail, first);
    QVERIFY(page.thumbnail->width() < 256 || page.thumbnail->height() < 256);
}

QTEST_MAIN(TestREPage)
#include "tst_repage.moc"
