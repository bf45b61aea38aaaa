#pragma once

#include "designer/reportdocument.h"
#include "filetrial/filetrial.h"
#include "layouts/layoutfile.h"
#include "layouts/reportsetting.h"
#include "testenvironment.h"
#include "tests/designer/hostiletemplates.h"
#include "tests/layouts/heavylayouts.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QVector>

#include <functional>

// Shared files of the kinds that beat every estimate of their cost, each
// written through the program's own writer and taken by its reader, and the
// files that users make which the estimates refused: the trial's tests and
// the benchmark try the same files.
namespace SharedFiles {

struct File
{
    const char *name;
    // Whether the trial is to take the file.
    bool accepted;
    // Writes the file at path; false when the program's writer refused.
    std::function<bool(const QString &path)> write;
};

inline bool writeLayout(const reportSetting &setting, const QString &path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && writeReportSetting(&file, setting) && file.commit();
}

// A layout whose sections of the Numerology report hold texts as their
// general text (always shown), each in the section's own style.
inline reportSetting sections(const QStringList &texts, int entry = 0)
{
    reportSetting setting;
    QList<repItem> &items = setting.items[RKNumerology];
    for (int i = 0; i < texts.size(); ++i) {
        repItem item;
        item.type = quint32(1 + i % 20);
        item.kind = RKNumerology;
        item.defaultStyle = false;
        item.title = QStringLiteral("Section %1").arg(i + 1);
        item.texts[entry] = texts.at(i);
        item.useStdText[entry] = false;
        items << item;
    }
    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
    return setting;
}

inline QImage noise(int width, int height, QImage::Format format, quint32 seed)
{
    QImage image(width, height, format);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.bytesPerLine() / 4; ++x)
            line[x] = random.generate() | (image.depth() == 32 ? 0xff000000U : 0);
    }
    return image;
}

// The layout the program ships as its default, as a file.
inline reportSetting defaultLayout()
{
    reportSetting setting;
    QFile file(TestEnvironment::dataPath(QStringLiteral("layouts/default.zqnr")));
    if (file.open(QIODevice::ReadOnly))
        readReportSetting(&file, &setting);
    return setting;
}

// The PNG of a large picture in two colours: some ten kilobytes that are
// drawn through a gigabyte.
inline QByteArray flatPng(int side)
{
    QImage image(side, side, QImage::Format_Mono);
    image.fill(1);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 0);
    return png;
}

inline QVector<File> layouts()
{
    const auto layout = [](std::function<reportSetting()> build) {
        return [build](const QString &path) {
            return writeLayout(build(), path);
        };
    };
    return {
        {"a long style carried over many line breaks", false, layout([] {
             const QString style = QStringLiteral("font-family:'%1';color:#204060;font-weight:600")
                                       .arg(QString(420, QLatin1Char('F')));
             const QString text = QStringLiteral("<p><span style=\"%1\">").arg(style)
                 + QStringLiteral("a line of the reading<br>").repeated(2500)
                 + QStringLiteral("</span></p>");
             return sections(QVector<QString>(8, text).toList(), 1);
         })},
        {"tall line heights over many lines", false, layout([] {
             const QString text = QStringLiteral("<p style=\"line-height:1200px\">")
                 + QStringLiteral("line<br>").repeated(300) + QStringLiteral("</p>");
             return sections(QVector<QString>(60, text).toList());
         })},
        {"a 16-bit picture of 2,900 x 2,900", false, layout([] {
             reportSetting setting = sections({QStringLiteral("<p>Seven</p>")});
             setting.items[RKNumerology][0].images[0]
                 = noise(2900, 2900, QImage::Format_RGBA64, 16);
             return setting;
         })},
        {"pictures of 36 x 1,000,000 pixels", false, layout([] {
             reportSetting setting
                 = sections(QVector<QString>(12, QStringLiteral("<p>Seven</p>")).toList());
             for (int i = 0; i < 12; ++i)
                 setting.items[RKNumerology][i].images[0]
                     = noise(36, 1000000, QImage::Format_Mono, quint32(i));
             return setting;
         })},
        {"tables nested 18 deep", false, layout([] {
             const QString text = QStringLiteral("<table><tr><td>").repeated(18)
                 + QStringLiteral("x") + QStringLiteral("</td></tr></table>").repeated(18);
             return sections({text});
         })},
        {"a paragraph of 150,000 letters without a break", false, layout([] {
             return sections({QStringLiteral("<p>") + QString(150000, QLatin1Char('m'))
                              + QStringLiteral("</p>")});
         })},
        {"a large picture inside a text", false, layout([] {
             return sections({QStringLiteral("<p><img src=\"data:image/png;base64,%1\"></p>")
                                  .arg(QString::fromLatin1(flatPng(16000).toBase64()))});
         })},
        {"the default layout with one number at three pages", true, layout([] {
             reportSetting setting = defaultLayout();
             repItem &item = setting.items[RKNumerology][1];
             item.texts[3] = HeavyLayout::essay(3);
             item.useStdText[3] = false;
             return setting;
         })},
        {"the default layout with photos", true, layout([] {
             reportSetting setting = defaultLayout();
             QList<repItem> &items = setting.items[RKNumerology];
             for (int i = 0; i < items.size() && i < 12; ++i)
                 items[i].images[0] = HeavyLayout::photo(quint32(i));
             return setting;
         })},
        {"a title at 96 points, 15 page breaks", true, layout([] {
             reportSetting setting = sections(
                 {QStringLiteral("<p style=\"page-break-before:always\">Seven</p>").repeated(15)});
             setting.items[RKNumerology][0].headerFont.setPointSize(96);
             return setting;
         })},
    };
}

