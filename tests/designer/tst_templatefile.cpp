#include "designer/managerthumbnaildlg.h"
#include "designer/propertieswidget.h"
#include "designer/reportdocument.h"
#include "designer/reportpe.h"
#include "designer/templatelimits.h"
#include "hostiletemplates.h"
#include "lnrfixture.h"
#include "style/infodlg.h"
#include "tests/support/testenvironment.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace DesignerTest;

namespace {

const char magicText[] = "VormaplexiduneReportFile->";

QString goldenPath()
{
    return TestEnvironment::dataPath(QStringLiteral("designer/golden.lnr"));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray saveToBytes(CReportDocument &doc, int *result = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream s(&buffer);
    const int r = doc.save(s);
    if (result)
        *result = r;
    return bytes;
}

// A device that gives its bytes as a pipe would: its size is unknown.
class SequentialBuffer : public QBuffer
{
public:
    using QBuffer::QBuffer;
    bool isSequential() const override { return true; }
};

int loadSequential(CReportDocument &doc, const QByteArray &bytes)
{
    SequentialBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream s(&buffer);
    return doc.load(s);
}

int loadBytes(CReportDocument &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream s(&buffer);
    return doc.load(s);
}

bool isNewReport(const CReportDocument &doc)
{
    return doc.name == QLatin1String("New report") && doc.blocks.isEmpty()
        && doc.pageLists.size() == 1 && doc.pageLists.first()->size() == 1
        && doc.currentPage == doc.pageLists.first()->first()
        && doc.currentPage->name == QLatin1String("Untitled") && doc.currentPage->items.isEmpty()
        && doc.currentPage->width == 840 && doc.currentPage->height == 1188;
}

// The first difference between two items' stored fields, or an empty text.
QString itemDifference(const CREPageItem *a, const CREPageItem *b)
{
#define FIELD(f)                                                                                   \
    if (!(a->f == b->f))                                                                           \
        return QStringLiteral(#f);
    FIELD(type)
    FIELD(isVariable)
    FIELD(isFreeText)
    FIELD(auxText)
    FIELD(transform)
    FIELD(angle)
    FIELD(boundSize)
    FIELD(shape)
    FIELD(color)
    FIELD(auxSize)
    FIELD(auxFlag)
    FIELD(fixedContent)
    FIELD(text)
    FIELD(font)
    FIELD(alignment)
    FIELD(penStyle)
    FIELD(penWidth)
    FIELD(penColor)
    FIELD(frameStyle)
    FIELD(frameColor)
    FIELD(barcodeKind)
    FIELD(fitMode)
    FIELD(pictureChoice)
    FIELD(backgroundColor)
    FIELD(order)
#undef FIELD
    if (a->image.toImage().convertToFormat(QImage::Format_ARGB32)
        != b->image.toImage().convertToFormat(QImage::Format_ARGB32))
        return QStringLiteral("image");
    if (a->shape.fillRule() != b->shape.fillRule())
        return QStringLiteral("fill rule");
    if (a->type != CREPageItem::BlockReference && a->key != b->key)
        return QStringLiteral("key");
    if (a->type != CREPageItem::BlockReference && a->blockIndex != b->blockIndex)
        return QStringLiteral("blockIndex");
    if (!a->inner != !b->inner)
        return QStringLiteral("inner");
    return a->inner ? itemDifference(a->inner, b->inner) : QString();
}

QString pageDifference(const CREPage *a, const CREPage *b)
{
    if (a->width != b->width || a->height != b->height)
        return QStringLiteral("size");
    if (a->name != b->name || a->repeatCount != b->repeatCount
        || a->reservedValue != b->reservedValue)
        return QStringLiteral("name or values");
    if (a->pageBackground.color != b->pageBackground.color
        || a->pageBackground.mode != b->pageBackground.mode
        || a->pageBackground.image.toImage().convertToFormat(QImage::Format_ARGB32)
            != b->pageBackground.image.toImage().convertToFormat(QImage::Format_ARGB32))
        return QStringLiteral("background");
    if (a->items.size() != b->items.size())
        return QStringLiteral("item count");
    for (int i = 0; i < a->items.size(); ++i) {
        const QString d = itemDifference(a->items.at(i), b->items.at(i));
        if (!d.isEmpty())
            return QStringLiteral("item %1: %2").arg(i).arg(d);
    }
    return QString();
}

// A writer of older format versions, written from the file layout alone.
struct OldWriter
{
    QByteArray bytes;
    QDataStream s;
    int version;

    explicit OldWriter(int v)
        : s(&bytes, QIODevice::WriteOnly)
        , version(v)
    {
        s.setVersion(12);
    }

    void header(int magicLength = 27)
    {
        s << qint32(magicLength);
        s.writeRawData(magicText, 27);
        s << qint32(version) << QStringLiteral("Old chart") << qint32(1) << QImage();
        if (version >= 257) {
            s << qint32(0) << qint32(0);
            if (version >= 262)
                s << qint32(0);
            s << 5.0 << 7.0;
        }
        if (version >= 258)
            s << qint32(0); // no blocks
    }

    void item(int type, bool withInnerByte, qint8 innerByte = 1)
    {
        QFont font;
        font.setFamily(QStringLiteral("Arial"));
        font.setPointSize(10); // stored with a point size only
        QPainterPath shape;
        shape.addRect(0, 0, 50, 20);
        s << qint32(type) << qint8(0) /* isVariable true */ << qint8(1) /* isFreeText false */
          << QStringLiteral("aux") << QStringLiteral("#birthdate")
          << QTransform::fromTranslate(3, 4) << 15.0 << QSizeF(50, 20) << shape << QColor(1, 2, 3)
          << QSizeF(0, 0) << QImage()
          << qint8(1) /* auxFlag false */ << qint8(0) /* fixedContent true */
          << QStringLiteral("text") << font << qint64(-1) << qint32(2) << 0.5 << QColor(4, 5, 6)
          << qint32(0) << qint32(1) << QColor(7, 8, 9) << qint32(0);
        if (version >= 258)
            s << qint32(3); // order
        if (version >= 260)
            s << qint32(5); // picture choice
        if (version >= 261)
            s << qint32(6); // barcode kind
        if (version >= 263)
            s << QColor(10, 11, 12, 13);
        if (withInnerByte)
            s << innerByte;
    }

    void page(qint32 itemCount, int frames)
    {
        s << 500.0 << 400.0;
        if (version >= 258)
            s << QStringLiteral("Named") << qint32(3) << qint32(9);
        if (version >= 259)
            s << QColor(20, 30, 40) << qint8(0) << QImage();
        s << itemCount;
        for (int i = 0; i < frames; ++i) {
            item(CREPageItem::Frame, true);
            item(CREPageItem::Placeholder, false);
        }
    }

    QByteArray document()
    {
        header();
        s << qint32(1) << qint32(1);
        page(1, 1);
        return bytes;
    }
};

QImage fullPicture()
{
    QImage image(1024, 1024, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

// Pictures of 4096 x 4096 as their headers declare them, 29 of them: 487
// million of the pixels a template may hold, read without decoding.
constexpr int DeclaredPictures = 29;
constexpr qint64 DeclaredPixels = qint64(DeclaredPictures) * 4096 * 4096;
QByteArray declaredPictures()
{
    return HostileTemplates::declaredPictures(DeclaredPictures, 1, 4096);
}

int g_boxes = 0;
int countBox(CInfoDlgWin::MessageKind, const QString &, const QString &, QWidget *)
{
    ++g_boxes;
    return 0;
}

// With LUMARO_WRITE_GOLDEN=1 the files of a row become fuzzer seeds (the
// small ones: large seeds slow every fuzzing step).
void writeSeed(const char *folder, const QByteArray &bytes)
{
    if (!qEnvironmentVariableIntValue("LUMARO_WRITE_GOLDEN") || bytes.size() > 100000)
        return;
    const QString name
        = QString::fromLatin1(QTest::currentDataTag())
              .replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    QFile seed(TestEnvironment::dataPath(QLatin1String(folder) + name + QStringLiteral(".lnr")));
    if (seed.open(QIODevice::WriteOnly))
        seed.write(bytes);
}

using Shaper = std::function<void(CReportDocument &, CREPage *)>;
using Gesture = std::function<void(CReportPE &, CREPage *)>;

// A press on the frame's handle, dragged to the page point.
void dragHandle(CReportPE &view, CREPageItem *frame, int handle, const QPointF &to)
{
    view.currentPage->unselectAll();
    frame->selected = true;
    STracker t[CReportPE::HandleCount];
    frame->genTrackers(t, frame->getShapeBoundRect(), view.calcDocViewTransform(),
                       view.drawStyle());
    const QTransform toView = view.calcDocViewTransform();
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                      toView.map(t[handle].rect.center()).toPoint());
    QTest::mouseMove(view.viewport(), toView.map(to).toPoint());
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, toView.map(to).toPoint());
}

} // namespace

Q_DECLARE_METATYPE(Shaper)
Q_DECLARE_METATYPE(Gesture)
Q_DECLARE_METATYPE(HostileTemplates::Builder)

class TestTemplateFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writerMatchesGolden();
    void goldenFollowsTheFormat();
    void goldenRoundTrip();
    void previewFramedThumbnailNot();
    void olderVersions_data();
    void olderVersions();
    void refusedFiles_data();
    void refusedFiles();
    void magicLengthNotChecked();
    void invertedBooleans_data();
    void invertedBooleans();
    void truncatedFilesRefused();
    void damagedBytesNeverCrash();
    void hugeCountsRefusedQuickly_data();
    void hugeCountsRefusedQuickly();
    void blockIndexOutOfRangeDropped();
    void nothingToSave();
    void saveToFileReportsFailure();
    void fileRoundTrip();
    void saveRefusesWhatReaderRefuses_data();
    void saveRefusesWhatReaderRefuses();
    void editorStaysWithinLimits_data();
    void editorStaysWithinLimits();
    void textRowCutAtItsLength();
    void picturedTemplates_data();
    void picturedTemplates();

private:
    QByteArray m_golden;
};

void TestTemplateFile::initTestCase()
{
    // Regenerate with LUMARO_WRITE_GOLDEN=1 after a deliberate format change,
    // then check the new file against the layout by hand.
    if (qEnvironmentVariableIntValue("LUMARO_WRITE_GOLDEN")) {
        CReportDocument doc(nullptr, nullptr);
        LnrTest::buildGolden(doc);
        QVERIFY(doc.saveToFile(goldenPath()));
    }
    m_golden = readFile(goldenPath());
    QVERIFY2(!m_golden.isEmpty(), qPrintable(goldenPath()));
}

void TestTemplateFile::writerMatchesGolden()
{
    CReportDocument doc(nullptr, nullptr);
    LnrTest::buildGolden(doc);
    int result = -1;
    const QByteArray bytes = saveToBytes(doc, &result);
    QCOMPARE(result, 0);
    QCOMPARE(bytes.size(), m_golden.size());
    QVERIFY(bytes == m_golden);
    // Saving renumbered the block reference from the block list.
    QCOMPARE(doc.pageLists.first()->at(1)->items.at(5)->inner->blockIndex, 0);
}

// Walks the golden file by the layout alone, field by field.
void TestTemplateFile::goldenFollowsTheFormat()
{
    QDataStream s(m_golden);
    s.setVersion(12);
    qint32 i32 = 0;
    s >> i32;
    QCOMPARE(i32, 27);
    QByteArray magic(27, '\0');
    QCOMPARE(s.readRawData(magic.data(), 27), 27);
    QCOMPARE(magic, QByteArray(magicText, 27));
    QCOMPARE(magic.at(26), '\0');
    s >> i32;
    QCOMPARE(i32, 263);
    QString name;
    QImage preview;
    s >> name >> i32 >> preview;
    QCOMPARE(name, QStringLiteral("Golden chart – Größe"));
    QCOMPARE(i32, 1);
    QCOMPARE(preview.size(), QSize(256, 128));
    qint32 grid, snap, boundaries;
    double stepX, stepY;
    s >> grid >> snap >> boundaries >> stepX >> stepY;
    QCOMPARE(grid, 0);
    QCOMPARE(snap, 1);
    QCOMPARE(boundaries, 0);
    QCOMPARE(stepX, 12.5);
    QCOMPARE(stepY, 8.0);

    struct Item
    {
        qint32 type;
        qint8 isVariable, isFreeText, auxFlag, fixedContent;
        QString auxText, key, text;
        QTransform transform;
        double angle, penWidth;
        QSizeF boundSize, auxSize;
        QPainterPath shape;
        QColor color, penColor, frameColor, backgroundColor;
        QImage image;
        QFont font;
        qint64 alignment;
        qint32 penStyle, blockIndex, frameStyle, fitMode, order, pictureChoice, barcodeKind;
    };
    auto readItem = [&s]() {
        Item it;
        s >> it.type >> it.isVariable >> it.isFreeText >> it.auxText >> it.key >> it.transform
            >> it.angle >> it.boundSize >> it.shape >> it.color >> it.auxSize >> it.image
            >> it.auxFlag >> it.fixedContent >> it.text >> it.font >> it.alignment >> it.penStyle
            >> it.penWidth >> it.penColor >> it.blockIndex >> it.frameStyle >> it.frameColor
            >> it.fitMode >> it.order >> it.pictureChoice >> it.barcodeKind >> it.backgroundColor;
        return it;
    };
    struct Page
    {
        double w, h;
        QString name;
        qint32 repeat, reserved;
        QColor color;
        qint8 mode;
        QImage image;
        QList<Item> outer, inner;
    };
    auto readPage = [&]() {
        Page p;
        qint32 count = 0;
        s >> p.w >> p.h >> p.name >> p.repeat >> p.reserved >> p.color >> p.mode >> p.image
            >> count;
        for (int i = 0; i < count; ++i) {
            p.outer << readItem();
            qint8 hasInner = 0;
            s >> hasInner;
            if (hasInner == 1)
                p.inner << readItem();
        }
        return p;
    };

    s >> i32;
    QCOMPARE(i32, 1);
    const Page block = readPage();
    QCOMPARE(block.name, QStringLiteral("Footer"));
    QCOMPARE(block.w, 300.0);
    QCOMPARE(block.repeat, 2);
    QCOMPARE(block.mode, qint8(0));
    QCOMPARE(block.color, QColor(250, 240, 230));
    QCOMPARE(block.inner.size(), 1);
    QCOMPARE(block.inner.first().text, QStringLiteral("Block text"));

    qint32 lists = 0;
    s >> lists;
    QCOMPARE(lists, 2);
    qint32 pages = 0;
    s >> pages;
    QCOMPARE(pages, 2);
    const Page front = readPage();
    QCOMPARE(front.name, QStringLiteral("Front"));
    QCOMPARE(front.w, 600.0);
    QCOMPARE(front.h, 300.0);
    QCOMPARE(front.reserved, 7);
    QCOMPARE(front.mode, qint8(2));
    QCOMPARE(front.image.size(), QSize(4, 4));
    QCOMPARE(front.outer.size(), 3);
    QCOMPARE(front.inner.size(), 3);
    const Item &frame = front.outer.at(0);
    QCOMPARE(frame.type, 1);
    QCOMPARE(frame.fixedContent, qint8(1)); // false, stored inverted
    QCOMPARE(frame.transform, QTransform::fromTranslate(20, 20));
    const Item &image = front.inner.at(0);
    QCOMPARE(image.type, 2);
    QCOMPARE(image.auxFlag, qint8(1)); // false, stored inverted
    QCOMPARE(image.isVariable, qint8(1));
    QCOMPARE(image.auxText, QStringLiteral("aux"));
    QCOMPARE(image.key, QStringLiteral("#image"));
    QCOMPARE(image.auxSize, QSizeF(3.25, -1));
    QCOMPARE(image.image.size(), QSize(3, 2));
    QCOMPARE(image.frameStyle, 1);
    QCOMPARE(image.frameColor, QColor(0, 128, 0));
    QCOMPARE(image.fitMode, 1);
    QCOMPARE(image.backgroundColor, QColor(255, 255, 255, 222));
    QCOMPARE(image.font.pixelSize(), 11);
    QCOMPARE(image.font.family(), QStringLiteral("Arial"));
    QCOMPARE(image.alignment, qint64(1));
    QCOMPARE(front.outer.at(1).angle, 30.0);
    QCOMPARE(front.inner.at(1).angle, 30.0);
    QCOMPARE(front.inner.at(1).penStyle, qint32(Qt::DashLine));
    QCOMPARE(front.inner.at(1).penWidth, 2.5);
    QCOMPARE(front.inner.at(1).shape.elementCount(), 6); // move, line, curve (3), closing line
    QCOMPARE(front.inner.at(1).shape.fillRule(), Qt::WindingFill);
    QCOMPARE(front.inner.at(2).type, 10);
    QCOMPARE(front.inner.at(2).isFreeText, qint8(0)); // true, stored inverted
    QCOMPARE(front.inner.at(2).text, QStringLiteral("LUMARO 11"));
    QCOMPARE(front.inner.at(2).alignment, qint64(4));

    const Page second = readPage();
    QCOMPARE(second.repeat, -1);
    QCOMPARE(second.mode, qint8(-1)); // 0xFF: no background
    QCOMPARE(second.color, QColor(255, 255, 255));
    QCOMPARE(second.inner.size(), 14);
    QCOMPARE(second.inner.at(0).alignment, qint64(Qt::AlignRight | Qt::AlignBottom));
    QCOMPARE(second.inner.at(0).font.pixelSize(), 64);
    QCOMPARE(second.inner.at(0).font.italic(), true);
    QCOMPARE(second.inner.at(2).key, QStringLiteral("#birthdate"));
    QCOMPARE(second.inner.at(2).isVariable, qint8(0));
    QCOMPARE(second.inner.at(3).alignment, qint64(0));
    QCOMPARE(second.inner.at(4).blockIndex, 4);
    QCOMPARE(second.inner.at(4).fitMode, 0);
    QCOMPARE(second.inner.at(5).type, 8);
    QCOMPARE(second.inner.at(5).blockIndex, 0);
    QCOMPARE(second.inner.at(5).order, 0);
    QCOMPARE(second.inner.at(6).pictureChoice, 2);
    QCOMPARE(second.inner.at(7).key, QStringLiteral("Psychomatrix"));
    QCOMPARE(second.inner.at(7).type, 11);
    QCOMPARE(second.inner.at(7).backgroundColor, QColor(230, 240, 250, 200));
    QCOMPARE(second.inner.at(13).key, QStringLiteral("Bridges"));

    s >> pages;
    QCOMPARE(pages, 1);
    const Page other = readPage();
    QCOMPARE(other.name, QStringLiteral("Other list"));
    QCOMPARE(other.outer.size(), 0);
    QCOMPARE(s.status(), QDataStream::Ok);
    QVERIFY(s.atEnd());
}

void TestTemplateFile::goldenRoundTrip()
{
    CReportDocument original(nullptr, nullptr);
    LnrTest::buildGolden(original);
    saveToBytes(original); // renumbers the reference as the golden file holds it

    CReportDocument doc(nullptr, nullptr);
    QCOMPARE(loadBytes(doc, m_golden), 0);
    QCOMPARE(doc.name, original.name);
    QCOMPARE(doc.gridShown, 0);
    QCOMPARE(doc.snapToGrid, 1);
    QCOMPARE(doc.drawMode->showBoundaries, false);
    QCOMPARE(doc.gridStepX, 12.5);
    QCOMPARE(doc.gridStepY, 8.0);
    QCOMPARE(doc.blocks.size(), 1);
    QCOMPARE(pageDifference(doc.blocks.first(), original.blocks.first()), QString());
    QCOMPARE(doc.pageLists.size(), 2);
    for (int l = 0; l < 2; ++l) {
        QCOMPARE(doc.pageLists.at(l)->size(), original.pageLists.at(l)->size());
        for (int p = 0; p < doc.pageLists.at(l)->size(); ++p)
            QCOMPARE(pageDifference(doc.pageLists.at(l)->at(p), original.pageLists.at(l)->at(p)),
                     QString());
    }
    QCOMPARE(doc.currentPage, doc.pageLists.first()->first());
    QCOMPARE(doc.currentPage->name, QStringLiteral("Front"));

    // Frames and contents linked both ways; the reference relinked to its block.
    for (CREPageItem *frame : qAsConst(doc.pageLists.first()->at(1)->items))
        QCOMPARE(frame->inner->outer, frame);
    CREPageItem *ref = doc.pageLists.first()->at(1)->items.at(5)->inner;
    QCOMPARE(ref->blockPage, doc.blocks.first());
    QCOMPARE(ref->blockImage, doc.blocks.first()->thumbnail);
    QVERIFY(ref->blockImage);
    QCOMPARE(ref->key, doc.blockKey(doc.blocks.first()));
    for (const CREPage *page : *doc.pageLists.first())
        QVERIFY(page->thumbnail);

    // Loaded and saved again, the file is the same to the byte.
    QVERIFY(saveToBytes(doc) == m_golden);
}

void TestTemplateFile::previewFramedThumbnailNot()
{
    QDataStream s(m_golden);
    s.setVersion(12);
    qint32 i32;
    QByteArray magic(27, '\0');
    QString name;
    QImage preview;
    s >> i32;
    s.readRawData(magic.data(), 27);
    s >> i32 >> name >> i32 >> preview;
    const QRgb black = qRgb(0, 0, 0);
    QCOMPARE(preview.pixel(0, 0) | 0xff000000, black);
    QCOMPARE(preview.pixel(254, 126) | 0xff000000, black);
    QCOMPARE(preview.pixel(128, 0) | 0xff000000, black);
    QVERIFY((preview.pixel(255, 127) | 0xff000000) != black);

    CReportDocument doc(nullptr, nullptr);
    QCOMPARE(loadBytes(doc, m_golden), 0);
    saveToBytes(doc);
    const QImage *thumb = doc.pageLists.first()->first()->thumbnail;
    QVERIFY(thumb);
    QCOMPARE(thumb->size(), QSize(256, 128));
    QVERIFY((thumb->pixel(0, 0) | 0xff000000) != black);
    QVERIFY((thumb->pixel(128, 0) | 0xff000000) != black);
}

void TestTemplateFile::olderVersions_data()
{
    QTest::addColumn<int>("version");
    for (int v : {250, 256, 257, 258, 259, 260, 261, 262, 263})
        QTest::addRow("version %d", v) << v;
}

void TestTemplateFile::olderVersions()
{
    QFETCH(int, version);
    OldWriter w(version);
    CReportDocument doc(nullptr, nullptr);
    // Values an older file does not hold stay as they were before the load.
    doc.gridShown = 1;
    doc.snapToGrid = 1;
    doc.gridStepX = 10;
    doc.gridStepY = 10;
    doc.drawMode->showBoundaries = true;
    QCOMPARE(loadBytes(doc, w.document()), 0);
    QCOMPARE(doc.name, QStringLiteral("Old chart"));
    QCOMPARE(doc.gridShown, version >= 257 ? 0 : 1);
    QCOMPARE(doc.snapToGrid, version >= 257 ? 0 : 1);
    QCOMPARE(doc.gridStepX, version >= 257 ? 5.0 : 10.0);
    QCOMPARE(doc.gridStepY, version >= 257 ? 7.0 : 10.0);
    QCOMPARE(doc.drawMode->showBoundaries, version < 262);
    QVERIFY(doc.blocks.isEmpty());

    CREPage *page = doc.currentPage;
    QVERIFY(page);
    QCOMPARE(page->width, 500.0);
    QCOMPARE(page->name, version >= 258 ? QStringLiteral("Named") : QStringLiteral("Pages"));
    QCOMPARE(page->repeatCount, version >= 258 ? 3 : 0);
    QCOMPARE(page->reservedValue, version >= 258 ? 9 : 0);
    QCOMPARE(page->pageBackground.mode, quint8(version >= 259 ? 0 : 0xFF));
    QCOMPARE(page->pageBackground.color,
             version >= 259 ? QColor(20, 30, 40) : QColor(255, 255, 255));

    QCOMPARE(page->items.size(), 1);
    const CREPageItem *item = page->items.first()->inner;
    QVERIFY(item);
    QCOMPARE(item->type, int(CREPageItem::Placeholder));
    QCOMPARE(item->isVariable, true);
    QCOMPARE(item->isFreeText, false);
    QCOMPARE(item->auxFlag, false);
    QCOMPARE(item->fixedContent, true);
    QCOMPARE(item->alignment, -1); // low 32 bits of the stored 64-bit value
    QCOMPARE(item->angle, 15.0);
    QCOMPARE(item->font.pixelSize(), 13); // point size 10 gives 10 * 12 / 10 + 1
    QCOMPARE(item->order, version >= 258 ? 3 : 0);
    QCOMPARE(item->pictureChoice, version >= 260 ? 5 : 0);
    QCOMPARE(item->barcodeKind, version >= 261 ? 6 : 0);
    QCOMPARE(item->backgroundColor,
             version >= 263 ? QColor(10, 11, 12, 13) : QColor(255, 255, 255, 222));
    QCOMPARE(item->outer, page->items.first());
}

void TestTemplateFile::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray wrongMagic = OldWriter(263).document();
    wrongMagic[4] = 'v';
    QTest::newRow("wrong magic") << wrongMagic;
    QByteArray noZero = OldWriter(263).document();
    noZero[4 + 26] = '!';
    QTest::newRow("magic without its zero byte") << noZero;
    QTest::newRow("newer version") << OldWriter(264).document();
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("magic only") << OldWriter(263).document().left(31);
    OldWriter noPages(263);
    noPages.header();
    noPages.s << qint32(0);
    QTest::newRow("no page list") << noPages.bytes;
    OldWriter emptyList(263);
    emptyList.header();
    emptyList.s << qint32(1) << qint32(0);
    QTest::newRow("empty page list") << emptyList.bytes;
    OldWriter nanPage(263);
    nanPage.header();
    nanPage.s << qint32(1) << qint32(1) << qQNaN() << 400.0 << QString() << qint32(0) << qint32(0)
              << QColor() << qint8(0) << QImage() << qint32(0);
    QTest::newRow("page side not a number") << nanPage.bytes;
    OldWriter badPath(263);
    badPath.header();
    badPath.s << qint32(1) << qint32(1);
    badPath.page(1, 0);
    badPath.s << qint32(1) << qint8(1) << qint8(1) << QString() << QString() << QTransform() << 0.0
              << QSizeF() << qint32(1) << qint32(2) /* a curve first */ << 0.0 << 0.0 << qint32(0)
              << qint32(0);
    QTest::newRow("path starting with a curve") << badPath.bytes;
}

