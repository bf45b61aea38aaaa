#include "designer/style.h"
#include "designerfixture.h"
#include "textrecorder.h"

#include <QPainter>
#include <QtTest>

using namespace DesignerTest;

namespace {

QImage solid(int w, int h, const QColor &c)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(c);
    return image;
}

enum Pass { Editor, Thumbnail, Output };

CDrawMode modeFor(int pass, bool boundaries = true)
{
    CDrawMode mode;
    mode.thumbnailMode = pass == Thumbnail;
    mode.outputMode = pass == Output;
    mode.showBoundaries = boundaries;
    return mode;
}

QImage render(CREPageItem *frame, int pass, CStyle *style, bool boundaries = true, int w = 300,
              int h = 200)
{
    QImage image = canvas(w, h);
    CDrawMode mode = modeFor(pass, boundaries);
    QPainter p(&image);
    frame->draw(&p, &mode, style);
    return image;
}

TextRuns record(CREPageItem *frame, int pass, CStyle *style)
{
    TextRecorder recorder;
    CDrawMode mode = modeFor(pass);
    {
        QPainter p(&recorder);
        frame->draw(&p, &mode, style);
    }
    return recorder.recorded;
}

} // namespace

Q_DECLARE_METATYPE(QPainterPath)

class TestItemDrawing : public QObject
{
    Q_OBJECT

private slots:
    void frameLine_data();
    void frameLine();
    void imageStretchedAndClipped();
    void largePictureScaledForEachSize_data();
    void largePictureScaledForEachSize();
    void pathNotClippedByFrame();
    void pathBeyondThePage_data();
    void pathBeyondThePage();
    void farPathStaysSmall_data();
    void farPathStaysSmall();
    void textCentredInBox();
    void longTextShowsItsVisibleLines_data();
    void longTextShowsItsVisibleLines();
    void dataFieldByPass_data();
    void dataFieldByPass();
    void placeholders_data();
    void placeholders();
    void pictureSlotAndList();
    void blockReference();
    void symbolPlacement_data();
    void symbolPlacement();
    void infoTableOfUncalculatedPerson();
    void unknownTypeOrKeyDrawsNothing();
    void trackerOutline_data();
    void trackerOutline();
    void trackerSideHandles_data();
    void trackerSideHandles();
};

void TestItemDrawing::frameLine_data()
{
    QTest::addColumn<int>("pass");
    QTest::addColumn<bool>("boundaries");
    QTest::addColumn<int>("frameStyle");
    QTest::addColumn<QColor>("expected"); // invalid: no line
    const QColor grey(180, 180, 180);
    const QColor blue(0, 0, 255);
    QTest::newRow("editor, unframed") << int(Editor) << true << 0 << grey;
    QTest::newRow("thumbnail, unframed") << int(Thumbnail) << true << 0 << grey;
    QTest::newRow("editor, boundaries hidden") << int(Editor) << false << 0 << QColor();
    QTest::newRow("output, unframed") << int(Output) << true << 0 << QColor();
    QTest::newRow("output, framed") << int(Output) << true << 1 << blue;
    QTest::newRow("editor, framed, hidden") << int(Editor) << false << 1 << blue;
}

void TestItemDrawing::frameLine()
{
    QFETCH(int, pass);
    QFETCH(bool, boundaries);
    QFETCH(int, frameStyle);
    QFETCH(QColor, expected);
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 20, 20, 100, 60);
    frame->inner->frameStyle = frameStyle;
    frame->inner->frameColor = QColor(0, 0, 255);
    const QImage image = render(frame, pass, &style, boundaries);
    // The top edge of the outline lies on y = 20 from x = 20 to 120.
    const QRect edge(30, 19, 80, 3);
    if (expected.isValid())
        QVERIFY(countColor(image, edge, expected, 40) >= 80);
    else
        QCOMPARE(countInk(image, image.rect()), 0);
    delete frame;
}

