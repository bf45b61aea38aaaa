#include "base/apppaths.h"
#include "layoutfixtures.h"
#include "layouts/defaultlayout.h"
#include "layouts/markupclamps.h"
#include "layouts/sectionmarkup.h"
#include "layouts/sectiontext.h"
#include "testenvironment.h"
#include "textlook.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <gumbo.h>

// Section texts from shared layouts keep only the markup the editor writes.
class TestSectionMarkup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fragments_data();
    void fragments();
    void editorDocument();
    void refused_data();
    void refused();
    void attributeBound_data();
    void attributeBound();
    void relativePictureFiles_data();
    void relativePictureFiles();
    void pictureSources_data();
    void pictureSources();
    void goldenLayoutsKeepTheirLook();
    void editorTextGolden();
};

namespace {

QString golden(const QString &name)
{
    return TestEnvironment::dataPath(QStringLiteral("layouts/") + name);
}

// A text with every format the editor makes, as it stores it.
QString editorText()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat format;
    cursor.insertText(QStringLiteral("Plain, "));
    format.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold, "), format);
    format.setFontItalic(true);
    format.setFontUnderline(true);
    cursor.insertText(QStringLiteral("all three, "), format);
    format = QTextCharFormat();
    format.setFontFamily(QStringLiteral("DejaVu Serif"));
    format.setFontPointSize(10.5);
    format.setForeground(QColor(200, 20, 30));
    format.setBackground(QColor(250, 250, 200));
    cursor.insertText(QStringLiteral("serif in colour"), format);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, QTextCharFormat());
    format = QTextCharFormat();
    format.setAnchor(true);
    format.setAnchorHref(QStringLiteral("https://example.org/a?b=1&c=2"));
    cursor.insertText(QStringLiteral("a link"), format);
    cursor.insertText(QStringLiteral(" & a < b"), QTextCharFormat());
    cursor.insertList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("first"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second"));
    cursor.insertBlock(QTextBlockFormat());
    if (QTextList *list = cursor.currentList())
        list->remove(cursor.block());
    QTextTable *table = cursor.insertTable(2, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("cell"));
    cursor.movePosition(QTextCursor::End);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("data:image/png;base64,iVBORw0KGgo="));
    picture.setWidth(20);
    cursor.insertImage(picture);
    return withParagraphMarkers(document.toHtml("UTF-8"));
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