void TestTemplateFile::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    CReportDocument doc(nullptr, nullptr);
    LnrTest::buildGolden(doc);
    const QByteArray before = saveToBytes(doc);
    CREPage *const current = doc.currentPage;
    QCOMPARE(loadBytes(doc, bytes), -1);
    // The refused file changed nothing: the open template is still there.
    QVERIFY(!doc.loadError().isEmpty());
    QCOMPARE(doc.currentPage, current);
    QVERIFY(saveToBytes(doc) == before);
}

void TestTemplateFile::magicLengthNotChecked()
{
    OldWriter w(263);
    w.header(5);
    w.s << qint32(1) << qint32(1);
    w.page(0, 0);
    CReportDocument doc(nullptr, nullptr);
    QCOMPARE(loadBytes(doc, w.bytes), 0);
    QCOMPARE(doc.name, QStringLiteral("Old chart"));
}

void TestTemplateFile::invertedBooleans_data()
{
    QTest::addColumn<qint8>("stored");
    QTest::addColumn<bool>("read");
    QTest::newRow("0 is true") << qint8(0) << true;
    QTest::newRow("1 is false") << qint8(1) << false;
    QTest::newRow("2 is false") << qint8(2) << false;
}

void TestTemplateFile::invertedBooleans()
{
    QFETCH(qint8, stored);
    QFETCH(bool, read);
    QByteArray bytes = OldWriter(263).document();
    // The frame's isVariable byte follows the header, the page and the type.
    CReportDocument probe(nullptr, nullptr);
    OldWriter layout(263);
    layout.header();
    layout.s << qint32(1) << qint32(1) << 500.0 << 400.0 << QStringLiteral("Named") << qint32(3)
             << qint32(9) << QColor(20, 30, 40) << qint8(0) << QImage() << qint32(1)
             << qint32(CREPageItem::Frame);
    const int at = layout.bytes.size();
    bytes[at] = char(stored);
    bytes[at + 1] = char(stored);
    QCOMPARE(loadBytes(probe, bytes), 0);
    QCOMPARE(probe.currentPage->items.first()->isVariable, read);
    QCOMPARE(probe.currentPage->items.first()->isFreeText, read);
}