void TestItemDrawing::imageStretchedAndClipped()
{
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 10, 10, 100, 50);
    frame->inner->image = solid(2, 2, Qt::red);
    QImage image = render(frame, Output, &style);
    QCOMPARE(countColor(image, QRect(12, 12, 96, 46), Qt::red), 96 * 46);
    QCOMPARE(countInk(image, QRect(115, 0, 100, 100)), 0);
    // Shifted content is cut at the frame's outline.
    frame->inner->translate(60, 0);
    frame->inner->boundSize = QSizeF(200, 50);
    image = render(frame, Output, &style);
    QVERIFY(countColor(image, QRect(72, 12, 36, 46), Qt::red) == 36 * 46);
    QCOMPARE(countInk(image, QRect(112, 0, 188, 200)), 0);
    QCOMPARE(countInk(image, QRect(10, 10, 58, 50)), 0);
    // An image item without a picture paints nothing.
    frame->inner->image = QImage();
    QCOMPARE(countInk(render(frame, Output, &style), QRect(0, 0, 300, 200)), 0);
    delete frame;
}

void TestItemDrawing::largePictureScaledForEachSize_data()
{
    QTest::addColumn<QImage>("picture");
    QImage opaque(1024, 1024, QImage::Format_RGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        for (int x = 0; x < opaque.width(); ++x)
            opaque.setPixel(x, y, qRgb(x / 4, y / 4, 128));
    }
    QImage translucent(600, 800, QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y) {
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, qRgba(200, x * 255 / 600, 0, 64 + y * 191 / 800));
    }
    QTest::newRow("opaque 1024 x 1024") << opaque;
    QTest::newRow("translucent 600 x 800") << translucent;
}

// A large picture drawn smaller looks as the painter would draw it, at every
// size it is drawn at, and a picture put in its place shows at once.
void TestItemDrawing::largePictureScaledForEachSize()
{
    QFETCH(QImage, picture);
    CStyle style;
    CDrawMode mode = modeFor(Output);
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 10, 20, 200, 150);
    frame->inner->image = picture;
    for (const double scale : {1.0, 0.5, 1.0, 0.25}) {
        QImage drawn = canvas(300, 200);
        QImage direct = canvas(300, 200);
        {
            QPainter p(&drawn);
            p.setRenderHint(QPainter::SmoothPixmapTransform, true);
            p.scale(scale, scale);
            frame->draw(&p, &mode, &style);
        }
        {
            QPainter p(&direct);
            p.setRenderHint(QPainter::SmoothPixmapTransform, true);
            p.scale(scale, scale);
            p.translate(10, 20);
            p.drawImage(QRectF(0, 0, 200, 150), picture);
        }
        int differ = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 300; ++x) {
                const QColor a = drawn.pixelColor(x, y);
                const QColor b = direct.pixelColor(x, y);
                if (qAbs(a.red() - b.red()) + qAbs(a.green() - b.green())
                        + qAbs(a.blue() - b.blue())
                    > 24)
                    ++differ;
            }
        }
        // At most the pixels along the edges.
        QVERIFY2(differ <= int(2 * (200 + 150) * scale) + 4,
                 qPrintable(QStringLiteral("%1 at %2").arg(differ).arg(scale)));
    }
    QImage blue(picture.size(), QImage::Format_RGB32);
    blue.fill(Qt::blue);
    frame->inner->image = blue;
    const QImage replaced = render(frame, Output, &style);
    QCOMPARE(countColor(replaced, QRect(12, 22, 196, 146), Qt::blue), 196 * 146);
    delete frame;
}

void TestItemDrawing::pathNotClippedByFrame()
{
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Path, 10, 10, 50, 50);
    CREPageItem *path = frame->inner;
    QPainterPath shape;
    shape.addRect(0, 0, 150, 40);
    path->shape = shape;
    path->color = Qt::green;
    path->penWidth = 0;
    QImage image = render(frame, Output, &style);
    // Green past the frame's right edge (x = 60) up to x = 160.
    QVERIFY(countColor(image, QRect(70, 15, 80, 30), Qt::green) == 80 * 30);
    // With a pen the outline is drawn in the pen colour.
    path->penWidth = 3;
    path->penColor = Qt::blue;
    image = render(frame, Output, &style);
    QVERIFY(countColor(image, QRect(70, 8, 80, 4), Qt::blue, 60) > 80);
    delete frame;
}

