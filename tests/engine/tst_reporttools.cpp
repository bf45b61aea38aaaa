#include "engine/reporttools.h"
#include "layouts/reportsetting.h"

#include "tests/support/testenvironment.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(QFont)

namespace {

// Expected fragments are written with "\n"; the builder ends lines with CR LF.
QString L(const QString &text)
{
    QString s = text;
    return s.replace(QLatin1String("\n"), QLatin1String("\r\n"));
}

const QString chapOpen = "<table class=maindoc border=\"0\" width=100%><tr><td>\n";
const QString tableEnd = "</td></tr></table>\n";
const QString pieceOpen = "<table class=maindoc border=\"0\"><tr><td>\n";
// A piece table inside a marked paragraph: its cell is marked as well.
const QString markedPieceOpen = "<table class=maindoc border=\"0\"><tr><td comment=\"st_fs\"   >\n";
const QString marked = "<p comment=\"st_fs\"   >";
const QString imgClose = "\" style=\"margin-left: 15px;\" align=\"right\" />";

QFont pixelFont(const QString &family, int pixels, int weight = QFont::Normal)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

QImage redSquare()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

QString embeddedTag(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "<img src = \"data:image/png;base64," + QString::fromLatin1(png.toBase64()) + imgClose;
}

// A custom text as the layout manager's editor stores it.
QString editorHtml(const QStringList &paragraphs)
{
    QString html = "<!DOCTYPE HTML><html><head><style type=\"text/css\">p { margin: 0 }</style>"
                   "</head><body style=\" font-size:13pt;\">";
    for (const QString &p : paragraphs)
        html += "<!-- md --><br><p>" + p + "</p>";
    return html + "</body></html>";
}

// An item whose entry lists may be shorter than the program makes them, as a
// layout file can hold.
repItem itemWithEntries(int kind, int type, int texts, int images, int flags)
{
    repItem item;
    item.kind = kind;
    item.type = type;
    item.texts = item.texts.mid(0, texts);
    item.images = item.images.mid(0, images);
    item.useStdText = item.useStdText.mid(0, flags);
    return item;
}

const QString itemFontOpen = "<font style=\"font-size: 16px; face:'Arial'; color:#000000;\" >";

} // namespace

class tst_ReportTools : public QObject
{
    Q_OBJECT

private slots:
    void documentHead();
    void startDocDiscardsContent();
    void endDocRewritesBoldOnly();

    void heldBackPictures();
    void pictureFragments();

    void fontTags_data();
    void fontTags();

    void markedParagraph_data();
    void markedParagraph();

    void splitParagraph_data();
    void splitParagraph();

    void itemParagraph_data();
    void itemParagraph();

    void standItemDefaultStyle();
    void standItemEntryShift_data();
    void standItemEntryShift();
    void standItemPicture_data();
    void standItemPicture();
    void standItemOpenForCaller();

    void bodyContent_data();
    void bodyContent();

    void tabParagraph();
};

