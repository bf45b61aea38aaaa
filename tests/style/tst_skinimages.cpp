// Every picture the interface loads from its images folder must be there and be a
// readable image of the size the widgets that show it are laid out for.

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QtTest>

class TestSkinImages : public QObject
{
    Q_OBJECT

private slots:
    void picture_data();
    void picture();
};

namespace {

QString imagesFolder()
{
    return QFileInfo(QCoreApplication::applicationDirPath()).path() + "/Resources/images/";
}

} // namespace

void TestSkinImages::picture_data()
{
    QTest::addColumn<QSize>("size");
    // Pictures laid over other widgets must let them show through somewhere.
    QTest::addColumn<bool>("transparent");

    auto row = [](const char *name, int w, int h, bool transparent) {
        QTest::newRow(name) << QSize(w, h) << transparent;
    };

    // Named by the style sheets.
    row("cbc.png", 12, 12, true);
    row("darr.png", 10, 7, true);
    row("darrh.png", 10, 7, true);
    row("node_close.png", 10, 10, true);
    row("node_open.png", 10, 10, true);
    row("pselbut.png", 200, 80, true);
    row("pselbuth.png", 200, 80, true);

    // Loaded by the style engine.
    row("text-bold.png", 20, 20, true);
    row("text-italic.png", 20, 20, true);
    row("text-under.png", 20, 20, true);
    row("lmitem.png", 150, 22, true);
    // The page frame: the corners share one size, the edges are stretched along the page.
    for (const char *piece :
         {"repage-left.png", "repage-right.png", "repage-top.png", "repage-bot.png",
          "repage-lt.png", "repage-rt.png", "repage-lb.png", "repage-rb.png"})
        row(piece, 8, 8, false);
    row("move-s.png", 16, 16, true);
    row("rotate-s.png", 16, 16, true);
    row("scale-s.png", 16, 16, true);
    row("scale-i.png", 16, 16, true);
    row("scale-res-i.png", 16, 16, true);
    row("datafield-i.png", 16, 16, true);
    row("datafieldtitle-i.png", 16, 16, true);
    row("repimage.png", 96, 96, true);
    row("expandwidget.png", 15, 98, true);

    // Main window skin.
    row("tbar.png", 200, 30, true);
    row("tbar2.png", 600, 30, true);
    row("todaywidg.png", 180, 104, true);
    row("logo.png", 330, 64, true);
    row("logoh.png", 520, 220, true);
    row("input-field.png", 200, 25, false);
    row("input-bot.png", 200, 10, true);
    row("input-top.png", 200, 25, true);
    row("input-top-opt.png", 200, 25, true);
    row("input2-field.png", 580, 25, false);
    row("input2-bot.png", 580, 10, true);
    row("input2-top-opt.png", 580, 25, true);
    for (const char *button : {"menubut", "resbut", "infobut", "savebut", "printbut"}) {
        row(QByteArray(button).append(".png").constData(), 20, 20, true);
        row(QByteArray(button).append("h.png").constData(), 20, 20, true);
    }
    for (const char *button : {"savebbut", "openbbut", "newbbut"}) {
        row(QByteArray(button).append(".png").constData(), 24, 24, true);
        row(QByteArray(button).append("h.png").constData(), 24, 24, true);
    }
    // Tool-page buttons: the main window frames them edge to edge with a 59 x 59 outline.
    for (const char *page :
         {"numer-but.png", "matr-but.png", "love-but.png", "cel-but.png", "pet-but.png",
          "guide-but.png", "chart-but.png", "an-but.png", "fore-but.png"})
        row(page, 59, 59, false);
    row("rep_man.png", 17, 17, true);
    row("rep_manh.png", 17, 17, true);
    row("hline.png", 35, 1, true);

    // Panels, lists and the page designer.
    row("psq.png", 600, 291, false);
    row("scrbox.png", 16, 16, false);
    row("thumb.png", 16, 16, true);
    row("ilitem.png", 70, 60, true);
    row("ilcont.png", 100, 24, true);
    for (const char *tool :
         {"bzoomn.png", "bzoomi.png", "bzoomo.png", "bgrid.png", "bsnap.png", "bbound.png",
          "bprops.png", "bdelete.png", "bbringfront.png", "bbringback.png"})
        row(tool, 20, 20, true);
}

void TestSkinImages::picture()
{
    QFETCH(QSize, size);
    QFETCH(bool, transparent);

    const QString path = imagesFolder() + QTest::currentDataTag();
    QVERIFY2(QFileInfo::exists(path), qPrintable("missing " + path));
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable("unreadable " + path));
    QCOMPARE(image.size(), size);

    int darkest = 255, lightest = 0;
    bool seeThrough = false, drawn = false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = argb.pixel(x, y);
            seeThrough |= qAlpha(px) < 255;
            if (qAlpha(px) > 128) {
                drawn = true;
                const int grey = (qRed(px) + qGreen(px) + qBlue(px)) / 3;
                darkest = qMin(darkest, grey);
                lightest = qMax(lightest, grey);
            }
        }
    }
    QVERIFY2(drawn, "nothing drawn");
    if (transparent) {
        QVERIFY2(seeThrough, "drawn over other widgets but fully opaque");
    } else {
        QVERIFY2(!seeThrough, "meant to cover its area but has transparent pixels");
        // Re-tinting keeps only the grey level: an opaque picture drawn in one grey
        // would come out as a flat patch in the derived schemes.
        QVERIFY2(lightest - darkest >= 12, "no visible difference of lightness");
    }
}

QTEST_GUILESS_MAIN(TestSkinImages)
#include "tst_skinimages.moc"
