#include "layouts/reportsetting.h"
#include "layouts/sectiontext.h"

#include <QTest>

// How custom section texts are stored for the report builder, and which
// entries the text editor offers.
class TestSectionText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontSizes_data();
    void fontSizes();
    void storedForm_data();
    void storedForm();
    void entries_data();
    void entries();
    void entriesStayInsideTheTable();
};

void TestSectionText::fontSizes_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << "<p>plain</p>" << 4 << "<p>plain</p>";
    QTest::newRow("one up") << "<span style=\" font-size:14pt;\">x</span>" << 4
                            << "<span style=\" font-size:18pt;\">x</span>";
    QTest::newRow("one down") << "<span style=\" font-size:18pt;\">x</span>" << -4
                              << "<span style=\" font-size:14pt;\">x</span>";
    QTest::newRow("several") << "font-size:8pt; a font-size:16pt; b font-size:100pt;" << 4
                             << "font-size:12pt; a font-size:20pt; b font-size:104pt;";
    QTest::newRow("fractions") << "font-size:10pt; font-size:10.5pt; font-size:14.1pt;" << -4
                               << "font-size:6pt; font-size:6.5pt; font-size:10.1pt;";
    QTest::newRow("pixels become points") << "font-size:10pt; font-size:12px; font-size:13px;" << 4
                                          << "font-size:14pt; font-size:13pt; font-size:13.75pt;";
    QTest::newRow("other forms stay") << "font-size:x-large; font-size:1e3pt; font-size:10.pt; "
                                         "font-size:120%; font-size:10pt;"
                                      << 4
                                      << "font-size:x-large; font-size:1e3pt; font-size:10.pt; "
                                         "font-size:120%; font-size:14pt;";
    QTest::newRow("body keeps the editor's font")
        << "<style>p {}</style></head><body style=\" font-size:16pt;\"><p style=\" "
           "font-size:20pt;\">x</p>"
        << -4
        << "<style>p {}</style></head><body style=\" font-size:16pt;\"><p style=\" "
           "font-size:16pt;\">x</p>";
    QTest::newRow("case-sensitive key") << "FONT-SIZE:10pt;" << 4 << "FONT-SIZE:10pt;";
    QTest::newRow("below zero") << "font-size:2pt;" << -4 << "font-size:-2pt;";
}

void TestSectionText::fontSizes()
{
    QFETCH(QString, html);
    QFETCH(int, delta);
    QFETCH(QString, expected);
    QCOMPARE(upHtmlFontSize(html, delta), expected);
}

void TestSectionText::storedForm_data()
{
    QTest::addColumn<QString>("editorHtml");
    QTest::addColumn<QString>("stored");

    QTest::newRow("one paragraph") << "<p style=\" font-size:20pt;\">One</p>"
                                   << "<!-- md --><br><p style=\" font-size:16pt;\">One</p>";
    QTest::newRow("two paragraphs") << "<p>One</p><p>Two</p>"
                                    << "<!-- md --><br><p>One</p><!-- md --><br><p>Two</p>";
    // Every "<p", whatever follows it.
    QTest::newRow("pre") << "<pre>x</pre>"
                         << "<!-- md --><br><pre>x</pre>";
}

void TestSectionText::storedForm()
{
    QFETCH(QString, editorHtml);
    QFETCH(QString, stored);
    QCOMPARE(storedCustomText(editorHtml, EditorSizeOffset), stored);
    // Loading it back gives the editor's text at the report's sizes.
    QCOMPARE(upHtmlFontSize(withoutParagraphMarkers(stored), EditorSizeOffset), editorHtml);
}

void TestSectionText::entries_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("textCount");
    QTest::addColumn<QString>("expected"); // "label=entry" joined by "|"

    QTest::newRow("love header") << 2 << 0 << 256 << "Heading=0";
    QTest::newRow("love custom text") << 2 << 11 << 256 << "Heading=0";
    QTest::newRow("love family") << 2 << 5 << 256 << "Heading=1";
    QTest::newRow("love carnal, no heading text") << 2 << 6 << 256 << "";
    QTest::newRow("love final") << 2 << 10 << 256 << "Heading=3";
    QTest::newRow("love life path") << 2 << 1 << 256 << "1 + 1=11|3 + 7=37|9 + 9=99";
    QTest::newRow("love birthday") << 2 << 2 << 256 << "Heading=0|1=1|3=3|11=11|37=37|99=99";
    QTest::newRow("love character")
        << 2 << 8 << 256 << "Heading=0|-1 + 0=1|-1 + 2=3|0 + 0=11|2 + 6=37|8 + 8=99";
    QTest::newRow("love psycho-matrix") << 2 << 4 << 256 << "";
    QTest::newRow("bridge detail") << 0 << 32 << 256 << "1 + 1=11|3 + 7=37|9 + 9=99";
    QTest::newRow("challenges from zero")
        << 0 << 15 << 256 << "Heading=0|0=1|2=3|10=11|36=37|98=99";
    QTest::newRow("life path") << 0 << 1 << 256 << "Heading=0|1=1|3=3|11=11|37=37|99=99";
    QTest::newRow("pet") << 4 << 1 << 256 << "Heading=0|1=1|3=3|11=11|37=37|99=99";
    QTest::newRow("celebrities") << 3 << 1 << 256 << "0=0|1=1|3=3|11=11|37=37|99=99|200=200";
    QTest::newRow("celebrities, short list") << 3 << 1 << 12 << "0=0|1=1|3=3|11=11";
}

void TestSectionText::entries()
{
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(int, textCount);
    QFETCH(QString, expected);
    QString table[256];
    for (int i : {0, 1, 3, 11, 37, 99, 200})
        table[i] = QStringLiteral("<p>text %1</p>").arg(i);
    QStringList found;
    for (const EditorEntry &entry : editorEntries(kind, type, table, 256, textCount))
        found << QStringLiteral("%1=%2").arg(entry.label).arg(entry.entry);
    QCOMPARE(found.join(QLatin1Char('|')), expected);
}

void TestSectionText::entriesStayInsideTheTable()
{
    // A section read from a file may hold more entries than the standard
    // table has; the editor must not look past the table.
    QString table[128];
    table[127] = QStringLiteral("last");
    const QList<EditorEntry> found = editorEntries(RKCelebrities, 1, table, 128, 1000);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().entry, 127);
    QVERIFY(editorEntries(RKNumerology, 1, nullptr, 0, 256).isEmpty());
    // The heading of the love character section is offered even without a text.
    QString empty[128];
    QCOMPARE(editorEntries(RKLoveCompatibility, 8, empty, 128, 256).size(), 1);
}

QTEST_GUILESS_MAIN(TestSectionText)
#include "tst_sectiontext.moc"