void TestTemplateFile::truncatedFilesRefused()
{
    QElapsedTimer timer;
    timer.start();
    const int size = m_golden.size();
    const int step = qMax(1, size / 400);
    for (int cut = 0; cut < size; cut += step) {
        CReportDocument doc(nullptr, nullptr);
        QVERIFY2(loadBytes(doc, m_golden.left(cut)) == -1, qPrintable(QString::number(cut)));
        QVERIFY(isNewReport(doc));
    }
    // The last bytes matter too: every cut inside the final page.
    for (int cut = size - 300; cut < size; ++cut) {
        CReportDocument doc(nullptr, nullptr);
        QVERIFY2(loadBytes(doc, m_golden.left(cut)) == -1, qPrintable(QString::number(cut)));
    }
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
}

void TestTemplateFile::damagedBytesNeverCrash()
{
    QRandomGenerator random(20261209);
    QElapsedTimer timer;
    timer.start();
    int loaded = 0;
    for (int round = 0; round < 600; ++round) {
        QByteArray bytes = m_golden;
        const int flips = 1 + random.bounded(4);
        for (int i = 0; i < flips; ++i)
            bytes[random.bounded(bytes.size())] = char(random.bounded(256));
        CReportDocument doc(nullptr, nullptr);
        const int result = loadBytes(doc, bytes);
        if (result == 0) {
            ++loaded;
            // Whatever loaded is usable: drawn and saved again.
            QImage image(200, 200, QImage::Format_ARGB32);
            QPainter p(&image);
            for (const QList<CREPage *> *list : qAsConst(doc.pageLists)) {
                for (CREPage *page : *list) {
                    CDrawMode mode;
                    mode.outputMode = true;
                    page->draw(&p, QRectF(0, 0, 200, 200), &mode, doc.style, true);
                }
            }
            p.end();
            int saved = -1;
            saveToBytes(doc, &saved);
            QCOMPARE(saved, 0);
        } else {
            QVERIFY(isNewReport(doc));
        }
    }
    QVERIFY(loaded > 0);
    QVERIFY2(timer.elapsed() < 120000, qPrintable(QString::number(timer.elapsed())));
}

