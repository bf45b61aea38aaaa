#include "engine/chartnumerology.h"

#include <QtTest>

namespace {

QImage filled(const QSize &size, const QColor &color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

bool near(QRgb actual, const QColor &expected)
{
    return qAbs(qRed(actual) - expected.red()) <= 1 && qAbs(qGreen(actual) - expected.green()) <= 1
        && qAbs(qBlue(actual) - expected.blue()) <= 1 && qAlpha(actual) == 255;
}

} // namespace

class TestChartNumerology : public QObject
{
    Q_OBJECT

private slots:
    void nullImages();
    void composesOverWhite_data();
    void composesOverWhite();
    void resetPaintsOverCanvas();
};

void TestChartNumerology::nullImages()
{
    CChartNumerology chart;
    QVERIFY(chart.canvas().isNull());
    chart.downToBase(13);
    chart.resetData();
    QVERIFY(chart.canvas().isNull());
    QVERIFY(chart.background().isNull());
    QCOMPARE(chart.stat(13), 0);

    chart.preloadRes(filled(QSize(4, 4), Qt::red));
    chart.preloadRes(QImage());
    QVERIFY(chart.canvas().isNull());
    QVERIFY(chart.background().isNull());
    chart.clear();
    QVERIFY(chart.canvas().isNull());
}

void TestChartNumerology::composesOverWhite_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("half-transparent red")
        << filled(QSize(3, 2), QColor(255, 0, 0, 128)) << QColor(255, 127, 127);
    QTest::newRow("transparent") << filled(QSize(5, 1), Qt::transparent) << QColor(Qt::white);
    QTest::newRow("opaque blue") << filled(QSize(1, 7), Qt::blue) << QColor(Qt::blue);
    QImage premultiplied(2, 2, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(QColor(0, 0, 0, 64));
    QTest::newRow("premultiplied black") << premultiplied << QColor(191, 191, 191);
    QImage rgb(2, 3, QImage::Format_RGB32);
    rgb.fill(Qt::green);
    QTest::newRow("without alpha") << rgb << QColor(Qt::green);
}

void TestChartNumerology::composesOverWhite()
{
    QFETCH(QImage, image);
    QFETCH(QColor, expected);

    CChartNumerology chart;
    chart.preloadRes(image);
    QCOMPARE(chart.background(), image);
    QCOMPARE(chart.canvas().size(), image.size());
    QCOMPARE(chart.canvas().format(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            QVERIFY2(near(chart.canvas().pixel(x, y), expected),
                     qPrintable(QColor(chart.canvas().pixel(x, y)).name()));
    }
}

void TestChartNumerology::resetPaintsOverCanvas()
{
    CChartNumerology chart;
    chart.preloadRes(filled(QSize(2, 2), QColor(255, 0, 0, 128)));
    chart.downToBase(49);
    QCOMPARE(chart.stat(13), 1);

    // The background goes over what the canvas holds, not over fresh white.
    chart.resetData();
    QCOMPARE(chart.stat(13), 0);
    QVERIFY(near(chart.canvas().pixel(1, 1), QColor(255, 63, 63)));
    chart.clear();
    QVERIFY(near(chart.canvas().pixel(0, 0), QColor(255, 31, 31)));

    // A new image starts again from white.
    chart.preloadRes(filled(QSize(3, 3), QColor(255, 0, 0, 128)));
    QVERIFY(near(chart.canvas().pixel(2, 2), QColor(255, 127, 127)));
}

QTEST_GUILESS_MAIN(TestChartNumerology)
#include "tst_chartnumerology.moc"