void TestItemDrawing::pathBeyondThePage_data()
{
    QTest::addColumn<QPainterPath>("shape");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("penWidth");
    // Pixels that may differ from stroking the whole outline (antialiased
    // edges where a piece is cut).
    QTest::addColumn<int>("slack");

    // Far enough off the page to be cut, near enough for the painter to
    // stroke the whole outline exactly too.
    QPainterPath lines;
    lines.moveTo(-5000, 20);
    lines.lineTo(5000, 120);
    lines.lineTo(150, -5000);
    lines.lineTo(40, 150);
    QPainterPath curves;
    curves.moveTo(10, 10);
    curves.cubicTo(5000, -5000, -5000, 5000, 200, 150);
    curves.cubicTo(250, 100, 8000, 8000, 60, 180);
    QPainterPath small;
    small.moveTo(0.1, 0.1);
    small.cubicTo(50, -50, -50, 50, 2, 1.5);
    small.cubicTo(2.5, 1, 80, 80, 0.6, 1.8);
    QPainterPath above;
    above.moveTo(-10000, -360);
    above.lineTo(10000, -360);

    // Long edges crossing the page back and forth: the fill is drawn in
    // bands of rows, which must meet without a seam.
    QPainterPath zigzag;
    zigzag.moveTo(-5000, -3000);
    for (int i = 0; i < 100; ++i)
        zigzag.lineTo(i % 2 ? -5000 : 5000, -3000 + 60 * i + (i % 3) * 7.3);
    QTest::newRow("lines, pen 5") << lines << 1.0 << 5.0 << 30;
    QTest::newRow("long edges across the page, pen 1") << zigzag << 1.0 << 1.0 << 30;
    QTest::newRow("curves, pen 3") << curves << 1.0 << 3.0 << 30;
    QTest::newRow("curves scaled 100, pen 1") << small << 100.0 << 1.0 << 30;
    QTest::newRow("cosmetic pen") << lines << 1.0 << 0.5 << 30;
    QTest::newRow("pen far wider than the page") << curves << 10.0 << 1000.0 << 0;
    QTest::newRow("wide pen, outline off the page") << above << 1.0 << 800.0 << 0;
    // On the page with a pen about as wide as it: the pen's outline is
    // filled in bands rather than stroked.
    QPainterPath box;
    box.addRect(60, 40, 40, 30);
    QTest::newRow("pen as wide as the page, outline on it") << box << 1.0 << 220.0 << 200;
}

// What shows of an outline reaching far off the page is what stroking the
// whole outline shows.
void TestItemDrawing::pathBeyondThePage()
{
    QFETCH(QPainterPath, shape);
    QFETCH(double, scale);
    QFETCH(double, penWidth);
    QFETCH(int, slack);
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Path, 20, 10, 100, 100);
    CREPageItem *path = frame->inner;
    path->shape = shape;
    path->shape.setFillRule(Qt::WindingFill);
    path->color = QColor(0, 160, 0);
    path->penColor = QColor(0, 0, 200);
    path->penWidth = penWidth;
    path->transform = QTransform::fromScale(scale, scale);
    const QImage drawn = render(frame, Output, &style);

    QImage whole = canvas(300, 200);
    {
        QPainter p(&whole);
        p.setTransform(path->transform * frame->transform);
        p.fillPath(path->shape, QBrush(path->color));
        p.setPen(QPen(QBrush(path->penColor), int(penWidth), Qt::SolidLine));
        p.drawPath(path->shape);
    }
    int differ = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            const QColor a = drawn.pixelColor(x, y);
            const QColor b = whole.pixelColor(x, y);
            if (qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue())
                > 96)
                ++differ;
        }
    }
    QVERIFY2(differ <= slack, qPrintable(QString::number(differ)));
    QVERIFY(countInk(drawn, drawn.rect()) > 0);
    delete frame;
}

