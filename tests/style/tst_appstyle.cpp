#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/stylesheets.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString folder = QStringLiteral("/opt/skin/images/");

struct DerivedTint
{
    const char *name;
    QColor tint;
};

const DerivedTint derived[] = {
    {"Blue", QColor(200, 220, 255)},     {"Blue Sky", QColor(99, 188, 249)},
    {"Lavender", QColor(204, 185, 240)}, {"Rose", QColor(255, 213, 236)},
    {"Moss", QColor(204, 237, 224)},     {"Beige", QColor(233, 213, 192)},
};

// Collects the style-sheet parser's complaints while it is installed.
QStringList *s_messages = nullptr;
QtMessageHandler s_previousHandler = nullptr;

void collectMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (s_messages)
        s_messages->append(message);
    else if (s_previousHandler)
        s_previousHandler(type, context, message);
}

// A window with one of every widget kind the sheets have rules for.
QWidget *buildWidgetZoo()
{
    auto root = new QWidget;
    auto layout = new QVBoxLayout(root);
    layout->addWidget(new QLabel(QStringLiteral("label")));
    layout->addWidget(new QPushButton(QStringLiteral("button")));
    auto rect = new QPushButton(QStringLiteral("rect"));
    rect->setProperty("isRectButton", true);
    layout->addWidget(rect);
    layout->addWidget(new QToolButton);
    auto massEdit = new QLineEdit;
    massEdit->setProperty("isMassEdit", true);
    layout->addWidget(massEdit);
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QTextEdit);
    layout->addWidget(new QPlainTextEdit);
    layout->addWidget(new QCheckBox(QStringLiteral("check")));
    auto combo = new QComboBox;
    combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
    layout->addWidget(combo);
    layout->addWidget(new QDateEdit);
    auto table = new QTableWidget(3, 3);
    layout->addWidget(table);
    auto list = new QListWidget;
    list->addItems({QStringLiteral("one"), QStringLiteral("two")});
    layout->addWidget(list);
    auto tree = new QTreeWidget;
    auto parentItem = new QTreeWidgetItem(tree, {QStringLiteral("parent")});
    new QTreeWidgetItem(parentItem, {QStringLiteral("child")});
    layout->addWidget(tree);
    layout->addWidget(new QScrollArea);
    layout->addWidget(new QScrollBar(Qt::Horizontal));
    layout->addWidget(new QScrollBar(Qt::Vertical));
    auto progress = new QProgressBar;
    progress->setValue(40);
    layout->addWidget(progress);
    new QMenu(root);
    return root;
}

QList<int> hexTokenValues(const QString &sheet)
{
    QList<int> values;
    const QRegularExpression token(QStringLiteral("#([0-9a-fA-F]{6})"));
    auto it = token.globalMatch(sheet);
    while (it.hasNext())
        values.append(it.next().captured(1).toInt(nullptr, 16));
    return values;
}

// The re-tinting rule: grey level of the colour, hue and (HSV) saturation of
// the tint, as an HSL colour.
QString ruleColour(const QColor &tint, int rgb)
{
    const int grey = (((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff)) / 3;
    const QColor c = QColor::fromHsl(tint.hslHue(), tint.hsvSaturation(), grey, 255);
    return c.name();
}

} // namespace

class TestAppStyle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void genStyle_data();
    void genStyle();
    void genStyleKeepsPictureFolders();
    void derivedColours_data();
    void derivedColours();
    void derivedSchemesFollowTheRule();
    void schemeTable();
    void chocolateSheetsAsWritten();
    void globalDialogStyleAsWritten();
    void sheetSelection_data();
    void sheetSelection();
    void schemeSwitch();
    void updateColor();
    void updateImage();
    void drawRectToImage();
    void missingPictures();
    void loadedPictures();
    void everySheetParses();
};