void TestTemplateFile::hugeCountsRefusedQuickly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    OldWriter items(263);
    items.header();
    items.s << qint32(1) << qint32(1);
    items.page(0x7fffffff, 1);
    QTest::newRow("item count") << items.bytes;
    OldWriter pages(263);
    pages.header();
    pages.s << qint32(1) << qint32(0x7fffffff);
    pages.page(0, 0);
    QTest::newRow("page count") << pages.bytes;
    OldWriter lists(263);
    lists.header();
    lists.s << qint32(0x7fffffff) << qint32(1);
    lists.page(0, 0);
    QTest::newRow("page-list count") << lists.bytes;
    OldWriter blocks(263);
    blocks.s << qint32(27);
    blocks.s.writeRawData(magicText, 27);
    blocks.s << qint32(263) << QString() << qint32(1) << QImage() << qint32(1) << qint32(1)
             << qint32(1) << 10.0 << 10.0 << qint32(0x7fffffff);
    QTest::newRow("block count") << blocks.bytes;
    OldWriter negative(263);
    negative.header();
    negative.s << qint32(1) << qint32(1);
    negative.page(-5, 0);
    QTest::newRow("negative item count") << negative.bytes;
    OldWriter path(263);
    path.header();
    path.s << qint32(1) << qint32(1);
    path.page(1, 0);
    path.s << qint32(1) << qint8(1) << qint8(1) << QString() << QString() << QTransform() << 0.0
           << QSizeF() << qint32(0x7fffffff) << qint32(0) << 0.0 << 0.0;
    QTest::newRow("path element count") << path.bytes;
    OldWriter text(263);
    text.header();
    text.s << qint32(1) << qint32(1);
    text.page(1, 0);
    text.s << qint32(1) << qint8(1) << qint8(1) << quint32(0x7ffffffe);
    QTest::newRow("string length") << text.bytes;
}