void TestItemDrawing::farPathStaysSmall_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("penWidth");
    QTest::addColumn<bool>("covers");
    QTest::newRow("scale 1e4, pen 1000") << 1e4 << 1000.0 << true;
    QTest::newRow("scale 1e4, pen 1") << 1e4 << 1.0 << false;
    QTest::newRow("scale 1e4, cosmetic pen") << 1e4 << 0.0 << false;
    QTest::newRow("scale 1, pen 1000") << 1.0 << 1000.0 << false;
    QTest::newRow("scale 0.01, pen 1000") << 0.01 << 1000.0 << false;
}

// A thousand curves swinging to 1e6 through the whole range of scales: the
// part stroked stays a small outline.
void TestItemDrawing::farPathStaysSmall()
{
    QFETCH(double, scale);
    QFETCH(double, penWidth);
    QFETCH(bool, covers);
    QPainterPath shape;
    shape.moveTo(0, 0);
    for (int i = 0; i < 1000; ++i) {
        const double s = i % 2 ? -1e6 : 1e6;
        shape.cubicTo(s, -s, -s, s, (i % 7) * 10.0, (i % 5) * 10.0);
    }
    const QRectF page(0, 0, 5032, 7120);
    bool covered = false;
    const QPainterPath part = CREPageItem::visiblePart(
        shape, QTransform::fromScale(scale, scale) * QTransform::fromTranslate(600, 600), page,
        penWidth, &covered);
    QCOMPARE(covered, covers);
    QVERIFY2(part.elementCount() < 50000, qPrintable(QString::number(part.elementCount())));
    if (!covers)
        QVERIFY(part.elementCount() > 0);
}

void TestItemDrawing::textCentredInBox()
{
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Text, 0, 0, 280, 180);
    CREPageItem *text = frame->inner;
    text->text = QStringLiteral("MMMM");
    text->font.setPixelSize(30);
    text->color = Qt::black;
    const QImage image = render(frame, Output, &style);
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                minX = qMin(minX, x);
                maxX = qMax(maxX, x);
                minY = qMin(minY, y);
                maxY = qMax(maxY, y);
            }
        }
    }
    QVERIFY(maxX > minX);
    QVERIFY2(qAbs((minX + maxX) / 2 - 140) <= 6, qPrintable(QString::number((minX + maxX) / 2)));
    QVERIFY2(qAbs((minY + maxY) / 2 - 90) <= 10, qPrintable(QString::number((minY + maxY) / 2)));
    delete frame;
}

void TestItemDrawing::longTextShowsItsVisibleLines_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<double>("shift"); // of the content, in lines of text
    QTest::addColumn<double>("across"); // of the content, in widths of the text
    // Short lines broken by "\n" or another line break, or one line whose
    // middle shows, or short lines and long ones.
    QTest::addColumn<QString>("lines");
    QTest::addColumn<bool>("shows");
    const int centre = Qt::AlignCenter;
    const int right = Qt::AlignRight;
    QTest::newRow("centred") << centre << 0.0 << 0.0 << "short" << true;
    QTest::newRow("left, top") << int(Qt::AlignLeft | Qt::AlignTop) << 0.0 << 0.0 << "short"
                               << true;
    QTest::newRow("right, bottom, shifted")
        << int(Qt::AlignRight | Qt::AlignBottom) << 250.5 << 0.0 << "short" << true;
    QTest::newRow("shifted to its first lines")
        << int(Qt::AlignHCenter) << 1180.0 << 0.0 << "short" << false;
    QTest::newRow("shifted past its end")
        << int(Qt::AlignLeft) << -2000.0 << 0.0 << "short" << false;
    QTest::newRow("broken by U+2028") << centre << 3.0 << 0.0 << "separated" << true;
    QTest::newRow("one line, left") << int(Qt::AlignLeft) << 0.0 << 0.0 << "one" << true;
    QTest::newRow("one line, centred, moved across") << centre << 0.0 << 0.1234 << "one" << true;
    QTest::newRow("one line, right, at its start") << right << 0.0 << 0.4995 << "one" << true;
    QTest::newRow("one line, at its end") << right << 0.0 << -0.4995 << "one" << true;
    QTest::newRow("one line, past its end") << right << 0.0 << -0.52 << "one" << false;
    QTest::newRow("long lines among short, right")
        << int(Qt::AlignRight | Qt::AlignTop) << 1.0 << -0.01 << "mixed" << true;
    QTest::newRow("long lines among short, centred")
        << int(Qt::AlignHCenter | Qt::AlignBottom) << -2.0 << 0.02 << "mixed" << true;
}

