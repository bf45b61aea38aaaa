#pragma once

#include "app/pdfexport.h"
#include "app/reportexport.h"
#include "engine/numerology.h"
#include "layouts/layoutfile.h"
#include "layouts/layoutlimits.h"
#include "layouts/markupclamps.h"
#include "layouts/sectionmarkup.h"
#include "reportmanager/texteditor.h"
#include "tests/layouts/heavylayouts.h"
#include "tests/support/testenvironment.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTextDocument>
#include <QTextEdit>
#include <QVector>

#include <algorithm>
#include <iterator>

// Section texts that ask the report view, the PDF and the section editor
// for far more work than their length: table spans, lengths, font sizes,
// page breaks and long words, at the largest the filter keeps and past it.
// Shared by the test of hostile layouts and the benchmark, which take them
// through the same steps: written, read, built into a reading, exported and
// opened in the editor.
namespace HostileLayout {

struct Case
{
    const char *name;
    QString text;
    // The reader's refusal, the writer's too (which names the section of a
    // text too long); empty for a text read.
    QString refusal;
    // What the text is read with, and how often (an exact count).
    QString kept;
    int keptTimes;
};

// Every text starts with this word, which the reading and the editor show.
inline QString marked(const QString &text)
{
    return QStringLiteral("<p>Seven</p>\n") + text;
}

// A table of rows rows of columns cells, each with the given attributes.
inline QString table(int rows, int columns, const QString &attributes = QString())
{
    const QString cell = QStringLiteral("<td%1>x</td>").arg(attributes);
    return QStringLiteral("<table>")
        + (QStringLiteral("<tr>") + cell.repeated(columns) + QStringLiteral("</tr>")).repeated(rows)
        + QStringLiteral("</table>");
}

inline QString paragraphs(int count, const QString &style)
{
    return QStringLiteral("<p style=\"%1\">x</p>").arg(style).repeated(count);
}

inline QVector<Case> cases()
{
    using namespace MarkupClamps;
    const QString tables
        = QStringLiteral("one of its texts holds tables larger than a layout file can take.");
    const QString zeroWidthSpace(QChar(0x200b));
    const QString word(MaxWordLength, QLatin1Char('a'));
    return {
        {"50 cells spanning 999999 rows and columns",
         marked(table(5, 10, QStringLiteral(" colspan=\"999999\" rowspan=\"999999\""))), QString(),
         QStringLiteral(" rowspan=\"5\""), 1},
        {"50 cells spanning 65534 rows", marked(table(5, 10, QStringLiteral(" rowspan=\"65534\""))),
         QString(), QStringLiteral(" rowspan=\"5\""), 10},
        {"50 cells spanning 1,000 rows and columns",
         marked(table(5, 10, QStringLiteral(" colspan=\"1000\" rowspan=\"1000\""))), QString(),
         QStringLiteral(" colspan=\"20\""), 1},
        {"a table of 1,000 grid places", marked(table(40, 25)), QString(), QStringLiteral("<td>"),
         1000},
        {"a table of 1,001 grid places", marked(table(77, 13)), tables, QString(), 0},
        {"10 paragraphs of height 30,000,000 px",
         marked(paragraphs(10, QStringLiteral("height:30000000px"))), QString(),
         QStringLiteral("height:1200px;"), 10},
        {"10 paragraphs of height 1,200 px and one more",
         marked(paragraphs(10, QStringLiteral("height:1201px"))), QString(),
         QStringLiteral("height:1200px;"), 10},
        {"2,000 paragraphs of height 30,000,000 px",
         marked(paragraphs(2000, QStringLiteral("height:30000000px"))), QString(),
         QStringLiteral("height:1200px;"), MaxTextHeightPixels / MaxLengthPixels},
        {"100 paragraphs of font-size 1,000,000 px",
         marked(paragraphs(100, QStringLiteral("font-size:1000000px"))), QString(),
         QStringLiteral("font-size:1333.33px;"), 100},
        {"100 paragraphs of font-size 1,001 pt",
         marked(paragraphs(100, QStringLiteral("font-size:1001pt"))), QString(),
         QStringLiteral("font-size:1000pt;"), 100},
        {"2,000 paragraphs starting a page",
         marked(paragraphs(2000, QStringLiteral("page-break-before:always"))), QString(),
         QStringLiteral("page-break-before:always;"), MaxPageBreaks},
        {"one word of 2,000 characters", marked(word), QString(), zeroWidthSpace, 0},
        {"one word of 2,001 characters", marked(word + QLatin1Char('a')), QString(), zeroWidthSpace,
         1},
        {"one word of 100,000 characters", marked(QString(100000, QLatin1Char('a'))), QString(),
         zeroWidthSpace, 100000 / MaxWordLength - 1},
        {"one word of 900,000 characters", marked(QString(900000, QLatin1Char('a'))), QString(),
         zeroWidthSpace, 900000 / MaxWordLength - 1},
        {"one word of 1,100,000 characters", marked(QString(1100000, QLatin1Char('a'))),
         SectionMarkup::textTooLong(), QString(), 0},
    };
}

// The layout of one section whose general text is text.
inline reportSetting layoutOf(const QString &text)
{
    reportSetting setting = HeavyLayout::withTexts({text});
    setting.name = QStringLiteral("Hostile");
    // In the section's own style, which shows its own texts.
    setting.items[RKNumerology][0].defaultStyle = false;
    return setting;
}

// setting written by the program's writer and read back; false with the
// reader's sentence in *problem when it is refused.
inline bool writtenAndRead(const reportSetting &setting, reportSetting *read, QString *problem)
{
    QByteArray bytes = HeavyLayout::fileBytes(setting);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readReportSetting(&buffer, read, problem);
}

// The personal reading of a calculated person by layout.
inline QString readingOf(CNumerology &person, const reportSetting &layout)
{
    QList<reportSetting> layouts {layout};
    int karmic[128] = {};
    const QList<int> lessons {3, 6};
    const QList<int> passion {1};
    const int planes[4] = {1, 2, 3, 4};
    person.calculateDynamic(false, &layouts, 0, karmic, 1, 2, 3, 4, 5, 6, 7, &lessons, 8, &passion,
                            9, planes, 5, 83, 1, 21);
    return person.reportHtml;
}

// The reading saved as the HTML report and printed to a PDF by the web
// engine, as the exports do; false when either failed or the print did not
// answer within the hang guard.
inline bool exported(const QString &reading, const QString &folder)
{
    const QString html = QDir(folder).filePath(QStringLiteral("report.html"));
    const QString pdf = QDir(folder).filePath(QStringLiteral("report.pdf"));
    QFile::remove(pdf);
    if (!CReportExport::writeReportHtml(reading, html))
        return false;
    GenPDFfromHTML job(html, pdf);
    QSignalSpy finished(&job, &GenPDFfromHTML::finished);
    job.run();
    return TestEnvironment::waitUntil([&finished] { return !finished.isEmpty(); }, 120000)
        && finished.first().first().toBool() && QFile::exists(pdf);
}

// The section editor opened on the layout's first section and shown with
// its text laid out; the text it shows.
inline QString editorText(reportSetting *layout)
{
    repItem &item = layout->items[RKNumerology][0];
    // The standard texts, one an entry, list the entries in the editor.
    static QString standardTexts[repItem::EntryCount];
    std::fill(std::begin(standardTexts), std::end(standardTexts), QStringLiteral("Standard"));
    CTextEditor editor(nullptr, &item.texts, &item.images, &item.useStdText, standardTexts,
                       RKNumerology, int(item.type), nullptr, int(std::size(standardTexts)));
    editor.show();
    QApplication::processEvents();
    editor.textEdit->document()->documentLayout()->documentSize();
    return editor.textEdit->toPlainText();
}

} // namespace HostileLayout