void tst_ReportTools::documentHead()
{
    QFile golden(TestEnvironment::dataPath("engine/report-empty.html"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    CReportTools tools(nullptr);
    tools.startDoc("Life & Path");
    tools.endDoc();
    QCOMPARE(tools.reportHtml, QString::fromUtf8(golden.readAll()));
}

void tst_ReportTools::startDocDiscardsContent()
{
    CReportTools fresh(nullptr);
    fresh.startDoc("T");
    CReportTools used(nullptr);
    used.startDoc("old");
    used.addPlain("<p>old</p>");
    used.addImage("kept.png");
    used.startDoc("T");
    QCOMPARE(used.reportHtml, fresh.reportHtml);
    QVERIFY(!used.pendingImage.isEmpty());
}

void tst_ReportTools::endDocRewritesBoldOnly()
{
    CReportTools tools(nullptr);
    tools.addPlain(
        "<span style=\"font-weight:600\">a</span><span style=\"font-weight: 600\">b</span>"
        "<span style=\"FONT-WEIGHT:600\">c</span>");
    tools.addImage("x.png");
    tools.endDoc();
    QCOMPARE(tools.reportHtml,
             L("<span style=\"font-weight:bold\">a</span><span style=\"font-weight: 600\">b</span>"
               "<span style=\"FONT-WEIGHT:600\">c</span></body></html>\n"));
    QVERIFY(tools.pendingImage.isEmpty());
}

void tst_ReportTools::heldBackPictures()
{
    const QFont plain = pixelFont("Arial", 18);
    const QString head
        = "<font style=\"font-size: 18px; face:'Arial'; color:#000000;\">H</font></h2>\n";

    CReportTools tools(nullptr);
    tools.preloadRes("/res/doc/");
    const QString second = "<img src=\"file:////res/doc/second.png" + imgClose;

    // Only the last of two pictures is written, by a heading without image.
    tools.addImage("first.png");
    tools.addImage("second.png");
    tools.addHead("H", Qt::black, plain, QImage());
    QCOMPARE(tools.reportHtml, L("<h2>" + second + head));
    QVERIFY(tools.pendingImage.isEmpty());

    // A heading with an image replaces a held-back file picture.
    tools.reportHtml.clear();
    tools.addImage("second.png");
    tools.addHead("H", Qt::black, plain, redSquare());
    QCOMPARE(tools.reportHtml, L("<h2>" + embeddedTag(redSquare()) + head));

    // A heading without words is not written; its picture goes to the next
    // paragraph.
    tools.reportHtml.clear();
    tools.addHead(" ", Qt::black, plain, redSquare());
    QVERIFY(tools.reportHtml.isEmpty());
    tools.addPar("P", QImage());
    QVERIFY(tools.reportHtml.startsWith("<p comment=\"st_fs\"   >" + embeddedTag(redSquare())));

    // startChap(false) keeps the picture for the section's heading.
    tools.reportHtml.clear();
    tools.addImage("second.png");
    tools.startChap(false);
    tools.addPar("P", Qt::black, plain, QImage());
    QCOMPARE(tools.reportHtml,
             L(chapOpen + "<p>" + second
               + "<font style=\"font-size: 18px; face:'Arial'; color:#000000;\">P</font></p>\n"));

    // A styled paragraph with an image of its own also replaces a held-back one.
    tools.reportHtml.clear();
    tools.addImage("second.png");
    tools.addPar("P", Qt::black, plain, redSquare());
    QCOMPARE(tools.reportHtml,
             L("<p>" + embeddedTag(redSquare())
               + "<font style=\"font-size: 18px; face:'Arial'; color:#000000;\">P</font></p>\n"));
    QVERIFY(tools.pendingImage.isEmpty());

    // startChap(true), endChap and the paragraphs drop or use it up.
    tools.addImage("second.png");
    tools.startChap(true);
    QVERIFY(tools.pendingImage.isEmpty());
    tools.addImage("second.png");
    tools.endChap();
    QVERIFY(tools.pendingImage.isEmpty());
    tools.addImage("second.png");
    tools.addTabPar("t");
    QVERIFY(tools.pendingImage.isEmpty());
}

void tst_ReportTools::pictureFragments()
{
    CReportTools tools(nullptr);
    tools.addImage("a.png");
    QVERIFY(tools.pendingImage.startsWith("<img src=\"file:///a.png\""));
    QCOMPARE(QString("<img src=\"file:///").size(), 18);
    QCOMPARE(imgClose.size(), 45);
    QVERIFY(tools.pendingImage.endsWith(imgClose));
    QVERIFY(tools.reportHtml.isEmpty());

    // The embedded picture decodes back to the image.
    tools.addPar("", redSquare());
    const QString html = tools.reportHtml;
    const QString prefix = "<img src = \"data:image/png;base64,";
    QCOMPARE(prefix.size(), 34);
    const int from = html.indexOf(prefix) + prefix.size();
    const int to = html.indexOf(imgClose);
    QVERIFY(from > prefix.size() && to > from);
    QImage decoded;
    QVERIFY(
        decoded.loadFromData(QByteArray::fromBase64(html.mid(from, to - from).toLatin1()), "PNG"));
    QCOMPARE(decoded.convertToFormat(QImage::Format_ARGB32), redSquare());
}

void tst_ReportTools::fontTags_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("heading"); // addHead of "x"
    QTest::addColumn<QString>("item"); // addPar of "x" with an item of that content font

    QTest::newRow("18 px Arial")
        << pixelFont("Arial", 18) << QColor(Qt::black)
        << "<h2><font style=\"font-size: 18px; face:'Arial'; color:#000000;\">x</font></h2>"
        << "<font style=\"font-size: 18px; face:'Arial'; color:#000000;\" >x</font>";
    QFont points("Arial");
    points.setPointSize(14);
    QTest::newRow("points have no size")
        << points << QColor(Qt::black)
        << "<h2><font style=\" face:'Arial'; color:#000000;\">x</font></h2>"
        << "<font style=\" face:'Arial'; color:#000000;\" >x</font>";
    QFont noFamily;
    noFamily.setFamily(QString());
    noFamily.setPointSize(12);
    QTest::newRow("no family, no size")
        << noFamily << QColor(Qt::black) << "<h2><font style=\" color:#000000;\">x</font></h2>"
        << "<font style=\" color:#000000;\" >x</font>";
    QTest::newRow("colour in lower case")
        << pixelFont("Georgia", 9) << QColor(0x1a, 0x2b, 0xc3)
        << "<h2><font style=\"font-size: 9px; face:'Georgia'; color:#1a2bc3;\">x</font></h2>"
        << "<font style=\"font-size: 9px; face:'Georgia'; color:#1a2bc3;\" >x</font>";
    QFont styled = pixelFont("Arial", 16, 75);
    styled.setUnderline(true);
    styled.setItalic(true);
    QTest::newRow("bold underlined italic")
        << styled << QColor(Qt::black)
        << "<h2><u><i><font style=\"font-size: 16px; "
           "face:'Arial'; color:#000000;\">x</font></i></u></h2>"
        << "<b><u><i><font style=\"font-size: 16px; "
           "face:'Arial'; color:#000000;\" >x</font></i></u></b>";
    QFont oblique = pixelFont("Arial", 16);
    oblique.setStyle(QFont::StyleOblique);
    QTest::newRow("oblique counts as italic")
        << oblique << QColor(Qt::black)
        << "<h2><i><font style=\"font-size: 16px; face:'Arial'; color:#000000;\">x</font></i></h2>"
        << "<i><font style=\"font-size: 16px; face:'Arial'; color:#000000;\" >x</font></i>";
    QTest::newRow("weight 57 not bold")
        << pixelFont("Arial", 16, 57) << QColor(Qt::black)
        << "<h2><font style=\"font-size: 16px; face:'Arial'; color:#000000;\">x</font></h2>"
        << "<font style=\"font-size: 16px; face:'Arial'; color:#000000;\" >x</font>";
    QTest::newRow("a family no font has is left out")
        << pixelFont("Arial;\"><script>x</script><b title=\"", 9) << QColor(Qt::black)
        << "<h2><font style=\"font-size: 9px; color:#000000;\">x</font></h2>"
        << "<font style=\"font-size: 9px; color:#000000;\" >x</font>";
    QTest::newRow("a family with & is escaped")
        << pixelFont("Black & White", 9) << QColor(Qt::black)
        << "<h2><font style=\"font-size: 9px; face:'Black &amp; White'; "
           "color:#000000;\">x</font></h2>"
        << "<font style=\"font-size: 9px; face:'Black &amp; White'; color:#000000;\" >x</font>";
    QTest::newRow("a comment opener stays inside the quotes")
        << pixelFont("x/* c", 9) << QColor(Qt::red)
        << "<h2><font style=\"font-size: 9px; face:'x/* c'; color:#ff0000;\">x</font></h2>"
        << "<font style=\"font-size: 9px; face:'x/* c'; color:#ff0000;\" >x</font>";
    QTest::newRow("weight 58 bold")
        << pixelFont("Arial", 16, 58) << QColor(Qt::black)
        << "<h2><font style=\"font-size: 16px; face:'Arial'; color:#000000;\">x</font></h2>"
        << "<b><font style=\"font-size: 16px; face:'Arial'; color:#000000;\" >x</font></b>";
}

void tst_ReportTools::fontTags()
{
    QFETCH(QFont, font);
    QFETCH(QColor, color);
    QFETCH(QString, heading);
    QFETCH(QString, item);

    CReportTools tools(nullptr);
    tools.addHead("x", color, font, QImage());
    QCOMPARE(tools.reportHtml, L(heading + "\n"));

    tools.reportHtml.clear();
    tools.addPar("x", color, font, QImage());
    QString paragraph = heading;
    paragraph.replace("<h2>", "<p>").replace("</h2>", "</p>");
    QCOMPARE(tools.reportHtml, L(paragraph + "\n"));

    repItem layout;
    layout.contentFont = font;
    layout.contentColor = color;
    tools.reportHtml.clear();
    tools.addPar("x", &layout, 3);
    QCOMPARE(tools.reportHtml, L(marked + item + tableEnd + "</p>\n"));
}

void tst_ReportTools::markedParagraph_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("held"); // a file picture held back
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing") << "" << false << "";
    QTest::newRow("picture alone")
        << "" << true << marked + "<img src=\"file:///a.png" + imgClose + "</p>\n";
    QTest::newRow("one paragraph element")
        << "<p>x</p>" << false << marked + marked + "x</p></p>\n";
    QTest::newRow("cells and paragraphs, not longer names")
        << "<pre><td class=c>y</td><p/><ponmouseover=x><tdx>" << false
        << marked
            + "<pre><td comment=\"st_fs\"    class=c>y</td><p comment=\"st_fs\"   "
              "/><ponmouseover=x>"
              "<tdx></p>\n";
    QTest::newRow("upper case untouched") << "<P>z" << false << marked + "<P>z</p>\n";
}