void TestSectionMarkup::fragments_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString picture = QDir(getResourcesPath()).filePath(QStringLiteral("images/a.png"));
    const QString userPicture = QDir(getUserFolder()).filePath(QStringLiteral("my pic.png"));

    QTest::newRow("plain text stays") << "Seven > six"
                                      << "Seven > six";
    QTest::newRow("the editor's markup stays")
        << "<p align=\"center\" style=\" margin-top:0px; -qt-block-indent:0;\"><span style=\" "
           "font-family:'Times New Roman'; font-size:12pt; font-weight:600; color:#ff0000;\">"
           "Bold</span> <b>b</b><i>i</i><u>u</u><br />next</p><ul style=\"margin-left: 0px;\">"
           "<li>one</li></ul><table border=\"1\" cellspacing=\"2\"><tbody><tr><td width=\"50%\" "
           "colspan=\"2\">cell</td></tr></tbody></table><a href=\"https://example.org/?a=1&amp;"
           "b=2\">web</a> <a href=\"mailto:x@example.org\">mail</a>"
        << "<p align=\"center\" style=\" margin-top:0px; -qt-block-indent:0;\"><span style=\" "
           "font-family:'Times New Roman'; font-size:12pt; font-weight:600; color:#ff0000;\">"
           "Bold</span> <b>b</b><i>i</i><u>u</u><br />next</p><ul style=\" margin-left:0px;\">"
           "<li>one</li></ul><table border=\"1\" cellspacing=\"2\"><tbody><tr><td width=\"50%\" "
           "colspan=\"2\">cell</td></tr></tbody></table><a href=\"https://example.org/?a=1&amp;"
           "b=2\">web</a> <a href=\"mailto:x@example.org\">mail</a>";
    QTest::newRow("every value quoted and escaped") << "a & b<img src=" + picture
            + " alt='a\"b<c>' width=10><a name=x\"y href=HTTP://e.org/>l</a>"
                                                    << "a &amp; b<img src=\"" + picture
            + "\" alt=\"a&quot;b&lt;c&gt;\" width=\"10\" /><a "
              "href=\"HTTP://e.org/\" name=\"x&quot;y\">l</a>";
    QTest::newRow("pictures only from report places")
        << "<img src=\"" + userPicture + "\"><img src=\"file://" + picture
            + "\"><img src=\"data:image/png;base64,AAAA\"><img alt=\"\" src=\"http://h/x.png\">"
              "<img src=\"file:///etc/hostname\"><img src=\"//h/x.png\"><img src=\"x.png\">"
              "<img src=\""
            + picture + "/../../../../etc/passwd\">"
        << "<img src=\"" + userPicture + "\" /><img src=\"file://" + picture
            + "\" /><img src=\"data:image/png;base64,AAAA\" />";
    QTest::newRow("links keep web and mail only")
        << "<a href=\"javascript:alert(1)\">a</a><a href=\"jav&#x09;ascript:x\">b</a><a "
           "href=\"file:///etc/passwd\">c</a><a href=\"#top\">d</a><a href=\"http://e.org/\" "
           "onclick=\"x()\" target=\"_top\">e</a><a href=\"ht&#10;tp://e.org/\">f</a>"
        << "<a>a</a><a>b</a><a>c</a><a>d</a><a href=\"http://e.org/\">e</a><a>f</a>";
    QTest::newRow("fetching elements and attributes go")
        << "<video poster=\"http://h/p.png\"><source src=\"http://h/v\">v</video><audio "
           "src=\"http://h/a\">a</audio><input type=image src=\"http://h/i\"><table "
           "background=\"http://h/t.png\"><tr><td background=\"http://h/c.png\">t</td></tr>"
           "</table><img src=\""
            + picture
            + "\" srcset=\"http://h/1x.png 1x\"><svg><image "
              "href=\"http://h/s.png\"/><animate attributeName=\"href\" values=\"0;javascript:x\"/>"
              "</svg><iframe src=\"http://h/\"></iframe><object data=\"http://h/\">o</object>"
              "<embed src=\"http://h/\"><link rel=stylesheet href=\"http://h/c.css\"><base "
              "href=\"http://h/\"><meta http-equiv=refresh content=\"0;url=http://h/\">"
        << "<table><tbody><tr><td>t</td></tr></tbody></table><img src=\"" + picture + "\" />";
    QTest::newRow("style values that could load or escape")
        << "<span style=\"background-image:url(http://h/x.png); color:red; "
           "background-color:rgb(1,2,3); width:expression(alert(1)); font-size:12pt !important; "
           "color:\\72 ed; margin-left:1px/*; font-weight:600\">s</span><p "
           "style=\"&#x62;ackground:&#x75;rl(http://h/)\">p</p><span style=\"COLOR:Blue\">c</span>"
        << "<span style=\" color:red; background-color:rgb(1,2,3); margin-left:1px;\">s</span>"
           "<p>p</p><span "
           "style=\" color:Blue;\">c</span>";
    QTest::newRow("font families as quoted strings or not at all")
        << "<span style=\"font-family:'x/* c'; color:#00ff00\">a</span><span "
           "style=\"font-family:x/* c; color:#00ff00\">a</span><span "
           "style=\"font-family:Arial, 'DejaVu Sans',serif\">b</span><span "
           "style='font-family:\"a;b\"; color:red'>c</span><span style=\"font-family:'a\\'b'\">d"
           "</span>"
        << "<span style=\" font-family:'x/* c'; color:#00ff00;\">a</span><span style=\" "
           "font-family:'x';\">a</span><span style=\" "
           "font-family:'Arial', 'DejaVu Sans', 'serif';\">b</span><span style=\" "
           "color:red;\">c</span><span>d</span>";
    QTest::newRow("blocks and handlers go, their text too")
        << "<p>a<script>alert(1)</script><style>*{}</style><textarea>t</textarea><title>x"
           "</title><select><option>o</select><button>b</button>b</p><div onmouseover=x>d</div>"
        << "<p>ab</p><div>d</div>";
    QTest::newRow("other elements leave their text")
        << "<font color=red>f</font><center>c</center><blockquote>q</blockquote><x-y>z</x-y>"
        << "fcqz";
    QTest::newRow("open constructs are closed") << "<p>Hello <a href='#"
                                                << "<p>Hello </p>";
    QTest::newRow("an open comment takes the rest") << "a<!-- b <p>c</p>"
                                                    << "a";
    QTest::newRow("raw text left open") << "a<textarea>b</p>"
                                        << "a";
    QTest::newRow("mixed case and references")
        << "<IMG SRC=\"http://h/x.png\"><A HREF=\"&#106;avascript:x\">a</A><P "
           "StYlE=\"color:BLUE\">p</P>"
        << "<a>a</a><p style=\" color:BLUE;\">p</p>";
    QTest::newRow("a line break behind pre stays") << "<pre>\n\nx</pre>"
                                                   << "<pre>\n\nx</pre>";
    QTest::newRow("markers stand before paragraphs only") << "a<!-- md --><br>b<p>x</p>"
                                                          << "ab<!-- md --><br><p>x</p>";
    // Rebuilt markup that the parser nests otherwise is rebuilt again until
    // it reads as written.
    QTest::newRow("a heading moved out of a table and a heading")
        << "<h3><a><table><h2><a>x"
        << "<h3><a></a></h3><h2><a></a><a>x</a></h2><table></table>";
    QTest::newRow("settled after four passes")
        << "<b><h3><form></table><a><h3><dd><br><i><table></ul><i><a><template>"
        << "<b><h3><a></a></h3><h3><a><br /><i><i></i></i></a><i><i><a></a></i><table></table>"
           "</i></h3></b>";
    QTest::newRow("headings in a list before a table")
        << "<h1><a><p><dl><table>\n<h1><em><a><h1><frameset><select><select>"
        << "<h1><a><p></p></a></h1><h1><a><em></em></a><em><a><h1></h1></a></em></h1><table>\n"
           "</table>";
    QTest::newRow("a blank left by a dropped element") << "<dd>\n"
                                                       << "\n";
    // What costs the editor, the view and the PDF more than the text's
    // length is held to what the editor makes.
    QTest::newRow("font sizes and line heights held")
        << "<span style=\"font-size:1000000px; line-height:50\">a</span><p "
           "style=\"font-size:1001pt\">b</p><p style=\"font-size:96pt; line-height:150%\">c</p><p "
           "style=\"font-size:300%\">d</p><p style=\"font-size:14in\">e</p>"
        << "<span style=\" font-size:1333.33px; line-height:10;\">a</span><p style=\" "
           "font-size:1000pt;\">b</p><p style=\" font-size:96pt; line-height:150%;\">c</p><p "
           "style=\" font-size:100%;\">d</p><p style=\" font-size:13.8889in;\">e</p>";
    QTest::newRow("lengths held to about a page")
        << "<p style=\"height:30000000px; margin-top:-5000px; margin-left:200%; text-indent:100em; "
           "border-top:5000px solid red; -qt-block-indent:1000; margin-bottom:12px\">x</p><table "
           "border=5000 cellpadding=999999 width=999999><tr><td width=150% height=80>c</td></tr>"
           "</table><img src=\"data:image/png;base64,AAAA\" width=999999 height=1200.5>"
        << "<p style=\" height:1200px; margin-top:-1200px; margin-left:100%; text-indent:75em; "
           "border-top:1200px solid red; -qt-block-indent:20; margin-bottom:12px;\">x</p><table "
           "border=\"100\" width=\"1200\" "
           "cellpadding=\"100\"><tbody><tr><td width=\"100%\" height=\"80\">c</td></tr></tbody>"
           "</table><img src=\"data:image/png;base64,AAAA\" width=\"1200\" height=\"1200\" />";
    // 81 paragraphs of 1,224 pixels fit the text's heights, the 82nd's
    // height does not, a line height of 24 does.
    QTest::newRow("heights beyond about ninety pages go")
        << QString("<p style=\"height:1200px; line-height:150%\">x</p>").repeated(90)
        << QString("<p style=\" height:1200px; line-height:150%;\">x</p>").repeated(81)
            + QString("<p style=\" line-height:150%;\">x</p>").repeated(9);
    QTest::newRow("numbers no value holds go")
        << "<p style=\"height:1e9px; width:10vw; margin-top:5px; font-size:1..2pt\">x</p>"
        << "<p style=\" margin-top:5px;\">x</p>";
    QTest::newRow("page breaks beyond the thousandth go")
        << QString("<p style=\"page-break-before:always\">x</p>")
                .repeated(MarkupClamps::MaxPageBreaks + 2)
            + "<p style=\"page-break-after:auto\">y</p>"
        << QString("<p style=\" page-break-before:always;\">x</p>")
                .repeated(MarkupClamps::MaxPageBreaks)
            + QString("<p>x</p>").repeated(2) + "<p style=\" page-break-after:auto;\">y</p>";
    QTest::newRow("spans held to the table")
        << "<table><tr><td colspan=999999 rowspan=999999>a</td><td rowspan=0>b</td></tr><tr><td "
           "colspan=-3>c</td></tr></table><table><tr><td colspan=\"4\">h</td></tr><tr><td "
           "colspan=\"2\">a</td><td colspan=\"2\">b</td></tr><tr><td rowspan=\"2\">x</td><td>y</td>"
           "</tr><tr><td rowspan=\"0\">z</td></tr></table>"
        << "<table><tbody><tr><td colspan=\"20\" rowspan=\"2\">a</td><td rowspan=\"1\">b</td>"
           "</tr><tr><td colspan=\"1\">c</td></tr></tbody></table><table><tbody><tr><td "
           "colspan=\"4\">h</td></tr><tr><td colspan=\"2\">a</td><td colspan=\"2\">b</td></tr>"
           "<tr><td rowspan=\"2\">x</td><td>y</td></tr><tr><td rowspan=\"1\">z</td></tr></tbody>"
           "</table>";
    const QString word(MarkupClamps::MaxWordLength, QLatin1Char('a'));
    const QChar wordBreak(0x200b);
    QTest::newRow("long words broken")
        << word + word + "a " + word << word + wordBreak + word + wordBreak + "a " + word;
    QTest::newRow("long words broken across elements")
        << "<p>" + word.left(1500) + "<b>" + word + "</b></p><p>" + word + "</p>"
        << "<p>" + word.left(1500) + "<b>" + word.left(500) + wordBreak + word.left(1500)
            + "</b></p><p>" + word.left(500) + wordBreak + word.left(1500) + "</p>";
}