void TestTemplateFile::hugeCountsRefusedQuickly()
{
    QFETCH(QByteArray, bytes);
    QElapsedTimer timer;
    timer.start();
    CReportDocument doc(nullptr, nullptr);
    QCOMPARE(loadBytes(doc, bytes), -1);
    QVERIFY(isNewReport(doc));
    // Where the size of the data cannot be known, the first record that is
    // not there ends the load.
    CReportDocument piped(nullptr, nullptr);
    QCOMPARE(loadSequential(piped, bytes), -1);
    QVERIFY(isNewReport(piped));
    QVERIFY2(timer.elapsed() < TestEnvironment::HangGuardMs,
             qPrintable(QString::number(timer.elapsed())));
}

void TestTemplateFile::blockIndexOutOfRangeDropped()
{
    CReportDocument original(nullptr, nullptr);
    LnrTest::buildGolden(original);
    CREPage *second = original.pageLists.first()->at(1);
    // Three references: to the block, to a block the file lacks, to the block again.
    CREPageItem *lost = LnrTest::add(second, CREPageItem::BlockReference, 400, 20, 100, 50);
    lost->order = 1;
    CREPageItem *again = LnrTest::add(second, CREPageItem::BlockReference, 400, 100, 100, 50);
    again->order = 2;
    again->blockPage = original.blocks.first();
    CREPage stray(nullptr, original.style);
    lost->blockPage = &stray; // not in the block list: its index stays as set
    lost->blockIndex = 5;
    const int count = second->items.size();

    CReportDocument doc(nullptr, nullptr);
    QCOMPARE(loadBytes(doc, saveToBytes(original)), 0);
    const CREPage *page = doc.pageLists.first()->at(1);
    QCOMPARE(page->items.size(), count - 1);
    QList<int> orders;
    for (const CREPageItem *frame : page->items) {
        if (frame->inner->type == CREPageItem::BlockReference) {
            orders << frame->inner->order;
            QCOMPARE(frame->inner->blockPage, doc.blocks.first());
        }
    }
    QCOMPARE(orders, (QList<int> {0, 1}));
}

