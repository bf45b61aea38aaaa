#include "engine/reporttools.h"
#include "layouts/reportsetting.h"
#include "layouts/sectiontext.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

#include <gumbo.h>

#include <functional>
#include <memory>

// Custom texts holding tables and lists, written by the rich-text engine as
// the section editor stores them, go through the report builder into a
// reading; the reading is then parsed as a browser parses it.
namespace {

QString editorHtml(const std::function<void(QTextCursor &)> &write)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    write(cursor);
    return document.toHtml("UTF-8");
}

// Typed in the editor: a paragraph, a 2 x 2 table with two paragraphs in its
// first cell, a paragraph.
QString typedTable()
{
    return editorHtml([](QTextCursor &cursor) {
        cursor.insertText(QStringLiteral("Before"));
        QTextTableFormat format;
        format.setBorder(1);
        QTextTable *table = cursor.insertTable(2, 2, format);
        QTextCursor cell = table->cellAt(0, 0).firstCursorPosition();
        cell.insertText(QStringLiteral("First"));
        cell.insertBlock();
        cell.insertText(QStringLiteral("Second"));
        table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("B1"));
        table->cellAt(1, 0).firstCursorPosition().insertText(QStringLiteral("A2"));
        table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("B2"));
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("After"));
    });
}

// Pasted into the editor from a web page.
QString pasted(const QString &html)
{
    return editorHtml([&html](QTextCursor &cursor) { cursor.insertHtml(html); });
}

// Typed in the editor: a bulleted list whose first item holds a line break
// (Shift+Enter).
QString typedList()
{
    return editorHtml([](QTextCursor &cursor) {
        cursor.insertText(QStringLiteral("Intro"));
        cursor.insertList(QTextListFormat::ListDisc);
        cursor.insertText(QStringLiteral("One"));
        cursor.insertText(QString(QChar::LineSeparator));
        cursor.insertText(QStringLiteral("Two"));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Three"));
    });
}

// The reading of one section in its own style, its text of number 1 being
// the custom text.
QString readingWith(const QString &customText)
{
    repItem item;
    item.kind = RKNumerology;
    item.type = 1;
    item.defaultStyle = false;
    item.title = QStringLiteral("Life Path");
    item.texts[1] = customText;
    item.useStdText[1] = false;
    CReportTools tools(nullptr);
    tools.startDoc(QStringLiteral("Reading"));
    tools.addStandItem(QStringLiteral("Life Path"), QStringLiteral("1"),
                       QStringLiteral("General text"), QStringLiteral("Own text"), 1, &item, false);
    tools.endDoc();
    return tools.reportHtml;
}

bool isElement(const GumboNode *node)
{
    return node->type == GUMBO_NODE_ELEMENT;
}

QString tagName(const GumboNode *node)
{
    return QString::fromUtf8(gumbo_normalized_tagname(node->v.element.tag));
}

// An element as names and texts: td(p(First) p(Second)); attributes and
// blank text are left out.
QString shape(const GumboNode *node)
{
    if (node->type == GUMBO_NODE_TEXT)
        return QString::fromUtf8(node->v.text.text).simplified();
    if (!isElement(node))
        return QString();
    QStringList children;
    const GumboVector &nodes = node->v.element.children;
    for (unsigned i = 0; i < nodes.length; ++i) {
        const QString child = shape(static_cast<const GumboNode *>(nodes.data[i]));
        if (!child.isEmpty())
            children << child;
    }
    return children.isEmpty()
        ? tagName(node)
        : tagName(node) + QLatin1Char('(') + children.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// The shapes of the tables and lists of the text, outermost ones only; the
// builder's own tables (class maindoc) are looked through.
void collectShapes(const GumboNode *node, QStringList *shapes)
{
    if (!isElement(node))
        return;
    const GumboElement &element = node->v.element;
    const bool own = gumbo_get_attribute(&element.attributes, "class") != nullptr;
    if (!own
        && (element.tag == GUMBO_TAG_TABLE || element.tag == GUMBO_TAG_UL
            || element.tag == GUMBO_TAG_OL)) {
        *shapes << shape(node);
        return;
    }
    for (unsigned i = 0; i < element.children.length; ++i)
        collectShapes(static_cast<const GumboNode *>(element.children.data[i]), shapes);
}

void collectTexts(const GumboNode *node, QStringList *texts)
{
    if (node->type == GUMBO_NODE_TEXT) {
        *texts << QString::fromUtf8(node->v.text.text).simplified();
        return;
    }
    if (!isElement(node))
        return;
    for (unsigned i = 0; i < node->v.element.children.length; ++i)
        collectTexts(static_cast<const GumboNode *>(node->v.element.children.data[i]), texts);
}

} // namespace

class tst_ReadingShapes : public QObject
{
    Q_OBJECT

private slots:
    void customTextKeepsShape_data();
    void customTextKeepsShape();
};

void tst_ReadingShapes::customTextKeepsShape_data()
{
    QTest::addColumn<QString>("editorText");
    QTest::addColumn<QStringList>("shapes");
    // Texts that stand once each in the reading, none lost, none repeated.
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("typed table, two paragraphs in a cell")
        << typedTable()
        << QStringList {"table(tbody(tr(td(p(First) p(Second)) td(p(B1))) tr(td(p(A2)) "
                        "td(p(B2)))))"}
        << QStringList {"Before", "First", "Second", "B1", "A2", "B2", "After"};
    QTest::newRow("pasted table, line break in a cell")
        << pasted("<p>Above</p><table border=\"1\"><tr><td>one<br>two</td><td>three</td></tr>"
                  "<tr><td>four</td><td>five</td></tr></table><p>Below</p>")
        << QStringList {"table(tbody(tr(td(p(one br two)) td(p(three))) tr(td(p(four)) "
                        "td(p(five)))))"}
        << QStringList {"Above", "one", "two", "three", "four", "five", "Below"};
    QTest::newRow("typed list, line break in an item")
        << typedList() << QStringList {"ul(li(One br Two) li(Three))"}
        << QStringList {"Intro", "One", "Two", "Three"};
}

void tst_ReadingShapes::customTextKeepsShape()
{
    QFETCH(QString, editorText);
    QFETCH(QStringList, shapes);
    QFETCH(QStringList, texts);

    const QString stored = storedCustomText(editorText, 0);
    QVERIFY2(stored.contains(QLatin1String(ParagraphMarker)), qPrintable(stored));
    const QByteArray reading = readingWith(stored).toUtf8();
    const std::unique_ptr<GumboOutput, void (*)(GumboOutput *)> parsed(
        gumbo_parse_with_options(&kGumboDefaultOptions, reading.constData(),
                                 size_t(reading.size())),
        [](GumboOutput *output) { gumbo_destroy_output(&kGumboDefaultOptions, output); });
    QVERIFY(parsed);

    QStringList found;
    collectShapes(parsed->root, &found);
    QCOMPARE(found, shapes);

    QStringList all;
    collectTexts(parsed->root, &all);
    const QString joined = QLatin1Char(' ') + all.join(QLatin1Char(' ')) + QLatin1Char(' ');
    for (const QString &text : texts)
        QCOMPARE(joined.count(QLatin1Char(' ') + text + QLatin1Char(' ')), 1);
    // The section's own texts stay around the custom one.
    QCOMPARE(joined.count(QStringLiteral(" General text ")), 1);
}

QTEST_MAIN(tst_ReadingShapes)
#include "tst_readingshapes.moc"