// A long text in a small frame shows the lines of it, and the part of a
// long line, that laying out the whole text shows.
void TestItemDrawing::longTextShowsItsVisibleLines()
{
    QFETCH(int, alignment);
    QFETCH(double, shift);
    QFETCH(double, across);
    QFETCH(QString, lines);
    QFETCH(bool, shows);
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Text, 20, 30, 260, 140);
    CREPageItem *item = frame->inner;
    const QChar lineBreak = lines == "separated" ? QChar::LineSeparator : QChar('\n');
    for (int i = 0; item->text.size() < 12000; ++i) {
        if (lines == "one")
            item->text += QStringLiteral("Word%1 fly, ").arg(i);
        else if (lines == "mixed" && i % 3 == 1)
            item->text += QString(700, QLatin1Char('W' + i % 2)) + QStringLiteral(" %1").arg(i)
                + lineBreak;
        else
            item->text += QStringLiteral("Line %1 %2").arg(i).arg(QString(i % 17, QLatin1Char('w')))
                + lineBreak;
    }
    item->alignment = alignment;
    item->color = Qt::black;
    const double pitch = QFontMetricsF(item->font).lineSpacing();
    const double width
        = QFontMetricsF(item->font).boundingRect(QRectF(), alignment, item->text).width();
    item->translate(across * width, shift * pitch);
    const QImage drawn = render(frame, Output, &style);

    QImage whole = canvas(300, 200);
    {
        QPainter p(&whole);
        p.setTransform(frame->transform);
        p.setClipPath(frame->shape);
        p.setTransform(item->transform * frame->transform);
        QFont font = item->font;
        font.setStyleStrategy(QFont::PreferAntialias);
        p.setFont(font);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setPen(Qt::black);
        const QRect b = p.boundingRect(QRect(), alignment, item->text);
        p.drawText(QRectF(130 - b.width() / 2.0 - 1, 70 - b.height() / 2.0 - 1, b.width() + 2,
                          b.height() + 2),
                   alignment, item->text);
    }
    int differ = 0;
    int inked = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            differ += qAbs(qGray(drawn.pixel(x, y)) - qGray(whole.pixel(x, y))) > 64;
            inked += qGray(whole.pixel(x, y)) < 128;
        }
    }
    QCOMPARE(inked > 0, shows);
    QVERIFY2(differ <= 8, qPrintable(QString::number(differ)));
    delete frame;
}

void TestItemDrawing::dataFieldByPass_data()
{
    QTest::addColumn<int>("pass");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<double>("textX");
    QTest::newRow("editor") << int(Editor) << true << 18.0;
    QTest::newRow("thumbnail") << int(Thumbnail) << false << 1.0;
    QTest::newRow("output") << int(Output) << false << 1.0;
}

void TestItemDrawing::dataFieldByPass()
{
    QFETCH(int, pass);
    QFETCH(bool, icon);
    QFETCH(double, textX);
    CStyle style;
    style.images[CStyle::DataField] = solid(16, 16, Qt::red);
    CREPageItem *frame = makeObject(nullptr, CREPageItem::DataField, 0, 0, 200, 25);
    frame->inner->text = QStringLiteral("FULL NAME");
    const TextRuns recorder = record(frame, pass, &style);
    const TextRuns::Run run = recorder.find(QStringLiteral("FULL NAME"));
    QCOMPARE(run.text, QStringLiteral("FULL NAME"));
    QCOMPARE(run.position.x(), textX);
    const QImage image = render(frame, pass, &style, false);
    QCOMPARE(countColor(image, QRect(0, 0, 16, 16), Qt::red) == 256, icon);
    delete frame;
}