void TestAppStyle::genStyle_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QColor>("tint");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("expected");

    const QColor blue(200, 220, 255);
    QTest::newRow("white stays white") << "color: #ffffff;" << blue << 0 << "color: #ffffff;";
    QTest::newRow("upper case in, lower case out")
        << "background: #C0C0C0;" << blue << 0 << "background: #b2bcce;";
    QTest::newRow("rgb and names untouched")
        << "color: rgb(237,219,178); background: transparent; border: white;" << blue << 0
        << "color: rgb(237,219,178); background: transparent; border: white;";
    QTest::newRow("comment re-tinted") << "/*#2c2420*/" << blue << 0 << "/*#1d232d*/";
    QTest::newRow("not a number reads as black") << "a: #zzzzzz; b" << blue << 0 << "a: #000000; b";
    QTest::newRow("token at the end")
        << "x#12" << blue << 0 << "x" + QColor::fromHsl(218, 55, 6).name();
    QTest::newRow("lone hash at the end") << "x#" << blue << 0 << "x#000000";
    QTest::newRow("six characters consumed whatever they are")
        << "#ab;c d}x" << blue << 0 << "#000000}x";
    QTest::newRow("grey tint") << "#2c2420" << QColor(128, 128, 128) << 0 << "#252525";
    QTest::newRow("percent scales brightness (HSV)")
        << "#ffffff" << blue << 50 << QColor::fromHsv(218, 55, 127).name();
    QTest::newRow("adjacent tokens") << "#ffffff#2c2420;" << blue << 0 << "#ffffff#1d232d;";
    QTest::newRow("blue sky") << "#2c2420 #eddbb2" << QColor(99, 188, 249) << 0
                              << "#0f293b #b8d8ee";
}

void TestAppStyle::genStyle()
{
    QFETCH(QString, sheet);
    QFETCH(QColor, tint);
    QFETCH(int, percent);
    QFETCH(QString, expected);
    QCOMPARE(CAppStyle::genStyle(sheet, tint, percent), expected);
}

void TestAppStyle::genStyleKeepsPictureFolders()
{
    // A folder with "#" in its name: the picture paths must survive the
    // re-tinting of the derived schemes while the colours are re-tinted.
    const QString hashFolder = QStringLiteral("/home/u/skins #2/images/");
    CAppStyle style(hashFolder);
    for (int scheme = 1; scheme < style.schemes.size(); ++scheme) {
        const StyleScheme *s = style.schemes.at(scheme);
        QVERIFY(s->sheets[1].contains(QStringLiteral("url(") + hashFolder
                                      + QStringLiteral("/cbc.png)")));
        QVERIFY(s->sheets[9].contains(QStringLiteral("url(") + hashFolder
                                      + QStringLiteral("/pselbut.png)")));
        QVERIFY(s->sheets[13].contains(hashFolder + QStringLiteral("IMAGE_S")));
        QVERIFY(!s->sheets[1].contains(QStringLiteral("#2c2420")));
    }
    QCOMPARE(
        CAppStyle::genStyle(QStringLiteral("a { image: URL(/x#112233/y.png); color: #ffffff; }"),
                            QColor(200, 220, 255), 0),
        QStringLiteral("a { image: URL(/x#112233/y.png); color: #ffffff; }"));
}

void TestAppStyle::derivedColours_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QString>("expected");
    // Worked out by hand from the rule (grey level 37 of #2c2420 at each
    // tint's hue and saturation).
    QTest::newRow("Blue") << 1 << "#1d232d";
    QTest::newRow("Blue Sky") << 2 << "#0f293b";
    QTest::newRow("Lavender") << 3 << "#221d2d";
    QTest::newRow("Rose") << 4 << "#2b1f26";
    QTest::newRow("Moss") << 5 << "#202a26";
    QTest::newRow("Beige") << 6 << "#2c251e";
}

void TestAppStyle::derivedColours()
{
    QFETCH(int, scheme);
    QFETCH(QString, expected);
    CAppStyle style(folder);
    const StyleScheme *s = style.schemes.at(scheme);
    // #2c2420 opens sheet 12.
    QVERIFY(s->sheets[12].startsWith(QStringLiteral("QWidget { background: ") + expected));
    QCOMPARE(ruleColour(s->tint, 0x2c2420), expected);
    style.setGlobalStyle(scheme);
    QCOMPARE(style.updateColor(QColor(0x2c, 0x24, 0x20)).name(), expected);
    QCOMPARE(style.updateColor(QStringLiteral("#2c2420")), expected);
}