void TestSectionMarkup::fragments()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QString out;
    QVERIFY(SectionMarkup::filter(text, &out));
    QCOMPARE(out, expected);
    QString again;
    QVERIFY(SectionMarkup::filter(out, &again));
    QCOMPARE(again, out);
}

// The editor's document keeps its form: head, body style, a marker before
// every paragraph and one behind the body tag when the text starts with
// another block.
void TestSectionMarkup::editorDocument()
{
    const QString head = QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
        "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n<html><head><meta name=\"qrichtext\" "
        "content=\"1\" /><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" "
        "/><style type=\"text/css\">\np, li { white-space: pre-wrap; }\n</style></head>");
    const QString marker = QLatin1String(ParagraphMarker);
    const QString stored = head + "<body style=\" font-family:'Arial'; font-size:12pt;\">\n"
        + marker + "<p style=\" margin-top:0px;\">one</p>\n" + marker
        + "<pre>two</pre></body></html>";
    QCOMPARE(SectionMarkup::filtered(stored), stored);

    QCOMPARE(SectionMarkup::filtered(
                 "<html><head><title>t</title><script>x</script></head><body onload=x "
                 "bgcolor=\"#ffffff\"><ul><li>a</li></ul><p>b</p></body></html>"),
             head + "<body bgcolor=\"#ffffff\">" + marker + "<ul><li>a</li></ul>" + marker
                 + "<p>b</p></body></html>");
}