void tst_ReportTools::markedParagraph()
{
    QFETCH(QString, text);
    QFETCH(bool, held);
    QFETCH(QString, expected);
    CReportTools tools(nullptr);
    if (held)
        tools.addImage("a.png");
    tools.addPar(text, QImage());
    QCOMPARE(tools.reportHtml, L(expected));
    QVERIFY(tools.pendingImage.isEmpty());
}

void tst_ReportTools::splitParagraph_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << ""
                           << "<b>"
                           << "</b>"
                           << "";
    QTest::newRow("two words") << "one<br />two"
                               << "<b>"
                               << "</b>"
                               << "<b>one</b>" + tableEnd + pieceOpen + "<b>two</b>" + tableEnd;
    QTest::newRow("paragraphs and break forms") << "<p>a</p><p>b<br/>c</p>"
                                                << ""
                                                << ""
                                                << "a" + tableEnd + pieceOpen + "b" + tableEnd
            + pieceOpen + "c" + tableEnd + pieceOpen + tableEnd;
    QTest::newRow("trailing break gives an empty piece") << "a<br>"
                                                         << ""
                                                         << ""
                                                         << "a" + tableEnd + pieceOpen + tableEnd;
    QTest::newRow("span across pieces") << "<span style=\"x\">a<br>b<br>c</span>d<br>e"
                                        << ""
                                        << ""
                                        << "<span style=\"x\">a</span>" + tableEnd + pieceOpen
            + "<span style=\"x\">b</span>" + tableEnd + pieceOpen + "<span style=\"x\">c</span>d"
            + tableEnd + pieceOpen + "e" + tableEnd;
    QTest::newRow("closing tag at piece start") << "<span id=1>a<br></span>b<br>c"
                                                << ""
                                                << ""
                                                << "<span id=1>a</span>" + tableEnd + pieceOpen
            + "<span id=1></span>b" + tableEnd + pieceOpen + "c" + tableEnd;
    QTest::newRow("last opening span is carried") << "<span id=1>a</span><span id=2>b<br>c"
                                                  << ""
                                                  << ""
                                                  << "<span id=1>a</span><span id=2>b</span>"
            + tableEnd + pieceOpen + "<span id=2>c</span>" + tableEnd;
    QTest::newRow("a removed paragraph tag joins no tag") << "<<p>script>x</<p><p>iframe>"
                                                          << ""
                                                          << ""
                                                          << "&lt;script>x&lt;/iframe>" + tableEnd;
    // What would have to be opened again in every piece, beyond what a
    // layout may carry over, keeps the pieces joined at their line breaks.
    const QString longSpan = "<span style=\"" + QString(600, 'x') + "\">";
    QTest::newRow("long span joins its pieces")
        << longSpan + "a<br>b</span><br>c"
        << ""
        << "" << longSpan + "a<br>b</span>" + tableEnd + pieceOpen + "c" + tableEnd;
    const QString longFont = "<font style=\"" + QString(600, 'y') + "\">";
    QTest::newRow("long font tag keeps the text whole")
        << "<p>a</p><p>b</p>" << longFont << "</font>" << longFont + "a<br>b<br></font>" + tableEnd;
    QTest::newRow("closed span carries nothing")
        << "<span>a</span><br>b"
        << ""
        << ""
        << "<span>a</span>" + tableEnd + pieceOpen + "b" + tableEnd;

    // A table or a list stays whole in the piece it starts in.
    QTest::newRow("nested lists in any case")
        << "<UL><li>a<ol type=\"a\"><li>b<br>c</li></ol><br></li></UL ><br>d"
        << "<i>"
        << "</i>"
        << "<i><UL><li>a<ol type=\"a\"><li>b<br>c</li></ol><br></li></UL ></i>" + tableEnd
            + pieceOpen + "<i>d</i>" + tableEnd;
    QTest::newRow("span around a table")
        << "<span style=\"x\">a<br><table><tr><td><span>in</span></td></tr></table>b<br>c</span>"
        << ""
        << ""
        << "<span style=\"x\">a</span>" + tableEnd + pieceOpen
            + "<span style=\"x\"><table><tr><td><span>in</span></td></tr></table>b</span>"
            + tableEnd + pieceOpen + "<span style=\"x\">c</span>" + tableEnd;
    QTest::newRow("table left open runs to the end")
        << "a<br><table><tr><td>b<br>c<p>d</p>"
        << ""
        << ""
        << "a" + tableEnd + pieceOpen + "<table><tr><td>b<br>c<p>d</p>" + tableEnd;
    QTest::newRow("stray end tags and other names cut as before")
        << "</ul>a<br><tablex>b<br>c</tablex></table><br>d"
        << ""
        << ""
        << "</ul>a" + tableEnd + pieceOpen + "<tablex>b" + tableEnd + pieceOpen
            + "c</tablex></table>" + tableEnd + pieceOpen + "d" + tableEnd;
    QTest::newRow("tags in quotes and comments")
        << "<span title=\"<table>\">a<br>b</span><!-- <ul> --><br>c"
        << ""
        << ""
        << "<span title=\"<table>\">a</span>" + tableEnd + pieceOpen
            + "<span title=\"<table>\">b</span><!-- <ul> -->" + tableEnd + pieceOpen + "c"
            + tableEnd;
    QTest::newRow("quoted end of tag")
        << "<table title='a>b'><tr><td>x<br>y</td></tr></table>"
        << ""
        << ""
        << "<table title='a>b'><tr><td>x<br>y</td></tr></table>" + tableEnd;
    QTest::newRow("unfinished markup") << "<!--<table><br>a<br"
                                       << ""
                                       << ""
                                       << "<!--<table>" + tableEnd + pieceOpen + "a<br" + tableEnd;
    QTest::newRow("unfinished table tag")
        << "a<br><table title=\"x"
        << ""
        << ""
        << "a" + tableEnd + pieceOpen + "<table title=\"x" + tableEnd;
    const QString deep = QString("<ul><li>").repeated(20000) + "x<br>y";
    QTest::newRow("deep nesting") << deep << ""
                                  << "" << deep + tableEnd;
}

