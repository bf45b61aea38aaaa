#pragma once

#include "layouts/layoutfile.h"
#include "layouts/reportsetting.h"
#include "layouts/sectiontext.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QVector>

// Layout files that make the markup parser work hard, and one as large as
// the editor's users make them; shared by the layout file tests and the
// benchmark, which read the same files.
namespace HeavyLayout {

// A photo as the Report Manager keeps one: 460 x 460, of noise, so that its
// PNG is about as large as a photograph's.
inline QImage photo(quint32 seed)
{
    QImage image(460, 460, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xff000000U;
    }
    return image;
}

// One tag with count attributes of distinct names: the parser's check for
// duplicates compares each with all before it.
inline QString manyAttributes(int count)
{
    QString text = QStringLiteral("<p");
    text.reserve(count * 8);
    for (int i = 0; i < count; ++i)
        text += QStringLiteral(" a%1=1").arg(i);
    return text + QStringLiteral(">x</p>");
}

// A paragraph opening count formatting elements, then count paragraphs: the
// parser opens a copy of every element still listed in each paragraph.
inline QString reopenedFormatting(int count)
{
    QString text = QStringLiteral("<p>");
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("<font id=%1>").arg(i);
    return text + QStringLiteral("</p><p>x").repeated(count);
}

// Lists nested depth deep.
inline QString nestedLists(int depth)
{
    return QStringLiteral("<ul><li>").repeated(depth) + QStringLiteral("x");
}

// A page of text as the section editor stores it: paragraphs of mixed
// character formats, a list and a small table, every explicit size as the
// editor shows it.
inline QString editorPage(int number)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QString words = QStringLiteral(
        "The number %1 asks for patience and care; it gives a steady hand in work and a warm "
        "heart at home, and now and then a stubborn streak. ");
    for (int paragraph = 0; paragraph < 24; ++paragraph) {
        QTextBlockFormat block;
        block.setAlignment(paragraph % 5 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        if (paragraph > 0)
            cursor.insertBlock(block, QTextCharFormat());
        else
            cursor.setBlockFormat(block);
        for (int run = 0; run < 4; ++run) {
            QTextCharFormat format;
            format.setFontPointSize(12 + (paragraph + run) % 4 * 2 + EditorSizeOffset);
            format.setFontWeight(run == 1 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(run == 2);
            format.setFontUnderline(run == 3 && paragraph % 3 == 0);
            if (run == 3)
                format.setForeground(QColor(20 * paragraph % 256, 40, 160));
            if (paragraph % 7 == 3 && run == 0)
                format.setFontFamily(QStringLiteral("DejaVu Serif"));
            cursor.insertText(words.arg(number * 100 + paragraph * 4 + run), format);
        }
    }
    cursor.insertList(QTextListFormat::ListDisc);
    for (int item = 0; item < 6; ++item) {
        if (item > 0)
            cursor.insertBlock();
        cursor.insertText(QStringLiteral("Point %1 of the reading").arg(item + 1));
    }
    cursor.insertBlock(QTextBlockFormat());
    if (QTextList *list = cursor.currentList())
        list->remove(cursor.block());
    QTextTable *table = cursor.insertTable(3, 3);
    for (int cell = 0; cell < 9; ++cell)
        table->cellAt(cell / 3, cell % 3)
            .firstCursorPosition()
            .insertText(QStringLiteral("cell %1").arg(cell));
    return storedCustomText(document.toHtml("UTF-8"), EditorSizeOffset);
}

// The editor's document of an essay of pages pages as a user writes one: a
// heading and five paragraphs of prose (some 4,000 characters) on every
// page, a bold phrase in each paragraph, a list on every fifth page and a
// table of five rows and four columns on the first; sizes as the editor
// shows them.
inline void writeEssay(QTextDocument *document, int pages)
{
    QTextCursor cursor(document);
    const QString sentence = QStringLiteral(
        "Page %1 tells how the number %2 shapes a life: what it asks for, what it gives, and "
        "where it meets the numbers around it in work, in love and at home. ");
    QTextCharFormat plain;
    plain.setFontPointSize(12 + EditorSizeOffset);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat heading;
    heading.setFontPointSize(18 + EditorSizeOffset);
    heading.setFontWeight(QFont::Bold);
    bool first = true;
    const auto newBlock = [&](const QTextBlockFormat &block) {
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block, plain);
        first = false;
    };
    for (int page = 0; page < pages; ++page) {
        QTextBlockFormat headingBlock;
        headingBlock.setHeadingLevel(2);
        newBlock(headingBlock);
        cursor.insertText(QStringLiteral("Chapter %1").arg(page + 1), heading);
        for (int paragraph = 0; paragraph < 5; ++paragraph) {
            newBlock(QTextBlockFormat());
            cursor.insertText(QStringLiteral("The heart of it: "), bold);
            for (int s = 0; s < 5; ++s)
                cursor.insertText(sentence.arg(page + 1).arg(1 + (paragraph + s) % 9), plain);
        }
        if (page % 5 == 4) {
            newBlock(QTextBlockFormat());
            cursor.insertList(QTextListFormat::ListDisc);
            for (int item = 0; item < 5; ++item) {
                if (item > 0)
                    cursor.insertBlock();
                cursor.insertText(QStringLiteral("Point %1 of chapter %2").arg(item + 1).arg(page),
                                  plain);
            }
            cursor.insertBlock(QTextBlockFormat(), plain);
            if (QTextList *list = cursor.currentList())
                list->remove(cursor.block());
            first = true;
        }
        if (page == 0) {
            QTextTable *table = cursor.insertTable(5, 4);
            for (int cell = 0; cell < 20; ++cell)
                table->cellAt(cell / 4, cell % 4)
                    .firstCursorPosition()
                    .insertText(QStringLiteral("Number %1").arg(cell + 1), plain);
            cursor.movePosition(QTextCursor::End);
        }
    }
}

// The stored form of an essay of pages pages (see writeEssay).
inline QString essay(int pages)
{
    QTextDocument document;
    writeEssay(&document, pages);
    return storedCustomText(document.toHtml("UTF-8"), EditorSizeOffset);
}

// A layout holding texts, each a custom entry of a Numerology section, in as
// many sections as they need.
inline reportSetting withTexts(const QStringList &texts)
{
    reportSetting setting;
    QList<repItem> &items = setting.items[RKNumerology];
    for (int i = 0; i < texts.size(); ++i) {
        if (i % repItem::EntryCount == 0) {
            items << repItem();
            items.last().type = 1 + items.size() % 20;
            items.last().kind = RKNumerology;
        }
        items.last().texts[i % repItem::EntryCount] = texts.at(i);
        items.last().useStdText[i % repItem::EntryCount] = false;
    }
    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
    return setting;
}

inline QByteArray fileBytes(const reportSetting &setting)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeReportSetting(&buffer, setting);
    return bytes;
}