void TestItemDrawing::placeholders_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("isVariable");
    QTest::addColumn<bool>("isFreeText");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<double>("x");
    const QString own = QStringLiteral("OWN TEXT");
    QTest::newRow("full name") << "#full_name" << true << false << QStringList {"@full"} << 1.0;
    QTest::newRow("short name") << "#short_name" << true << false << QStringList {"@short"} << 1.0;
    QTest::newRow("birth date") << "#birthdate" << true << false << QStringList {"Jan 5 1984"}
                                << 1.0;
    QTest::newRow("print date") << "#print_date" << true << false
                                << QStringList {CREPageItem::dateText(QDate::currentDate())} << 1.0;
    QTest::newRow("numerologist shows its own text")
        << "#numerologist" << true << false << QStringList {own} << 1.0;
    QTest::newRow("title variable") << "Life Cycles" << true << false << QStringList {own} << 2.0;
    QTest::newRow("free text") << "#text" << false << true << QStringList {own} << 2.0;
    QTest::newRow("neither flag") << "Life Cycles" << false << false << QStringList {} << 0.0;
    QTest::newRow("key is case-sensitive")
        << "#FULL_NAME" << false << false << QStringList {} << 0.0;
}

void TestItemDrawing::placeholders()
{
    QFETCH(QString, key);
    QFETCH(bool, isVariable);
    QFETCH(bool, isFreeText);
    QFETCH(QStringList, expected);
    QFETCH(double, x);
    Person person;
    CStyle style;
    CREPageItem *frame = makeObject(&person.container, CREPageItem::Placeholder, 0, 0, 400, 25);
    CREPageItem *item = frame->inner;
    item->key = key;
    item->isVariable = isVariable;
    item->isFreeText = isFreeText;
    item->text = QStringLiteral("OWN TEXT");
    // The names as the reading holds them (it writes them in capitals).
    expected.replaceInStrings(QStringLiteral("@full"), person.person.m_fullName);
    expected.replaceInStrings(QStringLiteral("@short"), person.person.m_shortName);
    const TextRuns recorder = record(frame, Output, &style);
    QCOMPARE(recorder.texts(), expected);
    if (!expected.isEmpty())
        QCOMPARE(recorder.runs.first().position.x(), x);
    delete frame;
}

void TestItemDrawing::pictureSlotAndList()
{
    CStyle style;
    style.images[CStyle::RepImage] = solid(40, 20, Qt::red);
    CREPageItem *frame = makeObject(nullptr, CREPageItem::PictureSlot, 0, 0, 100, 100);
    frame->inner->blockIndex = 2;
    // Editor: the placeholder picture fitted (100 x 50 at the top) and the number 3.
    QImage image = render(frame, Editor, &style, false);
    QVERIFY(countColor(image, QRect(0, 0, 100, 50), Qt::red) > 100 * 50 * 8 / 10);
    QCOMPARE(countColor(image, QRect(60, 0, 40, 50), Qt::red), 40 * 50);
    QCOMPARE(countColor(image, QRect(0, 52, 100, 48), Qt::red), 0);
    QCOMPARE(record(frame, Editor, &style).texts(), QStringList {"3"});
    // Output: neither picture nor number.
    QCOMPARE(countInk(render(frame, Output, &style, false), QRect(0, 0, 300, 200)), 0);
    QVERIFY(record(frame, Output, &style).texts().isEmpty());
    // At its own size the picture shows in every pass.
    frame->inner->fitMode = 0;
    image = render(frame, Output, &style, false);
    QCOMPARE(countColor(image, QRect(0, 0, 40, 20), Qt::red), 800);
    QCOMPARE(countInk(image, QRect(41, 0, 200, 200)), 0);

    frame->inner->type = CREPageItem::PictureList;
    frame->inner->fitMode = 1;
    QCOMPARE(countColor(render(frame, Editor, &style, false), QRect(0, 0, 100, 50), Qt::red), 5000);
    QVERIFY(record(frame, Editor, &style).texts().isEmpty());
    QCOMPARE(countInk(render(frame, Output, &style, false), QRect(0, 0, 300, 200)), 0);
    delete frame;
}