void tst_ReportTools::splitParagraph()
{
    QFETCH(QString, text);
    QFETCH(QString, open);
    QFETCH(QString, close);
    QFETCH(QString, expected);
    CReportTools tools(nullptr);
    QCOMPARE(tools.addSplitParagraph(text, open, close), L(expected));
    QVERIFY(tools.reportHtml.isEmpty());
}

void tst_ReportTools::itemParagraph_data()
{
    QTest::addColumn<int>("texts"); // entries in each list of the item
    QTest::addColumn<int>("images");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("useStd"); // flag at the entry, where it exists
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString wrapped = marked + itemFontOpen + "std</font>" + tableEnd + "</p>\n";
    const QString customText = editorHtml({"mine", "more"});
    const QString customOut = marked + "mine" + tableEnd + markedPieceOpen + "<!-- md -->"
        + tableEnd + markedPieceOpen + "more" + tableEnd + markedPieceOpen + tableEnd + "</p>\n";

    QTest::newRow("standard text in content font") << 256 << 256 << 256 << 5 << true << ""
                                                   << "std" << wrapped;
    QTest::newRow("standard text with breaks") << 256 << 256 << 256 << 5 << true << ""
                                               << "a<br />b"
                                               << marked + itemFontOpen + "a</font>" + tableEnd
            + markedPieceOpen + itemFontOpen + "b</font>" + tableEnd + "</p>\n";
    QTest::newRow("custom text replaces")
        << 256 << 256 << 256 << 5 << false << customText << "std" << customOut;
    QTest::newRow("empty custom text closes chapter") << 256 << 256 << 256 << 5 << false << ""
                                                      << "std" << tableEnd;
    QTest::newRow("empty standard text closes chapter") << 256 << 256 << 256 << 5 << true << ""
                                                        << "" << tableEnd;

    // Items from a layout file may hold fewer entries in any list.
    QTest::newRow("no entries at all") << 0 << 0 << 0 << 5 << false << ""
                                       << "std" << wrapped;
    QTest::newRow("flag missing reads as set")
        << 256 << 256 << 3 << 5 << false << customText << "std" << wrapped;
    QTest::newRow("text missing reads as null") << 3 << 256 << 256 << 5 << false << ""
                                                << "std" << tableEnd;
    QTest::newRow("images need not reach the entry")
        << 256 << 0 << 256 << 5 << false << customText << "std" << customOut;
    QTest::newRow("entry past 256")
        << 256 << 256 << 256 << 300 << false << customText << "std" << wrapped;
    QTest::newRow("negative entry")
        << 256 << 256 << 256 << -1 << false << customText << "std" << wrapped;
}