// The editor's pages until the file holds about megabytes MB.
inline QStringList editorPages(int megabytes)
{
    QStringList pages;
    qint64 bytes = 0;
    while (bytes < qint64(megabytes) << 20) {
        pages << editorPage(pages.size());
        bytes += 4 + 2 * pages.last().size();
    }
    return pages;
}

// A numerologist's layout: every Numerology section in its own style with a
// page of the editor's text for its general text and for each number from 1
// to 9, 360 pages in all.
inline reportSetting numerologistLayout()
{
    reportSetting setting;
    int page = 0;
    for (int type = 0; type < 36; ++type) {
        repItem item;
        item.type = quint32(type);
        item.kind = RKNumerology;
        item.defaultStyle = false;
        item.title = QStringLiteral("Section %1").arg(type);
        for (int entry = 0; entry < 10; ++entry) {
            item.texts[entry] = editorPage(page++);
            item.useStdText[entry] = false;
        }
        setting.items[RKNumerology] << item;
    }
    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
    return setting;
}

// count sections of one kind as the manager adds them, in the default look.
inline reportSetting bareSections(int count, int kind = RKNumerology)
{
    reportSetting setting;
    for (int i = 0; i < count; ++i) {
        setting.items[kind] << repItem();
        setting.items[kind].last().type = quint32(1 + i % 20);
        setting.items[kind].last().kind = kind;
    }
    return setting;
}

struct Case
{
    const char *name;
    QStringList texts;
};

// The hostile layouts, then the editor's.
inline QVector<Case> cases()
{
    return {
        {"one tag with 15,000 attributes", {manyAttributes(15000)}},
        {"one tag with 80,000 attributes", {manyAttributes(80000)}},
        {"90 texts reopening 333 formatting elements",
         QVector<QString>(90, reopenedFormatting(333)).toList()},
        {"20 texts of 4,900 nested lists", QVector<QString>(20, nestedLists(4900)).toList()},
        {"5 MB of editor pages", editorPages(5)},
    };
}

} // namespace HeavyLayout