void TestItemDrawing::blockReference()
{
    CStyle style;
    CREPage block(nullptr, &style);
    block.width = 100;
    block.height = 50;
    CREPageItem *inBlock = makeObject(nullptr, CREPageItem::Image, 0, 0, 100, 50);
    inBlock->inner->image = solid(1, 1, Qt::green);
    block.items << inBlock;
    block.thumbnail = new QImage(solid(10, 5, Qt::red));
    // The reference draws its block's current thumbnail, not the image it was given.
    QImage stale = solid(10, 5, Qt::blue);

    CREPageItem *frame = makeObject(nullptr, CREPageItem::BlockReference, 50, 50, 100, 50);
    CREPageItem *ref = frame->inner;
    ref->blockPage = &block;
    ref->blockImage = &stale;
    ref->order = 0;

    // Editor: the thumbnail at 80 % over white and the number "#1".
    QImage image = render(frame, Editor, &style, false);
    QVERIFY(countColor(image, QRect(70, 70, 40, 20), QColor(255, 51, 51), 3) > 300);
    QCOMPARE(record(frame, Editor, &style).texts(), QStringList {"#1"});
    // Output: the block page itself.
    image = render(frame, Output, &style, false);
    QCOMPARE(countColor(image, QRect(52, 52, 96, 46), Qt::green), 96 * 46);
    QVERIFY(record(frame, Output, &style).texts().isEmpty());
    // A reference without a valid block index draws nothing in the output pass.
    ref->blockIndex = -1;
    QCOMPARE(countInk(render(frame, Output, &style, false), QRect(0, 0, 300, 200)), 0);
    delete frame;
}

void TestItemDrawing::symbolPlacement_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("left"); // -1: nothing drawn
    // QR of "HELLO" is 210 x 210; fitted into 300 x 100 it is 100 x 100.
    QTest::newRow("left") << 1 << 0;
    QTest::newRow("right") << 2 << 200;
    QTest::newRow("centre") << 4 << 100;
    QTest::newRow("other value") << 8 << -1;
}

void TestItemDrawing::symbolPlacement()
{
    QFETCH(int, alignment);
    QFETCH(int, left);
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Symbol, 0, 0, 300, 100);
    frame->inner->text = QStringLiteral("HELLO");
    frame->inner->barcodeKind = 0;
    frame->inner->alignment = alignment;
    frame->inner->color = Qt::black;
    const QImage image = render(frame, Output, &style, false, 300, 200);
    if (left < 0) {
        QCOMPARE(countInk(image, image.rect()), 0);
    } else {
        // The finder pattern's dark corner sits in the symbol's top-left module.
        QCOMPARE(countColor(image, QRect(left + 1, 1, 3, 3), Qt::black, 60), 9);
        QCOMPARE(countInk(image, QRect(0, 101, 300, 99)), 0);
        QCOMPARE(countInk(image, QRect(0, 0, left, 100)), 0);
        QCOMPARE(countInk(image, QRect(left + 101, 0, 300, 100)), 0);
    }
    delete frame;
}

