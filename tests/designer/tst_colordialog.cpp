#include "designer/colordialog.h"
#include "style/infodlg.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace ColorDialogMath;

namespace {

struct ShownMessage
{
    QString title;
    QString text;
    int count = 0;
};
ShownMessage shown;

int recordMessage(CInfoDlgWin::MessageKind, const QString &title, const QString &text, QWidget *)
{
    shown.title = title;
    shown.text = text;
    ++shown.count;
    return 0;
}

QString chosenFile;
QString chooseFile(QWidget *, const QString &)
{
    return chosenFile;
}

// QTest takes a click at (0, 0) for one in the middle of the widget.
void mouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QVector<int> hsvFields(const CColorDialog &dlg)
{
    return {dlg.m_HueSpin->value(), dlg.m_SatSpin->value(), dlg.m_ValSpin->value()};
}

QVector<int> rgbFields(const CColorDialog &dlg)
{
    return {dlg.m_RedSpin->value(), dlg.m_GreenSpin->value(), dlg.m_BlueSpin->value()};
}

} // namespace

class TestColorDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void basicColors();
    void pixelsToColour_data();
    void pixelsToColour();
    void pictures();
    void limitImage_data();
    void limitImage();
    void modes();

    void forms_data();
    void forms();
    void clicks_data();
    void clicks();
    void typedFields_data();
    void typedFields();
    void groundRoundTrip_data();
    void groundRoundTrip();
    void okNeedsImage();
    void loadImage();
    void closingWithoutOk_data();
    void closingWithoutOk();
};

void TestColorDialog::init()
{
    shown = ShownMessage();
    CInfoDlgWin::setMessageBoxHandler(recordMessage);
    CColorDialog::setOpenFileHandler(chooseFile);
}

void TestColorDialog::basicColors()
{
    const QVector<QRgb> colors = ColorDialogMath::basicColors();
    QCOMPARE(colors.size(), 48);
    QCOMPARE(colors.at(0), QRgb(0xFFFF8080));
    QCOMPARE(colors.at(1), QRgb(0xFFFF0000)); // column 0, row 1
    QCOMPARE(colors.at(6), QRgb(0xFFFFFF80)); // column 1, row 0
    QCOMPARE(colors.at(6 * 6 + 4), QRgb(0xFF400040));
    QCOMPARE(colors.at(6 * 6 + 5), QRgb(0xFF400040));
    QCOMPARE(colors.at(47), QRgb(0xFFFFFFFF));
    QCOMPARE(swatchStyleSheet(colors.at(2)),
             QStringLiteral("background-color : rgb(128, 64, 64); border-width: 1px; "
                            "border-style: solid; border-color: #000000;"));
}

void TestColorDialog::pixelsToColour_data()
{
    QTest::addColumn<int>("pixel");
    QTest::addColumn<int>("hue");
    QTest::addColumn<int>("units");

    QTest::newRow("first") << 0 << 0 << 255;
    QTest::newRow("middle") << 50 << 94 << 186;
    QTest::newRow("last field row") << 186 << 352 << 0;
    QTest::newRow("last field column") << 189 << 358 << 0;
    QTest::newRow("dragged before") << -20 << 0 << 255;
    QTest::newRow("dragged past") << 400 << 359 << 0;
}

void TestColorDialog::pixelsToColour()
{
    QFETCH(int, pixel);
    QFETCH(int, hue);
    QFETCH(int, units);
    QCOMPARE(hueAt(pixel), hue);
    QCOMPARE(saturationAt(pixel), units);
    QCOMPARE(valueAt(pixel), units);
}