void tst_ReportTools::itemParagraph()
{
    QFETCH(int, texts);
    QFETCH(int, images);
    QFETCH(int, flags);
    QFETCH(int, entry);
    QFETCH(bool, useStd);
    QFETCH(QString, custom);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    repItem item = itemWithEntries(RKNumerology, 1, texts, images, flags);
    if (entry >= 0 && entry < item.texts.size())
        item.texts[entry] = custom;
    if (entry >= 0 && entry < item.useStdText.size())
        item.useStdText[entry] = useStd;

    CReportTools tools(nullptr);
    tools.addPar(text, &item, entry);
    QCOMPARE(tools.reportHtml, L(expected));
}

void tst_ReportTools::standItemDefaultStyle()
{
    repItem item;
    item.title = "Ignored";
    item.images[0] = redSquare();
    const QString head = "<h2><font style=\" color:#000000;\">Life Path 7</font></h2>\n";

    CReportTools tools(nullptr);
    tools.addStandItem("Life Path", "7", "<p>gen</p>", "spec<br />more", 7, &item, false);
    // The general text's closing tag and the joining break leave an empty piece.
    QCOMPARE(tools.reportHtml,
             L(chapOpen + head + marked + "gen" + tableEnd + markedPieceOpen + tableEnd
               + markedPieceOpen + "spec" + tableEnd + markedPieceOpen + "more" + tableEnd
               + "</p>\n" + tableEnd));

    tools.reportHtml.clear();
    tools.addStandItem("Life Path", "7", "", "", 7, &item, false);
    QCOMPARE(tools.reportHtml, L(chapOpen + head + tableEnd + tableEnd));

    // A picture held back by the caller lands in the heading.
    tools.reportHtml.clear();
    tools.addImage("lp.png");
    tools.addStandItem("Life Path", "7", "", "s", 7, &item, false);
    QCOMPARE(tools.reportHtml,
             L(chapOpen + "<h2><img src=\"file:///lp.png" + imgClose
               + "<font style=\" color:#000000;\">Life Path 7</font></h2>\n" + marked + "s"
               + tableEnd + "</p>\n" + tableEnd));
}

