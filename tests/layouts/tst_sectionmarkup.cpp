#include "base/apppaths.h"
#include "layouts/sectionmarkup.h"
#include "layouts/sectiontext.h"

#include <QDir>
#include <QTest>

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
};

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
}

void TestSectionMarkup::refused()
{
    QFETCH(QString, text);
    QString out = QStringLiteral("untouched");
    QVERIFY(!SectionMarkup::filter(text, &out));
    QCOMPARE(out, QStringLiteral("untouched"));
}

QTEST_GUILESS_MAIN(TestSectionMarkup)
#include "tst_sectionmarkup.moc"