void TestColorDialog::pictures()
{
    const QImage marker = valueMarker();
    QCOMPARE(marker.size(), QSize(10, 20));
    auto black = [](const QImage &image, int x, int y) {
        return image.pixel(x, y) == qRgba(0, 0, 0, 255);
    };
    auto clear = [](const QImage &image, int x, int y) {
        return qAlpha(image.pixel(x, y)) == 0;
    };
    QVERIFY(black(marker, 1, 10));
    QVERIFY(clear(marker, 0, 10));
    QVERIFY(black(marker, 9, 2) && black(marker, 9, 18));
    QVERIFY(clear(marker, 9, 1) && clear(marker, 9, 19));

    const QImage cross = fieldMarker();
    QCOMPARE(cross.size(), QSize(19, 19));
    QVERIFY(black(cross, 0, 9) && black(cross, 4, 8) && black(cross, 18, 10));
    QVERIFY(black(cross, 9, 0) && black(cross, 10, 14));
    QVERIFY(clear(cross, 5, 9) && clear(cross, 9, 9) && clear(cross, 13, 8));
    QVERIFY(clear(cross, 0, 0) && clear(cross, 7, 7));

    const QImage field = fieldImage();
    QCOMPARE(field.size(), QSize(190, 187));
    // The first hues share the first column: nearly pure red.
    const QColor corner = field.pixelColor(0, 0);
    QVERIFY(corner.red() == 255 && corner.green() < 8 && corner.blue() < 8);
    const QColor bottom = field.pixelColor(100, 186);
    QVERIFY(qAbs(bottom.red() - bottom.blue()) <= 2);
    QVERIFY(bottom.value() >= 127 && bottom.value() <= 130);

    QCOMPARE(fieldMarkerPos(0, 255), QPoint(-9, -9));
    QCOMPARE(fieldMarkerPos(359, 0), QPoint(180, 177));
    QCOMPARE(valueMarkerY(255), -10);
    QCOMPARE(valueMarkerY(0), 176);
}

void TestColorDialog::limitImage_data()
{
    QTest::addColumn<QSize>("loaded");
    QTest::addColumn<QSize>("kept");

    QTest::newRow("too large") << QSize(2000, 500) << QSize(1024, 256);
    QTest::newRow("too small") << QSize(4, 2) << QSize(8, 4);
    QTest::newRow("fits") << QSize(300, 200) << QSize(300, 200);
    QTest::newRow("too high") << QSize(100, 4096) << QSize(25, 1024);
}

void TestColorDialog::limitImage()
{
    QFETCH(QSize, loaded);
    QFETCH(QSize, kept);
    QImage image(loaded, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QCOMPARE(ColorDialogMath::limitImage(image).size(), kept);

    // A hairline picture never collapses to nothing.
    QImage thin(5000, 2, QImage::Format_ARGB32);
    thin.fill(Qt::blue);
    QVERIFY(!ColorDialogMath::limitImage(thin).isNull());
}

void TestColorDialog::modes()
{
    QCOMPARE(backgroundMode(true, true), 1);
    QCOMPARE(backgroundMode(true, false), 2);
    QCOMPARE(backgroundMode(false, true), 3);
    QCOMPARE(backgroundMode(false, false), 4);
}

void TestColorDialog::forms_data()
{
    QTest::addColumn<bool>("colourOnly");
    QTest::addColumn<QString>("title");

    QTest::newRow("colour") << true << "Select Color";
    QTest::newRow("background") << false << "Background";
}

void TestColorDialog::forms()
{
    QFETCH(bool, colourOnly);
    QFETCH(QString, title);

    CColorDialog dlg(colourOnly, nullptr);
    QCOMPARE(dlg.windowTitle(), title);
    QCOMPARE(dlg.minimumSize(), QSize(465, 325));
    QCOMPARE(dlg.maximumSize(), QSize(465, 325));
    QCOMPARE(dlg.m_Result.mode, quint8(255));
    QVERIFY(!dlg.m_Result.color.isValid());
    QCOMPARE(hsvFields(dlg), QVector<int>({179, 127, 127}));
    QCOMPARE(dlg.m_BasicColors.size(), 48);
    QCOMPARE(dlg.m_BasicColors.at(6 * 7 + 5)->geometry(), QRect(9 + 26 * 7, 25 + 22 * 5, 19, 16));
    QCOMPARE(dlg.m_Spector->geometry(), QRect(229, 8, 190, 187));
    QCOMPARE(dlg.m_SpectorLine->geometry(), QRect(435, 8, 22, 187));
    QCOMPARE(dlg.m_OkButton->geometry(), QRect(290, 295, 74, 21));
    QCOMPARE(dlg.m_BlueSpin->geometry(), QRect(402, 262, 57, 25));
    QCOMPARE(dlg.m_HueSpin->maximum(), 359);
    QCOMPARE(dlg.m_AddImage->isHidden(), colourOnly);
    QCOMPARE(dlg.m_FitSize->isHidden(), colourOnly);
    QVERIFY(dlg.m_FitSize->isChecked());
    QVERIFY(!dlg.m_OpenImage->isEnabled() && !dlg.m_OneToOne->isEnabled());

    dlg.slotSetColor(QColor(0, 200, 100));
    dlg.slotUpdate();
    QCOMPARE(rgbFields(dlg), QVector<int>({0, 200, 100}));
    dlg.m_OkButton->click();
    QCOMPARE(dlg.m_Result.mode, quint8(4));
    QCOMPARE(dlg.m_Result.color, QColor(0, 200, 100));
    QCOMPARE(dlg.m_Result.color.alpha(), 255);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
}

void TestColorDialog::clicks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QVector<int>>("hsv");

    QTest::newRow("field top left") << "field" << QPoint(0, 0) << QVector<int>({0, 255, 127});
    QTest::newRow("field bottom right")
        << "field" << QPoint(189, 186) << QVector<int>({358, 0, 127});
    QTest::newRow("strip top") << "strip" << QPoint(5, 0) << QVector<int>({179, 127, 255});
    QTest::newRow("strip bottom") << "strip" << QPoint(5, 186) << QVector<int>({179, 127, 0});
    QTest::newRow("swatch 400040") << "swatch40" << QPoint(3, 3) << QVector<int>({300, 255, 64});
    QTest::newRow("swatch white") << "swatch47" << QPoint(3, 3) << QVector<int>({0, 0, 255});
}