void tst_ReportTools::standItemEntryShift_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("customEntry"); // where the custom text is found

    QTest::newRow("challenges") << 0 << 15 << 1;
    QTest::newRow("bridge LP-E") << 0 << 31 << 1;
    QTest::newRow("bridge HD-P") << 0 << 33 << 1;
    QTest::newRow("bridge LP+E") << 0 << 32 << 0;
    QTest::newRow("life path") << 0 << 1 << 0;
    QTest::newRow("psycho-matrix type 15") << 1 << 15 << 0;
}

void tst_ReportTools::standItemEntryShift()
{
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(int, customEntry);

    repItem item = itemWithEntries(kind, type, 256, 256, 256);
    item.defaultStyle = false;
    item.title = "Challenge";
    item.headerFont = pixelFont("Arial", 18, 75);
    item.texts[customEntry] = editorHtml({"custom"});
    item.useStdText[customEntry] = false;

    CReportTools tools(nullptr);
    tools.addStandItem("ignored", "0", "", "standard", 0, &item, false);
    QCOMPARE(tools.reportHtml,
             L(chapOpen
               + "<h2><font style=\"font-size: 18px; face:'Arial'; color:#000000;\">Challenge "
                 "0</font></h2>\n"
               + marked + "custom" + tableEnd + markedPieceOpen + tableEnd + "</p>\n" + tableEnd));
}