void TestTemplateFile::nothingToSave()
{
    CReportDocument doc(nullptr, nullptr);
    doc.clear();
    int result = 0;
    QVERIFY(saveToBytes(doc, &result).isEmpty());
    QCOMPARE(result, -1);
    doc.pageLists.append(new QList<CREPage *>);
    QVERIFY(saveToBytes(doc, &result).isEmpty());
    QCOMPARE(result, -1);
    QTemporaryDir dir;
    QString error;
    QVERIFY(!doc.saveToFile(dir.filePath(QStringLiteral("x.lnr")), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.lnr"))));
}

void TestTemplateFile::saveToFileReportsFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.lnr"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    CReportDocument doc(nullptr, nullptr);
    QString error;
    // A folder that does not exist cannot take the file.
    QVERIFY(!doc.saveToFile(dir.filePath(QStringLiteral("missing/t.lnr")), &error));
    QVERIFY(!error.isEmpty());
    // A read-only folder keeps the old file as it was.
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool writable = QFileInfo(dir.path()).isWritable(); // running as root ignores modes
    if (!writable) {
        error.clear();
        QVERIFY(!doc.saveToFile(path, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), QByteArray("old contents"));
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(doc.saveToFile(path, &error));
    QVERIFY(readFile(path).startsWith(QByteArray("\0\0\0\x1bVormaplexidune", 18)));
}

void TestTemplateFile::fileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.lnr"));
    CReportDocument doc(nullptr, nullptr);
    LnrTest::buildGolden(doc);
    QVERIFY(doc.saveToFile(path));
    QCOMPARE(readFile(path), m_golden);
    CReportDocument loaded(nullptr, nullptr);
    QVERIFY(loaded.loadFromFile(path));
    QCOMPARE(loaded.name, doc.name);
    QString error;
    QVERIFY(!loaded.loadFromFile(dir.filePath(QStringLiteral("none.lnr")), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(loaded.name, doc.name); // a file that is not there changes nothing
}

void TestTemplateFile::saveRefusesWhatReaderRefuses_data()
{
    QTest::addColumn<Shaper>("shape");
    QTest::addColumn<QString>("named");

    QTest::newRow("picture stretched to scale 178") << Shaper([](CReportDocument &, CREPage *page) {
        LnrTest::add(page, CREPageItem::Image, 10, 10, 210, 1.68)->outer->transform.scale(1, 178);
    }) << "scaled";
    QTest::newRow("bar code text of 3001 characters")
        << Shaper([](CReportDocument &, CREPage *page) {
               LnrTest::add(page, CREPageItem::Symbol, 10, 10, 100, 40)->text
                   = QString(TemplateLimits::MaxSymbolText + 1, QLatin1Char('7'));
           })
        << "3000 characters";
    QTest::newRow("a 4096 x 4096 picture past the pixels of the others") << Shaper(
        [](CReportDocument &doc, CREPage *) {
            QCOMPARE(loadBytes(doc, declaredPictures()), 0);
            QImage picture(4096, 4096, QImage::Format_RGB32);
            picture.fill(Qt::darkCyan);
            LnrTest::add(doc.pageLists.first()->first(), CREPageItem::Image, 10, 10, 50, 50)->image
                = picture;
        }) << "500 million pixels";
    QTest::newRow("2001 objects on a page") << Shaper([](CReportDocument &, CREPage *page) {
        for (int i = 0; i <= TemplateLimits::MaxItems; ++i)
            LnrTest::add(page, CREPageItem::Text, 10, 10, 20, 20);
    }) << "2000 objects";
    QTest::newRow("257 pages and blocks") << Shaper([](CReportDocument &doc, CREPage *) {
        for (int i = 0; i < TemplateLimits::MaxPages - 1; ++i)
            doc.addBlock(QSizeF(10, 10), QStringLiteral("Block"));
    }) << "256 pages";
}

// A save is refused exactly where the reader would refuse the file: nothing
// is written, the old file stays and the message names the fault.
void TestTemplateFile::saveRefusesWhatReaderRefuses()
{
    QFETCH(Shaper, shape);
    QFETCH(QString, named);
    CReportDocument doc(nullptr, nullptr);
    CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Second"));
    shape(doc, page);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.lnr"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    QString error;
    QVERIFY(!doc.saveToFile(path, &error));
    QVERIFY2(error.contains(named), qPrintable(error));
    QCOMPARE(doc.saveError(), error);
    QCOMPARE(readFile(path), QByteArray("old contents"));

    const QByteArray refused = saveToBytes(doc);
    CReportDocument reader(nullptr, nullptr);
    QCOMPARE(loadBytes(reader, refused), -1);
    writeSeed("fuzz/lnr/", refused);
}

void TestTemplateFile::editorStaysWithinLimits_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<bool>("refused");

    QTest::newRow("thin picture stretched by an edge handle")
        << Gesture([](CReportPE &view, CREPage *page) {
               QImage thin(1000, 8, QImage::Format_RGB32);
               thin.fill(Qt::blue);
               CREPageItem *picture = view.addImageItem(thin, QPoint(40, 40));
               QVERIFY(picture);
               dragHandle(view, picture->outer, 6, QPointF(100, page->height));
               QVERIFY(picture->outer->transform.m22() > TemplateLimits::MaxScale - 1);
           })
        << false;
    QTest::newRow("content panned through a tiny scale")
        << Gesture([](CReportPE &view, CREPage *page) {
               CREPageItem *frame = LnrTest::add(page, CREPageItem::Image, 10, 10, 2e5, 2e5)->outer;
               frame->transform.scale(5e-4, 5e-4);
               frame->fixedContent = false;
               const QPointF at = frame->getShapeBoundRect().center();
               const QTransform toView = view.calcDocViewTransform();
               frame->selected = false;
               QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                                 toView.map(at).toPoint());
               QTest::mouseMove(view.viewport(), toView.map(QPointF(800, 1100)).toPoint());
               QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                                   toView.map(QPointF(800, 1100)).toPoint());
           })
        << false;
    QTest::newRow("bar code text at its length") << Gesture([](CReportPE &view, CREPage *) {
        CREPageItem *symbol
            = view.addDataItem(QStringLiteral("Bar Codes"), QPoint(30, 30), QSize(300, 60));
        symbol->type = CREPageItem::Symbol;
        symbol->text = QString(TemplateLimits::MaxSymbolText, QLatin1Char('7'));
    }) << false;
    QTest::newRow("pictures beyond the budget") << Gesture([](CReportPE &view, CREPage *) {
        QCOMPARE(loadBytes(view, declaredPictures()), 0);
        int placed = 0;
        for (int i = 0; i < 60 && g_boxes == 0; ++i) {
            QImage picture = fullPicture();
            placed += view.addImageItem(picture, QPoint(30, 30)) ? 1 : 0;
        }
        QCOMPARE(placed, int((TemplateLimits::MaxPicturePixels - DeclaredPixels) / (1024 * 1024)));
    }) << true;
    QTest::newRow("an object beyond the page's count")
        << Gesture([](CReportPE &view, CREPage *page) {
               // Empty pictures, beneath the limit of texts a page draws.
               for (int i = 0; i < TemplateLimits::MaxItems; ++i)
                   LnrTest::add(page, CREPageItem::Image, 10, 10, 20, 20);
               QVERIFY(!view.addTextItem(QStringLiteral("One more"), QPoint(30, 30)));
               QCOMPARE(page->items.size(), TemplateLimits::MaxItems);
           })
        << true;
    QTest::newRow("pages and blocks up to the count") << Gesture([](CReportPE &view, CREPage *) {
        while (view.roomForPage())
            view.addBlock(QSizeF(10, 10), QStringLiteral("Block"));
        QCOMPARE(view.blocks.size(), TemplateLimits::MaxPages - 1);
    }) << false;
}