void TestColorDialog::clicks()
{
    QFETCH(QString, target);
    QFETCH(QPoint, pos);
    QFETCH(QVector<int>, hsv);

    CColorDialog dlg(true, nullptr);
    QWidget *widget = dlg.m_Spector;
    if (target == QLatin1String("strip"))
        widget = dlg.m_SpectorLine;
    else if (target.startsWith(QLatin1String("swatch")))
        widget = dlg.m_BasicColors.at(target.mid(6).toInt());
    mouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
    QCOMPARE(hsvFields(dlg), hsv);
    const QColor c = QColor::fromHsv(hsv.at(0), hsv.at(1), hsv.at(2));
    QCOMPARE(rgbFields(dlg), QVector<int>({c.red(), c.green(), c.blue()}));

    // Dragging with the button held follows the mouse in the field.
    mouse(dlg.m_Spector, QEvent::MouseButtonPress, QPoint(0, 0), Qt::LeftButton);
    mouse(dlg.m_Spector, QEvent::MouseMove, QPoint(50, 0), Qt::LeftButton);
    QCOMPARE(dlg.m_HueSpin->value(), 94);
    mouse(dlg.m_Spector, QEvent::MouseButtonRelease, QPoint(50, 0), Qt::NoButton);
    mouse(dlg.m_Spector, QEvent::MouseMove, QPoint(20, 0), Qt::NoButton);
    QCOMPARE(dlg.m_HueSpin->value(), 94);
}

void TestColorDialog::typedFields_data()
{
    QTest::addColumn<bool>("rgb");
    QTest::addColumn<QVector<int>>("typed");
    QTest::addColumn<QVector<int>>("other");

    QTest::newRow("red") << true << QVector<int>({255, 0, 0}) << QVector<int>({0, 255, 255});
    QTest::newRow("grey") << true << QVector<int>({128, 128, 128}) << QVector<int>({0, 0, 128});
    QTest::newRow("hsv blue") << false << QVector<int>({240, 255, 255})
                              << QVector<int>({0, 0, 255});
    QTest::newRow("hsv grey") << false << QVector<int>({90, 0, 200})
                              << QVector<int>({200, 200, 200});
}

void TestColorDialog::typedFields()
{
    QFETCH(bool, rgb);
    QFETCH(QVector<int>, typed);
    QFETCH(QVector<int>, other);

    CColorDialog dlg(true, nullptr);
    QList<QSpinBox *> fields = rgb
        ? QList<QSpinBox *> {dlg.m_RedSpin, dlg.m_GreenSpin, dlg.m_BlueSpin}
        : QList<QSpinBox *> {dlg.m_HueSpin, dlg.m_SatSpin, dlg.m_ValSpin};
    for (int i = 0; i < 3; ++i)
        fields.at(i)->setValue(typed.at(i));
    QCOMPARE(rgb ? rgbFields(dlg) : hsvFields(dlg), typed);
    QCOMPARE(rgb ? hsvFields(dlg) : rgbFields(dlg), other);
}

void TestColorDialog::groundRoundTrip_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("withImage");
    QTest::addColumn<bool>("addImage");
    QTest::addColumn<bool>("oneToOne");

    QTest::newRow("mode 1") << 1 << true << true << true;
    QTest::newRow("mode 2") << 2 << true << true << false;
    QTest::newRow("mode 3") << 3 << true << false << true;
    QTest::newRow("mode 4") << 4 << true << false << false;
    QTest::newRow("colour only") << 0 << false << false << false;
}