void TestAppStyle::derivedSchemesFollowTheRule()
{
    CAppStyle style(folder);
    const StyleScheme *base = style.schemes.first();
    for (int i = 1; i < style.schemes.size(); ++i) {
        const StyleScheme *s = style.schemes.at(i);
        for (int sheet = 0; sheet < StyleScheme::SheetCount; ++sheet) {
            const QString &text = s->sheets[size_t(sheet)];
            const QString &original = base->sheets[size_t(sheet)];
            if (sheet == 7) {
                QVERIFY(text.isEmpty());
                continue;
            }
            if (sheet == 4 || sheet == 5) {
                QCOMPARE(text, original);
                continue;
            }
            // Same text apart from the colour tokens; every token follows
            // the rule and is written in six lower-case digits.
            const QRegularExpression token(QStringLiteral("#[0-9a-fA-F]{6}"));
            QString strippedText = text;
            QString strippedOriginal = original;
            QCOMPARE(strippedText.replace(token, QStringLiteral("#")),
                     strippedOriginal.replace(token, QStringLiteral("#")));
            const QList<int> got = hexTokenValues(text);
            const QList<int> from = hexTokenValues(original);
            QCOMPARE(got.size(), from.size());
            for (int t = 0; t < got.size(); ++t)
                QCOMPARE(QColor(QRgb(got.at(t))).name(), ruleColour(s->tint, from.at(t)));
            QVERIFY(!text.contains(QRegularExpression(QStringLiteral("#[0-9a-f]*[A-F]"))));
            QCOMPARE(text.count(QStringLiteral("rgb(237,219,178)")),
                     original.count(QStringLiteral("rgb(237,219,178)")));
        }
        QVERIFY(s->sheets[13].contains(QStringLiteral("IMAGE_S")));
        QVERIFY(s->sheets[13].contains(QStringLiteral("IMAGE_H")));
        QVERIFY(s->sheets[13].contains(QStringLiteral("IMAGE_P")));
    }
}

void TestAppStyle::schemeTable()
{
    CAppStyle style(folder);
    QCOMPARE(style.schemeNames,
             QStringList({"Chocolate", "Blue", "Blue Sky", "Lavender", "Rose", "Moss", "Beige"}));
    QCOMPARE(style.schemes.size(), 7);
    QVERIFY(style.schemes.at(0)->untinted);
    QCOMPARE(style.schemes.at(0)->tint, QColor(255, 255, 255, 255));
    for (int i = 0; i < 6; ++i) {
        const StyleScheme *s = style.schemes.at(i + 1);
        QCOMPARE(style.schemeNames.at(i + 1), QString::fromLatin1(derived[i].name));
        QCOMPARE(s->tint, derived[i].tint);
        QCOMPARE(s->percent, 0);
        QVERIFY(!s->untinted);
    }
    QCOMPARE(style.currentScheme, 0);
    QCOMPARE(style.imagesFolder, folder);
}

// The composed Chocolate sheets, checked rule by rule against the scheme's
// description once and kept as a golden file. The folder there is
// "/opt/skin/images/".
void TestAppStyle::chocolateSheetsAsWritten()
{
    QFile golden(TestEnvironment::dataPath(QStringLiteral("style/chocolate-sheets.txt")));
    QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(golden.fileName()));
    const QStringList expected = QString::fromUtf8(golden.readAll()).split(QStringLiteral("\n"));
    CAppStyle style(folder);
    // One line per sheet, then the progress-bar sheet as the fifteenth line.
    QVERIFY(expected.size() >= 15);
    for (int i = 0; i < StyleScheme::SheetCount; ++i)
        QCOMPARE(style.schemes.first()->sheets[size_t(i)], expected.at(i));
    QCOMPARE(style.currentSheets[7], expected.at(14));
}

void TestAppStyle::globalDialogStyleAsWritten()
{
    QFile golden(TestEnvironment::dataPath(QStringLiteral("style/global-dialog-style.txt")));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QString expected = QString::fromUtf8(golden.readAll());
    if (expected.endsWith(QLatin1Char('\n')))
        expected.chop(1);
    QCOMPARE(globalDialogStyleSheet(folder), expected);
    QVERIFY(qsGlobalDlgStyle.isEmpty());
}