void TestSectionMarkup::refused_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("too many tags") << QString("<b>").repeated(SectionMarkup::MaxTextTags + 1);
    // Each paragraph makes the parser open again every formatting element
    // still listed: thousands of copies of thousands of elements.
    QString copies = QStringLiteral("<p>");
    for (int i = 0; i < 3000; ++i)
        copies += QStringLiteral("<b id=%1>").arg(i);
    copies += QStringLiteral("</p><p>x").repeated(3000);
    QTest::newRow("nesting beyond the parser's memory") << copies;
    // Implied table parts would take the result past the limit.
    QTest::newRow("too many tags once written")
        << QString("<td>").repeated(SectionMarkup::MaxTextTags / 2).prepend("<table>");
    QString attributes;
    for (int i = 0; i <= SectionMarkup::MaxTagAttributes; ++i)
        attributes += QStringLiteral(" a%1").arg(i);
    QTest::newRow("a tag with too many attributes") << "<p" + attributes + ">x</p>";
    QTest::newRow("behind a quoted '>'") << "<p title=\">\"" + attributes + ">x</p>";
    QString half;
    for (int i = 0; i <= SectionMarkup::MaxTagAttributes / 2; ++i)
        half += QStringLiteral(" a%1").arg(i);
    QTest::newRow("gathered on the body")
        << "<body" + half + "><body" + QString(half).replace('a', 'b') + ">";
    QTest::newRow("a text too long")
        << QString(SectionMarkup::MaxTextLength, QLatin1Char('a')) + "<b>";
    // The squares of tags and attributes, one text's share of the file's.
    QString grid = QStringLiteral("<table>");
    for (int row = 0; row < 77; ++row)
        grid += "<tr>" + QString("<td>x").repeated(13);
    QTest::newRow("tables beyond the grid a text may lay out") << grid;
    QTest::newRow("too much work for one text")
        << QString("<b title=t>").repeated(SectionMarkup::MaxTextTags / 2 + 1);
}