void tst_ReportTools::standItemPicture_data()
{
    QTest::addColumn<int>("images");
    QTest::addColumn<bool>("hideAll");
    QTest::addColumn<QString>("hideOption"); // empty = no option
    QTest::addColumn<bool>("shown");

    QTest::newRow("shown") << 256 << false << "" << true;
    QTest::newRow("option FALSE") << 256 << false << "FALSE" << true;
    QTest::newRow("option lower-case true") << 256 << false << "true" << true;
    QTest::newRow("option TRUE") << 256 << false << "TRUE" << false;
    QTest::newRow("report hides all") << 256 << true << "" << false;
    QTest::newRow("no images") << 0 << false << "" << false;
    QTest::newRow("one image") << 1 << false << "" << true;
}

void tst_ReportTools::standItemPicture()
{
    QFETCH(int, images);
    QFETCH(bool, hideAll);
    QFETCH(QString, hideOption);
    QFETCH(bool, shown);

    repItem item = itemWithEntries(RKNumerology, 1, 256, images, 256);
    item.defaultStyle = false;
    if (images > 0)
        item.images[0] = redSquare();
    if (!hideOption.isEmpty())
        item.options.insert("hide-image", hideOption);

    CReportTools tools(nullptr);
    tools.addImage("held.png");
    tools.addStandItem("t", "1", "", "s", 1, &item, hideAll);
    const QString picture
        = shown ? embeddedTag(redSquare()) : "<img src=\"file:///held.png" + imgClose;
    QVERIFY(tools.reportHtml.startsWith(L(chapOpen + "<h2>" + picture + "<font")));
}