void TestItemDrawing::infoTableOfUncalculatedPerson()
{
    Person person {QString()};
    CStyle style;
    CREPageItem *frame = makeObject(&person.container, CREPageItem::InfoTable, 0, 10, 300, 150);
    frame->inner->key = QStringLiteral("Main Features");
    frame->inner->backgroundColor = QColor(0, 200, 0);
    const QImage image = render(frame, Output, &style, false);
    // The fill spans 199 x 102 from one pixel above the item's top.
    QCOMPARE(countColor(image, QRect(0, 9, 199, 102), QColor(0, 200, 0), 0) > 199 * 102 / 2, true);
    QCOMPARE(countColor(image, QRect(199, 0, 101, 200), QColor(0, 200, 0), 0), 0);
    QCOMPARE(countColor(image, QRect(0, 111, 300, 89), QColor(0, 200, 0), 0), 0);
    QCOMPARE(countColor(image, QRect(0, 0, 300, 9), QColor(0, 200, 0), 0), 0);
    // Six labels and nothing else: no brackets around missing values.
    const QStringList texts = record(frame, Output, &style).texts();
    QCOMPARE(texts,
             (QStringList {"Life Path", "Birthday", "Expression (M)", "Heart Desire (M)",
                           "Personality (M)", "Karmic Debts"}));
    delete frame;
}

void TestItemDrawing::unknownTypeOrKeyDrawsNothing()
{
    CStyle style;
    CREPageItem *frame = makeObject(nullptr, 16, 0, 0, 100, 100);
    QCOMPARE(countInk(render(frame, Output, &style), QRect(0, 0, 300, 200)), 0);
    frame->inner->type = CREPageItem::InfoTable;
    frame->inner->key = QStringLiteral("main features");
    QCOMPARE(countInk(render(frame, Output, &style), QRect(0, 0, 300, 200)), 0);
    // A frame that lost its content (damaged template) still draws its outline only.
    delete frame->inner;
    frame->inner = nullptr;
    QCOMPARE(countInk(render(frame, Output, &style), QRect(0, 0, 300, 200)), 0);
    QVERIFY(countInk(render(frame, Editor, &style), QRect(0, 0, 300, 200)) > 0);
    delete frame;
}

void TestItemDrawing::trackerOutline_data()
{
    QTest::addColumn<bool>("outlineOnly");
    QTest::addColumn<bool>("boundaries");
    QTest::addColumn<bool>("painted");
    QTest::newRow("outline, boundaries hidden") << true << false << false;
    QTest::newRow("outline, boundaries shown") << true << true << true;
    QTest::newRow("handles, boundaries hidden") << false << false << true;
}

void TestItemDrawing::trackerOutline()
{
    QFETCH(bool, outlineOnly);
    QFETCH(bool, boundaries);
    QFETCH(bool, painted);
    CStyle style;
    style.outlineColor = Qt::black;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 50, 50, 100, 60);
    QImage image = canvas(300, 200);
    CDrawMode mode = modeFor(Editor, boundaries);
    {
        QPainter p(&image);
        p.scale(0.5, 0.5); // the outline follows the painter's transform at entry
        frame->drawTracker(&p, &mode, &style, outlineOnly);
    }
    QCOMPARE(countInk(image, image.rect()) > 0, painted);
    if (painted) {
        // The rectangle is the mapped outline (25, 25, 50, 30) widened to (23, 23, 53, 33).
        QCOMPARE(countColor(image, QRect(30, 23, 40, 1), Qt::black), 40);
        QCOMPARE(countColor(image, QRect(23, 30, 1, 20), Qt::black), 20);
        QCOMPARE(countInk(image, QRect(100, 100, 200, 100)), 0);
    }
    delete frame;
}

void TestItemDrawing::trackerSideHandles_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("ellipses");
    QTest::newRow("tall") << 60 << true;
    QTest::newRow("20 pixels high") << 15 << false; // widened to 18
}

void TestItemDrawing::trackerSideHandles()
{
    QFETCH(int, height);
    QFETCH(bool, ellipses);
    CStyle style;
    style.outlineColor = Qt::black;
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 50, 50, 100, height);
    QImage image = canvas(300, 200);
    CDrawMode mode = modeFor(Editor);
    {
        QPainter p(&image);
        frame->drawTracker(&p, &mode, &style, false);
    }
    // Left of the outline (x = 48) the side ellipse reaches out to x = 45.
    QCOMPARE(countInk(image, QRect(44, 50, 3, height)) > 0, ellipses);
    delete frame;
}

QTEST_MAIN(TestItemDrawing)
#include "tst_itemdrawing.moc"
