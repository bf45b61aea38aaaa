#include "designer/lnrstream.h"
#include "designer/managerthumbnaildlg.h"
#include "designer/reportdocument.h"
#include "designerfixture.h"
#include "testenvironment.h"
#include "tests/support/hostilepicture.h"
#include "tests/support/testenvironment.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

CREPageItem *firstContent(const CReportDocument &doc)
{
    const CREPage *page = doc.pageLists.first()->value(1);
    return !page || page->items.isEmpty() ? nullptr : page->items.first()->inner;
}

} // namespace

class TestHostileTemplate : public QObject
{
    Q_OBJECT

private slots:
    void hostileFiles_data();
    void hostileFiles();
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

    if (qEnvironmentVariableIntValue("LUMARO_WRITE_GOLDEN")) {
        const QString name
            = QString::fromLatin1(QTest::currentDataTag())
                  .replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
        for (const char *target : {"fuzz/lnr/", "fuzz/lnredit/"}) {
            QFile seed(
                TestEnvironment::dataPath(QLatin1String(target) + name + QStringLiteral(".lnr")));
            QVERIFY(seed.open(QIODevice::WriteOnly));
            seed.write(bytes);
        }
    }

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

QTEST_MAIN(TestHostileTemplate)
#include "tst_hostiletemplate.moc"