void TestColorDialog::groundRoundTrip()
{
    QFETCH(int, mode);
    QFETCH(bool, withImage);
    QFETCH(bool, addImage);
    QFETCH(bool, oneToOne);

    background ground;
    ground.color = QColor(0, 80, 160);
    if (withImage) {
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ground.image = picture;
    }
    ground.mode = quint8(mode);

    CColorDialog dlg(false, nullptr);
    dlg.slotSetGround(ground);
    dlg.slotUpdate();
    QCOMPARE(rgbFields(dlg), QVector<int>({0, 80, 160}));
    QCOMPARE(dlg.m_AddImage->isChecked(), addImage);
    QCOMPARE(dlg.m_OpenImage->isEnabled(), addImage);
    QCOMPARE(dlg.m_OneToOne->isChecked(), oneToOne);
    QCOMPARE(dlg.m_FitSize->isChecked(), !oneToOne);
    QCOMPARE(!dlg.m_ImagePreview->pixmap(Qt::ReturnByValue).isNull(), withImage);
    if (withImage && !oneToOne)
        QCOMPARE(dlg.m_ImagePreview->pixmap(Qt::ReturnByValue).size(), QSize(100, 110));

    dlg.slotOk();
    QCOMPARE(int(dlg.m_Result.mode), withImage ? mode : 4);
    QCOMPARE(dlg.m_Result.color, QColor(0, 80, 160));
    QCOMPARE(dlg.m_Result.image.isNull(), !withImage);
    QCOMPARE(shown.count, 0);
}

void TestColorDialog::okNeedsImage()
{
    CColorDialog dlg(false, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg, TestEnvironment::WaitMs));
    dlg.m_AddImage->click();
    QVERIFY(dlg.m_OpenImage->isEnabled());
    dlg.m_OkButton->click();
    QCOMPARE(shown.count, 1);
    QCOMPARE(shown.title, QStringLiteral("Warning"));
    QCOMPARE(shown.text, QStringLiteral("Image no selected"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.m_Result.mode, quint8(255));

    // Giving up after the warning is still "nothing chosen".
    dlg.close();
    QCOMPARE(dlg.m_Result.mode, quint8(255));
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void TestColorDialog::loadImage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage wide(2000, 500, QImage::Format_RGB32);
    wide.fill(Qt::yellow);
    const QString widePath = dir.filePath(QStringLiteral("wide.png"));
    QVERIFY(wide.save(widePath));
    const QString brokenPath = dir.filePath(QStringLiteral("broken.png"));
    QFile broken(brokenPath);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();

    CColorDialog dlg(false, nullptr);
    chosenFile.clear();
    dlg.slotLoadImage();
    QVERIFY(dlg.m_Result.image.isNull());

    chosenFile = widePath;
    dlg.m_AddImage->click();
    dlg.m_OneToOne->click();
    dlg.slotLoadImage();
    QCOMPARE(dlg.m_Result.image.size(), QSize(1024, 256));
    QCOMPARE(dlg.m_ImagePreview->pixmap(Qt::ReturnByValue).size(), QSize(1024, 256));

    chosenFile = brokenPath;
    dlg.slotLoadImage();
    QCOMPARE(dlg.m_Result.image.size(), QSize(1024, 256));

    dlg.m_OkButton->click();
    QCOMPARE(dlg.m_Result.mode, quint8(1));
    QCOMPARE(shown.count, 0);
}

void TestColorDialog::closingWithoutOk_data()
{
    QTest::addColumn<bool>("cancelButton");
    QTest::newRow("close button") << false;
    QTest::newRow("cancel") << true;
}

void TestColorDialog::closingWithoutOk()
{
    QFETCH(bool, cancelButton);
    background ground;
    ground.color = QColor(1, 2, 3);
    ground.image = QImage(20, 20, QImage::Format_RGB32);
    ground.mode = 3;

    CColorDialog dlg(false, nullptr);
    dlg.slotSetGround(ground);
    dlg.slotUpdate();
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg, TestEnvironment::WaitMs));
    if (cancelButton)
        dlg.m_CancelButton->click();
    else
        dlg.close();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.m_Result.mode, quint8(255));
}

QTEST_MAIN(TestColorDialog)
#include "tst_colordialog.moc"