void TestAppStyle::sheetSelection_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("sheet");
    const QList<QPair<int, int>> table = {{WTWindow, 1},
                                          {WTButton, 0},
                                          {WTPageButton, 8},
                                          {WTNone, -1},
                                          {WTEditorView, 0},
                                          {WTPersonButton, 9},
                                          {WTBandLabel, 10},
                                          {WTFramedPanel, 11},
                                          {WTPanel, 12},
                                          {WTTransparent, 2},
                                          {WTLineEdit, 1},
                                          {WTCheckBox, 0},
                                          {WTImageButton, 13},
                                          {WTInput, 0},
                                          {WTListPanel, 3},
                                          {WTPropertiesPanel, 0},
                                          {WTOkButton, 0},
                                          {WTCancelButton, 0},
                                          {WTTree, 6},
                                          {13, 0},
                                          {15, 0},
                                          {17, 0},
                                          {20, 0},
                                          {22, 0},
                                          {26, 0},
                                          {1000, 0},
                                          {-1, 0}};
    for (const auto &row : table)
        QTest::addRow("type %d", row.first) << row.first << row.second;
}

void TestAppStyle::sheetSelection()
{
    QFETCH(int, type);
    QFETCH(int, sheet);
    QCOMPARE(CAppStyle::sheetIndexForType(type), sheet);

    CAppStyle style(folder);
    style.setGlobalStyle(3);
    QWidget widget;
    widget.setStyleSheet(QStringLiteral("QWidget { color: red; }"));
    style.setWidgetStyle(&widget, WidgetType(type));
    if (sheet < 0)
        QCOMPARE(widget.styleSheet(), QStringLiteral("QWidget { color: red; }"));
    else
        QCOMPARE(widget.styleSheet(), style.currentSheets[size_t(sheet)]);
    style.setWidgetStyle(nullptr, WTWindow);
}

void TestAppStyle::schemeSwitch()
{
    CAppStyle style(folder);
    const QString progress = style.currentSheets[7];
    QVERIFY(progress.startsWith(QStringLiteral("QProgressBar {")));
    for (int index : {1, 2, 3, 4, 5, 6, 0}) {
        style.setGlobalStyle(index);
        QCOMPARE(style.currentScheme, index);
        for (int i = 0; i < StyleScheme::SheetCount; ++i) {
            if (i == 7)
                QCOMPARE(style.currentSheets[7], progress);
            else
                QCOMPARE(style.currentSheets[size_t(i)],
                         style.schemes.at(index)->sheets[size_t(i)]);
        }
    }
    style.setGlobalStyle(4);
    style.setGlobalStyle(7);
    QCOMPARE(style.currentScheme, 0);
    style.setGlobalStyle(4);
    style.setGlobalStyle(-1);
    QCOMPARE(style.currentScheme, 0);
    QCOMPARE(style.currentSheets[1], style.schemes.first()->sheets[1]);
}

void TestAppStyle::updateColor()
{
    CAppStyle style(folder);
    const QColor translucent(10, 200, 30, 77);
    QCOMPARE(style.updateColor(translucent), translucent);
    QCOMPARE(style.updateColor(QStringLiteral("#2C2420 junk #")), QStringLiteral("#2C2420 junk #"));
    for (int i = 1; i < style.schemes.size(); ++i) {
        style.setGlobalStyle(i);
        const QColor c = style.updateColor(translucent);
        QCOMPARE(c.alpha(), 255);
        QCOMPARE(c.name(), ruleColour(style.schemes.at(i)->tint, 0x0ac81e));
    }
    // A scheme with a brightness scale takes the HSV form.
    style.schemes.at(1)->percent = 50;
    style.setGlobalStyle(1);
    QCOMPARE(style.updateColor(QColor(255, 255, 255)).rgba(), QColor::fromHsv(218, 55, 127).rgba());
    QCOMPARE(style.updateColor(QStringLiteral("#ffffff")), QColor::fromHsv(218, 55, 127).name());
}