// What the editor view lets the user make saves, and loads back equal.
void TestTemplateFile::editorStaysWithinLimits()
{
    QFETCH(Gesture, gesture);
    QFETCH(bool, refused);
    const CInfoDlgWin::MessageBoxHandler previous = CInfoDlgWin::setMessageBoxHandler(countBox);
    g_boxes = 0;
    CReportPE view(nullptr, nullptr);
    view.resize(900, 700);
    view.snapToGrid = 0;
    gesture(view, view.currentPage);
    CInfoDlgWin::setMessageBoxHandler(previous);
    QCOMPARE(g_boxes > 0, refused);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("edited.lnr"));
    QString error;
    QVERIFY2(view.saveToFile(path, &error), qPrintable(error));
    const QByteArray saved = readFile(path);
    CReportDocument loaded(nullptr, nullptr);
    QVERIFY2(loaded.loadFromFile(path, &error), qPrintable(error));
    QCOMPARE(saveToBytes(loaded), saved);

    writeSeed("fuzz/lnredit/", saved);
}

// A bar code's text row takes no more than a template holds.
void TestTemplateFile::textRowCutAtItsLength()
{
    CPropertiesWidget grid(nullptr);
    auto *row = new CPWItem(QStringLiteral("Text"), QStringLiteral("123"));
    row->maxLength = TemplateLimits::MaxSymbolText;
    grid.setList({row});
    grid.table()->item(0, 1)->setText(QString(TemplateLimits::MaxSymbolText + 5, QLatin1Char('9')));
    QCOMPARE(row->valueText.size(), TemplateLimits::MaxSymbolText);
    QCOMPARE(grid.table()->item(0, 1)->text(), row->valueText);
}