void tst_ReportTools::standItemOpenForCaller()
{
    repItem item;
    item.defaultStyle = false;
    item.title = "Pinnacles";
    const QString head = "<h2><font style=\"font-size: 18px; face:'Arial'; "
                         "color:#000000;\">Pinnacles 3</font></h2>\n";

    CReportTools tools(nullptr);
    tools.addStandItem("x", "3", "", "s", -1, &item, false);
    QCOMPARE(tools.reportHtml, L(chapOpen + head));

    // With a general text: its paragraph, then the chapter stays for the caller.
    tools.reportHtml.clear();
    tools.addStandItem("x", "3", "g", "s", -1, &item, false);
    QCOMPARE(
        tools.reportHtml,
        L(chapOpen + head + marked + itemFontOpen + "g</font>" + tableEnd + "</p>\n" + tableEnd));

    // With an entry: general, a fresh chapter, then the number's text.
    tools.reportHtml.clear();
    tools.addStandItem("x", "3", "g", "s", 3, &item, false);
    QCOMPARE(tools.reportHtml,
             L(chapOpen + head + marked + itemFontOpen + "g</font>" + tableEnd + "</p>\n" + tableEnd
               + chapOpen + marked + itemFontOpen + "s</font>" + tableEnd + "</p>\n" + tableEnd));
}

void tst_ReportTools::bodyContent_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("plain text") << "just text"
                                << "just text";
    QTest::newRow("no closing body") << "<body>x"
                                     << "<body>x";
    QTest::newRow("no opening body") << "x</body>"
                                     << "x</body>";
    QTest::newRow("marker after body")
        << "<html><body a=1><!-- md --><br><p>x</p><!-- md --><br><p>y</p></body></html>"
        << "<p>x</p><!-- md --><br><p>y</p>";
    QTest::newRow("no marker") << "<html><body a=1><p>x</p></body></html>"
                               << "<p>x</p>";
    QTest::newRow("marker only before body") << "<head><!-- md --><br></head><body><p>x</p></body>"
                                             << "<p>x</p>";
    QTest::newRow("case-sensitive") << "<BODY>x</BODY>"
                                    << "<BODY>x</BODY>";
}

void tst_ReportTools::bodyContent()
{
    QFETCH(QString, html);
    QFETCH(QString, expected);
    CReportTools tools(nullptr);
    QCOMPARE(tools.delHtmlHeaderTags(html), expected);
}

void tst_ReportTools::tabParagraph()
{
    CReportTools tools(nullptr);
    tools.addImage("a.png");
    tools.addTabPar("text");
    QCOMPARE(tools.reportHtml,
             L("<span class=maindoc><table class=maindoc border=\"0\" cellspacing=\"0\"><tr>"
               "<td valign=\"top\"><p><img src=\"file:///a.png"
               + imgClose
               + "</p></td>\n<td valign=\"top\"><p>text</p></td>\n</tr></table></span>"));
}

QTEST_MAIN(tst_ReportTools)
#include "tst_reporttools.moc"