void TestAppStyle::updateImage()
{
    CAppStyle style(folder);
    QImage source(5, 3, QImage::Format_ARGB32);
    source.fill(QColor(200, 100, 50, 255));
    source.setPixelColor(1, 1, QColor(0, 0, 0, 0));
    source.setPixelColor(2, 2, QColor(90, 60, 30, 128));

    const QImage same = style.updateImage(source);
    QCOMPARE(same.size(), source.size());
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y)
            QCOMPARE(same.pixelColor(x, y), source.pixelColor(x, y));

    style.setGlobalStyle(2);
    const QImage tinted = style.updateImage(source);
    QCOMPARE(tinted.size(), source.size());
    QVERIFY(tinted.hasAlphaChannel());
    QCOMPARE(tinted.pixelColor(1, 1).alpha(), 0);
    QCOMPARE(tinted.pixelColor(2, 2).alpha(), 128);
    QCOMPARE(tinted.pixelColor(0, 0), style.updateColor(QColor(200, 100, 50)));
    QColor half = tinted.pixelColor(2, 2);
    half.setAlpha(255);
    QCOMPARE(half, style.updateColor(QColor(90, 60, 30)));

    // No alpha in the source: the result still carries one, all opaque.
    QImage opaque(4, 4, QImage::Format_RGB32);
    opaque.fill(QColor(10, 20, 30));
    const QImage fromOpaque = style.updateImage(opaque);
    QVERIFY(fromOpaque.hasAlphaChannel());
    QCOMPARE(fromOpaque.pixelColor(3, 3).alpha(), 255);

    // An indexed picture is re-tinted by colour, not by palette index.
    QImage indexed(2, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 255, 255), qRgba(0, 0, 0, 0)});
    indexed.fill(0);
    indexed.setPixel(1, 0, 1);
    const QImage fromIndexed = style.updateImage(indexed);
    QCOMPARE(fromIndexed.pixelColor(0, 0), QColor(255, 255, 255));
    QCOMPARE(fromIndexed.pixelColor(1, 0).alpha(), 0);

    QVERIFY(style.updateImage(QImage()).isNull());
}

void TestAppStyle::drawRectToImage()
{
    QImage image(59, 59, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QColor frame(0x5c, 0x52, 0x4c);
    const QImage framed = CAppStyle::drawRectToImage(image, 0, 0, 59, 59, 1, frame);
    QCOMPARE(framed.size(), QSize(59, 59));
    for (const QPoint &p : {QPoint(0, 0), QPoint(58, 0), QPoint(0, 58), QPoint(58, 58),
                            QPoint(29, 0), QPoint(0, 29), QPoint(58, 29), QPoint(29, 58)})
        QCOMPARE(framed.pixelColor(p), frame);
    QCOMPARE(framed.pixelColor(1, 1).alpha(), 0);
    QCOMPARE(framed.pixelColor(57, 57).alpha(), 0);
    // The argument itself is left alone.
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);

    const QImage thick = CAppStyle::drawRectToImage(image, 10, 10, 20, 20, 3, frame);
    QCOMPARE(thick.pixelColor(12, 20), frame);
    QCOMPARE(thick.pixelColor(27, 20), frame);
    QCOMPARE(thick.pixelColor(13, 20).alpha(), 0);
    QCOMPARE(thick.pixelColor(30, 20).alpha(), 0);
    QCOMPARE(thick.pixelColor(9, 9).alpha(), 0);

    QVERIFY(CAppStyle::drawRectToImage(QImage(), 0, 0, 5, 5, 1, frame).isNull());
}

void TestAppStyle::missingPictures()
{
    CAppStyle style(QStringLiteral("/nonexistent/folder/"));
    for (const QImage &image : style.repageImages)
        QVERIFY(image.isNull());
    for (const QImage &image : style.designerImages)
        QVERIFY(image.isNull());
    QVERIFY(style.expandImage.isNull());
    QVERIFY(style.lmItemPixmap.isNull());
    QVERIFY(style.iconBold.isNull());
    QVERIFY(style.psqImage.isNull());
    QCOMPARE(style.repageColors[4], QColor(255, 255, 255, 255));
    for (int i = 0; i < 7; ++i)
        style.setGlobalStyle(i);
    QVERIFY(style.psqImage.isNull());
}