inline bool writeTemplate(const std::function<void(CReportDocument &)> &build, const QString &path)
{
    CReportDocument doc(nullptr, nullptr);
    build(doc);
    return doc.saveToFile(path);
}

inline QVector<File> templates()
{
    using namespace HostileTemplates;
    const auto chart = [](std::function<void(CReportDocument &)> build) {
        return [build](const QString &path) {
            return writeTemplate(build, path);
        };
    };
    return {
        {"an A4 cover, then a tiny page of many pictures", false, chart([](CReportDocument &doc) {
             a4Page(doc, QStringLiteral("Cover"));
             CREPage *tiny = doc.addPage(QSizeF(1, 1), QStringLiteral("Tiny"));
             const QImage small = photo(200, 200, 7);
             for (int i = 0; i < 600; ++i)
                 place(tiny, CREPageItem::Image, 0, 0, 1, 1)->image = small;
         })},
        {"dotted lines across the page", false, chart([](CReportDocument &doc) {
             CREPage *page = a4Page(doc, QStringLiteral("Lines"));
             for (int i = 0; i < 400; ++i) {
                 CREPageItem *line = place(page, CREPageItem::Path, 0, 0, 840, 1188);
                 QPainterPath shape;
                 shape.moveTo(0, i * 2.97);
                 shape.lineTo(840, 1188 - i * 2.97);
                 line->shape = shape;
                 line->penWidth = 0.5;
                 line->penStyle = Qt::DotLine;
             }
         })},
        {"letters under thousands of combining marks", false, chart([](CReportDocument &doc) {
             CREPage *page = a4Page(doc, QStringLiteral("Marks"));
             const QString marked = QStringLiteral("a") + QString(19999, QChar(0x0301));
             for (int i = 0; i < 10; ++i)
                 place(page, CREPageItem::Text, 40, 40 + i * 100.0, 700, 90)->text = marked;
         })},
        {"pictures of 36 x 1,000,000 pixels", false, chart([](CReportDocument &doc) {
             CREPage *page = a4Page(doc, QStringLiteral("Strips"));
             for (int i = 0; i < 20; ++i)
                 place(page, CREPageItem::Image, 20 + i * 40.0, 40, 36, 1000)->image
                     = noise(36, 1000000, QImage::Format_Mono, quint32(i));
         })},
        {"150 objects sharing one large picture", false, chart([](CReportDocument &doc) {
             CREPage *page = a4Page(doc, QStringLiteral("Shared"));
             // Smooth, so that writing it a hundred and fifty times is quick.
             QImage large(3000, 3000, QImage::Format_RGB32);
             for (int y = 0; y < large.height(); ++y) {
                 auto *row = reinterpret_cast<QRgb *>(large.scanLine(y));
                 for (int x = 0; x < large.width(); ++x)
                     row[x] = qRgb(x / 12, y / 12, 128);
             }
             for (int i = 0; i < 150; ++i)
                 place(page, CREPageItem::Image, (i % 10) * 50.0, (i / 10) * 50.0, 330, 330)->image
                     = large;
         })},
        {"a booklet of ten scanned pages with two photos each", true,
         chart([](CReportDocument &doc) { scannedBooklet(doc, 10); })},
        {"ten pages with photo backgrounds", true,
         chart([](CReportDocument &doc) { photoBackgrounds(doc, 10); })},
        {"two photos 600 units wide on a background", true,
         chart([](CReportDocument &doc) { photosOnPage(doc, 2, 600, 0); })},
        {"six tilted photos", true,
         chart([](CReportDocument &doc) { photosOnPage(doc, 6, 300, -15, 6); })},
        {"three pictures turned 30 degrees", true,
         chart([](CReportDocument &doc) { photosOnPage(doc, 3, 360, 30); })},
    };
}

struct Tried
{
    bool written = false;
    FileTrial::Verdict verdict;
    // The steps the child ended, in order.
    QStringList steps;
};

// file written as "Shared" + suffix and tried afresh through the child. The
// limits of work stay, three times as wide for a file to be taken; a busy
// machine only stretches waiting, which has no limit here.
inline Tried tried(const File &file, FileTrial::Kind kind, const QString &suffix)
{
    Tried result;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shared") + suffix);
    result.written = file.write(path);
    if (!result.written)
        return result;
    FileTrial::Options options;
    options.useCache = false;
    options.totalMs = 600000;
    if (file.accepted)
        options.stepCpuSeconds *= 3;
    options.stepEnded = [&result](const QString &step, double) {
        result.steps << step;
    };
    result.verdict = FileTrial::tryFile(path, kind, options);
    return result;
}

} // namespace SharedFiles