void TestSectionMarkup::refused()
{
    QFETCH(QString, text);
    QString out = QStringLiteral("untouched");
    QVERIFY(!SectionMarkup::filter(text, &out));
    QCOMPARE(out, QStringLiteral("untouched"));
}

namespace {

// The most attributes of one element and of all together, as gumbo parses
// html.
QPair<int, int> parsedAttributes(const QString &html)
{
    const QByteArray utf8 = html.toUtf8();
    GumboOutput *output = gumbo_parse(utf8.constData());
    int most = 0;
    int total = 0;
    QVector<const GumboNode *> pending {output->document};
    while (!pending.isEmpty()) {
        const GumboNode *node = pending.takeLast();
        if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
            most = std::max(most, int(node->v.element.attributes.length));
            total += int(node->v.element.attributes.length);
        }
        const GumboVector *children = node->type == GUMBO_NODE_DOCUMENT ? &node->v.document.children
            : node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE
            ? &node->v.element.children
            : nullptr;
        for (unsigned i = 0; children && i < children->length; ++i)
            pending << static_cast<const GumboNode *>(children->data[i]);
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return {most, total};
}

} // namespace

void TestSectionMarkup::attributeBound_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("perElement");
    QTest::addColumn<int>("total");

    QTest::newRow("plain text") << "a > b" << 0 << 0;
    QTest::newRow("the editor's tags")
        << "<p align=\"center\" style=\" margin-top:0px;\"><span style=\"a:b\">x</span></p>" << 2
        << 3;
    QTest::newRow("quoted values hold '<' and '>'") << "<p a=\"x>y<z\" b c>" << 3 << 3;
    QTest::newRow("a closing quote ends an attribute") << "<p a=\"1\"b='2'c>" << 3 << 3;
    QTest::newRow("slashes separate") << "<p/a/b/c/>" << 3 << 3;
    QTest::newRow("an equals sign begins a name") << "<p =a =b>" << 1 << 1;
    QTest::newRow("end tags") << "</p a b>" << 2 << 2;
    QTest::newRow("tags in comments counted too") << "<!-- <p a b c> -->" << 3 << 3;
    // An open quote in a script does not hide the tags after it.
    QTest::newRow("a script's text read as tags")
        << "<script><a x=\"</script><p a b c d>" << 4 << 5;
    QTest::newRow("html and body gather their tags'") << "<html a><body b c><body d>" << 4 << 4;
    QTest::newRow("a tag cut off by the end") << "<p a b" << 2 << 2;
}

// The bound never falls below what the parser gathers.
void TestSectionMarkup::attributeBound()
{
    QFETCH(QString, text);
    QFETCH(int, perElement);
    QFETCH(int, total);

    const SectionMarkup::AttributeBound bound = SectionMarkup::attributeBound(text);
    QCOMPARE(bound.perElement, perElement);
    QCOMPARE(bound.total, qint64(total));
    const QPair<int, int> parsed = parsedAttributes(text);
    QVERIFY(parsed.first <= bound.perElement);
    QVERIFY(parsed.second <= bound.total);
}

void TestSectionMarkup::relativePictureFiles_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("shown");

    QTest::newRow("relative file URL") << "file:pic.png" << false;
    QTest::newRow("relative with dot") << "file:./pic.png" << false;
    QTest::newRow("relative name") << "pic.png" << false;
    QTest::newRow("absolute file URL") << "file://%U/pic.png" << true;
    QTest::newRow("absolute path") << "%U/pic.png" << true;
}