void TestAppStyle::loadedPictures()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.path() + QLatin1Char('/');
    const auto write = [&path](const char *name, const QColor &fill, QSize size = QSize(6, 4)) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(fill);
        return image.save(path + QString::fromLatin1(name));
    };
    // Corner pieces whose outer pixel differs from the rest.
    const auto corner = [&path](const char *name, const QPoint &outer, const QColor &c) {
        QImage image(6, 4, QImage::Format_ARGB32);
        image.fill(Qt::gray);
        image.setPixelColor(outer, c);
        return image.save(path + QString::fromLatin1(name));
    };
    QVERIFY(corner("repage-lt.png", QPoint(0, 0), Qt::red));
    QVERIFY(corner("repage-rt.png", QPoint(5, 0), Qt::green));
    QVERIFY(corner("repage-lb.png", QPoint(0, 3), Qt::blue));
    QVERIFY(corner("repage-rb.png", QPoint(5, 3), Qt::yellow));
    QVERIFY(write("move-s.png", Qt::red, QSize(1, 1)));
    QVERIFY(write("rotate-s.png", Qt::red, QSize(2, 2)));
    QVERIFY(write("scale-s.png", Qt::red, QSize(3, 3)));
    QVERIFY(write("repimage.png", Qt::red, QSize(8, 8)));
    QVERIFY(write("psq.png", QColor(200, 100, 50)));
    QVERIFY(write("lmitem.png", Qt::red));

    CAppStyle style(path);
    QCOMPARE(style.repageColors[0], QColor(Qt::red));
    QCOMPARE(style.repageColors[1], QColor(Qt::green));
    QCOMPARE(style.repageColors[2], QColor(Qt::blue));
    QCOMPARE(style.repageColors[3], QColor(Qt::yellow));
    QCOMPARE(style.designerImages[CAppStyle::DesignerScaleHandle].size(), QSize(3, 3));
    QCOMPARE(style.designerImages[CAppStyle::DesignerRotateHandle].size(), QSize(2, 2));
    QCOMPARE(style.designerImages[CAppStyle::DesignerMoveHandle].size(), QSize(1, 1));
    QCOMPARE(style.designerImages[CAppStyle::DesignerRepImage].size(), QSize(8, 8));
    QVERIFY(!style.lmItemPixmap.isNull());

    QCOMPARE(style.psqImage.pixelColor(0, 0), QColor(200, 100, 50));
    style.setGlobalStyle(1);
    QCOMPARE(style.psqImage.pixelColor(0, 0), style.updateColor(QColor(200, 100, 50)));
    QCOMPARE(style.psqSourceImage.pixelColor(0, 0), QColor(200, 100, 50));
    style.setGlobalStyle(0);
    QCOMPARE(style.psqImage.pixelColor(0, 0), QColor(200, 100, 50));
}

void TestAppStyle::everySheetParses()
{
    CAppStyle style(folder);
    QStringList messages;
    s_previousHandler = qInstallMessageHandler(collectMessages);
    s_messages = &messages;

    const auto polishWith = [](const QString &sheet) {
        QScopedPointer<QWidget> zoo(buildWidgetZoo());
        zoo->setStyleSheet(sheet);
        zoo->ensurePolished();
        const auto children = zoo->findChildren<QWidget *>();
        for (QWidget *child : children)
            child->ensurePolished();
        zoo->grab();
    };

    // The detector itself: a broken sheet must be noticed.
    polishWith(QStringLiteral("QWidget { color: "));
    const bool detectorWorks = !messages.isEmpty();
    messages.clear();

    QStringList failures;
    for (int scheme = 0; scheme < style.schemes.size(); ++scheme) {
        style.setGlobalStyle(scheme);
        for (int i = 0; i < StyleScheme::SheetCount; ++i) {
            polishWith(style.currentSheets[size_t(i)]);
            if (!messages.isEmpty())
                failures << QStringLiteral("scheme %1 sheet %2: %3")
                                .arg(scheme)
                                .arg(i)
                                .arg(messages.join(QStringLiteral("; ")));
            messages.clear();
        }
    }
    polishWith(globalDialogStyleSheet(folder));
    if (!messages.isEmpty())
        failures << QStringLiteral("dialog style: ") + messages.join(QStringLiteral("; "));

    s_messages = nullptr;
    qInstallMessageHandler(s_previousHandler);
    QVERIFY(detectorWorks);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestAppStyle)
#include "tst_appstyle.moc"