void TestTemplateFile::picturedTemplates_data()
{
    using namespace HostileTemplates;
    QTest::addColumn<Builder>("build");
    QTest::addColumn<int>("size");

    QTest::newRow("booklet of 10 scanned pages with two photos each")
        << Builder(scannedBooklet) << 10;
    QTest::newRow("10 pages with photo backgrounds") << Builder(photoBackgrounds) << 10;
    QTest::newRow("2 photos 600 units wide on a background")
        << Builder([](CReportDocument &doc, int n) { photosOnPage(doc, n, 600, 0); }) << 2;
    QTest::newRow("6 tilted photos")
        << Builder([](CReportDocument &doc, int n) { photosOnPage(doc, n, 300, -15, 6); }) << 6;
    QTest::newRow("3 pictures turned 30 degrees")
        << Builder([](CReportDocument &doc, int n) { photosOnPage(doc, n, 360, 30); }) << 3;
}

// Templates of large photographs as users make them: the designer saves
// them, they open again equal and are written back as read, and they draw
// for the Graphic Chart page as they drew before, and for the export.
void TestTemplateFile::picturedTemplates()
{
    QFETCH(HostileTemplates::Builder, build);
    QFETCH(int, size);

    DesignerTest::Person person;
    CReportDocument doc(&person.container, nullptr);
    build(doc, size);
    doc.currentPage = doc.pageLists.first()->first();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pictures.lnr"));
    QString error;
    QVERIFY2(doc.saveToFile(path, &error), qPrintable(error));
    CReportDocument loaded(&person.container, nullptr);
    QVERIFY2(loaded.loadFromFile(path, &error), qPrintable(error));
    const QList<CREPage *> &pages = *doc.pageLists.first();
    QCOMPARE(loaded.pageLists.first()->size(), pages.size());
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(pageDifference(pages.at(i), loaded.pageLists.first()->at(i)), QString());
    QCOMPARE(saveToBytes(loaded), readFile(path));

    const QSize board(636, 900);
    const QImage shown = CManagerThumbnailDlg::slotPrintReport(0, &loaded, board);
    QCOMPARE(shown.size(), QSize(636, 900));
    QCOMPARE(shown, CManagerThumbnailDlg::slotPrintReport(0, &doc, board));
    QCOMPARE(CManagerThumbnailDlg::slotPrintReport(0, &loaded, QSize()).size(), QSize(5032, 7120));
}

QTEST_MAIN(TestTemplateFile)
#include "tst_templatefile.moc"