// A relative file name names no picture, even from a working folder inside
// the user's folder.
void TestSectionMarkup::relativePictureFiles()
{
    QFETCH(QString, reference);
    QFETCH(bool, shown);

    const QString folder = getUserFolder();
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeText(folder + QStringLiteral("/pic.png"), QStringLiteral("x")));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder));
    reference.replace(QLatin1String("%U"), folder);
    const bool allowed = isPictureUrl(pictureReferenceUrl(reference));
    const QString kept = SectionMarkup::filtered("<img src=\"" + reference + "\">");
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(allowed, shown);
    QCOMPARE(kept.isEmpty(), !shown);
}

void TestSectionMarkup::pictureSources_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("values"); // as read, then as written
    QTest::addColumn<bool>("closed");

    QTest::newRow("the builder's tag")
        << "<img src=\"a.png\" />" << QStringList {"a.png", "\"a.png\""} << true;
    QTest::newRow("source behind other attributes, in capitals")
        << "<p><IMG alt='x' SRC='b&amp;c.png'>" << QStringList {"b&c.png", "'b&amp;c.png'"} << true;
    QTest::newRow("an image tag is a picture")
        << "<image src=c.png>" << QStringList {"c.png", "c.png"} << true;
    QTest::newRow("the first of two sources")
        << "<img src=\"a\" src=\"b\">" << QStringList {"a", "\"a\""} << true;
    QTest::newRow("after characters beyond one code unit")
        << QString::fromUtf8("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80<img src=\"d\xc3\xa9\">")
        << QStringList {QString::fromUtf8("d\xc3\xa9"), QString::fromUtf8("\"d\xc3\xa9\"")} << true;
    QTest::newRow("a tag cut off") << "x<img src=\"e" << QStringList {"e", "\"e"} << false;
    QTest::newRow("no value") << "<img src>" << QStringList {} << true;
    QTest::newRow("inside a value") << "<p title=\"<img src=x>\">" << QStringList {} << true;
    QTest::newRow("inside a script") << "<script><img src=x></script>" << QStringList {} << true;
}

void TestSectionMarkup::pictureSources()
{
    QFETCH(QString, html);
    QFETCH(QStringList, values);
    QFETCH(bool, closed);

    QVector<SectionMarkup::PictureSource> sources;
    QVERIFY(SectionMarkup::pictureSources(html, &sources));
    QCOMPARE(sources.size(), values.size() / 2);
    if (sources.isEmpty())
        return;
    const SectionMarkup::PictureSource &source = sources.first();
    QCOMPARE(source.value, values.at(0));
    QCOMPARE(html.mid(source.valueStart, source.valueEnd - source.valueStart), values.at(1));
    QCOMPARE(html.at(source.tagStart), QLatin1Char('<'));
    QCOMPARE(html.mid(source.sourceStart, 3).toLower(), QStringLiteral("src"));
    QVERIFY(source.attributesStart <= source.sourceStart);
    QCOMPARE(source.closed, closed);
}

// The custom texts of the layouts the golden files hold look the same in the
// editor after the filter as they did before.
void TestSectionMarkup::goldenLayoutsKeepTheirLook()
{
    reportSetting defaults;
    initialDefSetting(&defaults);
    int texts = 0;
    for (const reportSetting &setting : {defaults, LayoutFixture::customSetting(false)}) {
        for (const QList<repItem> &items : setting.items) {
            for (const repItem &item : items) {
                for (const QString &text : item.texts) {
                    if (text.isEmpty())
                        continue;
                    ++texts;
                    QCOMPARE(textLook(SectionMarkup::filtered(text)), textLook(text));
                }
            }
        }
    }
    QVERIFY(texts > 0);
}

// What the editor stores is its own fixed point, looks as the rich-text
// engine wrote it, and is written as the golden file holds it.
void TestSectionMarkup::editorTextGolden()
{
    const QString written = golden(QStringLiteral("editor-text.html"));
    const QString filtered = golden(QStringLiteral("editor-text-filtered.html"));
    if (qEnvironmentVariableIntValue("LUMARO_UPDATE_GOLDEN") == 1) {
        QVERIFY(writeText(written, editorText()));
        QVERIFY(writeText(filtered, SectionMarkup::filtered(readText(written))));
    }
    const QString text = readText(written);
    const QString expected = readText(filtered);
    QVERIFY(!text.isEmpty() && !expected.isEmpty());
    QCOMPARE(SectionMarkup::filtered(text), expected);
    QCOMPARE(SectionMarkup::filtered(expected), expected);
    QCOMPARE(textLook(expected), textLook(text));
}

QTEST_MAIN(TestSectionMarkup)
#include "tst_sectionmarkup.moc"
