#include "engine/numerologypmatrix.h"

#include "furtherfixture.h"

#include <QtTest>

using namespace FurtherFixture;

typedef QList<int> Ints;

class tst_PMatrix : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadMarkerDatabase()); }

    void addNumToList_data();
    void addNumToList();
    void matrix_data();
    void matrix();
    void resetKeepsDocument();
    void textIndex_data();
    void textIndex();
    void fixedReading();
    void luckSplitKeepsEmptyParts();
    void largeValuesReadEntrySeven();
    void layoutChoice_data();
    void layoutChoice();
    void countListingFollowsIdOrder();
    void layoutSections_data();
    void layoutSections();
    void layoutPictures_data();
    void layoutPictures();
    void layoutHeader();
    void layoutCustomText();
};

void tst_PMatrix::addNumToList_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<Ints>("digits");
    QTest::newRow("zero") << 0 << Ints {0};
    QTest::newRow("one digit") << 9 << Ints {9};
    QTest::newRow("two digits") << 15 << Ints {1, 5};
    QTest::newRow("inner zeros kept") << 2000 << Ints {2, 0, 0, 0};
    QTest::newRow("modulo 10000") << 12345 << Ints {2, 3, 4, 5};
    QTest::newRow("negative gives its absolute digits") << -1 << Ints {1};
    QTest::newRow("negative two digits") << -16 << Ints {1, 6};
}

void tst_PMatrix::addNumToList()
{
    QFETCH(int, n);
    QFETCH(Ints, digits);
    QList<int> list {7};
    CNumerologyPMatrix::addNumToList(list, n);
    QCOMPARE(list, Ints {7} + digits);
}

void tst_PMatrix::matrix_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<Ints>("working");
    QTest::addColumn<Ints>("counts"); // digits 0 to 9
    QTest::addColumn<Ints>("lines"); // 1-2-3, 4-5-6, 7-8-9, 1-4-7, 2-5-8, 3-6-9, 1-5-9, 3-5-7

    QTest::newRow("15 March 1987")
        << QDate(1987, 3, 15) << Ints {34, 7, 32, 5} << Ints {0, 2, 1, 3, 1, 2, 0, 2, 1, 1}
        << Ints {6, 3, 4, 5, 4, 4, 5, 7};
    QTest::newRow("one-digit day is its own leading digit")
        << QDate(1985, 5, 5) << Ints {33, 6, 23, 5} << Ints {0, 1, 1, 3, 0, 4, 1, 0, 1, 1}
        << Ints {5, 5, 2, 1, 6, 5, 6, 7};
    QTest::newRow("fourth number 11 not reduced")
        << QDate(1999, 12, 29) << Ints {42, 6, 38, 11} << Ints {0, 4, 3, 1, 1, 0, 1, 0, 1, 4}
        << Ints {8, 2, 5, 5, 4, 6, 8, 1};
    QTest::newRow("zeros counted apart")
        << QDate(2000, 1, 30) << Ints {6, 6, 0, 0} << Ints {6, 1, 1, 1, 0, 0, 2, 0, 0, 0}
        << Ints {3, 2, 0, 1, 1, 3, 1, 1};
    QTest::newRow("nine ones") << QDate(1911, 11, 11) << Ints {16, 7, 14, 5}
                               << Ints {0, 9, 0, 0, 1, 1, 1, 1, 0, 1}
                               << Ints {9, 3, 2, 11, 1, 2, 11, 2};
    // Twice the day's leading digit exceeds the date sum: the third working
    // number is negative and counts with the digits of its absolute value.
    QTest::newRow("negative third number")
        << QDate(2000, 1, 4) << Ints {7, 7, -1, 1} << Ints {3, 3, 1, 0, 1, 0, 0, 2, 0, 0}
        << Ints {4, 1, 2, 6, 1, 0, 3, 2};
    QTest::newRow("most negative third number")
        << QDate(2000, 1, 9) << Ints {12, 3, -6, 6} << Ints {3, 2, 2, 1, 0, 0, 2, 0, 0, 1}
        << Ints {5, 2, 1, 2, 2, 4, 3, 1};
}

void tst_PMatrix::matrix()
{
    QFETCH(QDate, date);
    QFETCH(Ints, working);
    QFETCH(Ints, counts);
    QFETCH(Ints, lines);

    const CNumerologyPMatrix::Working w = CNumerologyPMatrix::workingNumbers(date);
    QCOMPARE(Ints(std::begin(w.numbers), std::end(w.numbers)), working);

    CNumerologyPMatrix matrix;
    QVERIFY(matrix.calculate(QStringLiteral("ANN"), date, nullptr, 0));
    QCOMPARE(Ints(std::begin(matrix.digitCount), std::end(matrix.digitCount)), counts);
    QCOMPARE(Ints(std::begin(matrix.lineValue), std::end(matrix.lineValue)), lines);
}

void tst_PMatrix::resetKeepsDocument()
{
    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), nullptr, 0);
    const QString document = matrix.reportHtml;
    matrix.resetData();
    for (int c : matrix.digitCount)
        QCOMPARE(c, 0);
    for (int l : matrix.lineValue)
        QCOMPARE(l, 0);
    QCOMPARE(matrix.reportHtml, document);
}

void tst_PMatrix::textIndex_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("index");
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("5") << 5 << 6;
    QTest::newRow("6") << 6 << 7;
    QTest::newRow("9") << 9 << 7;
    QTest::newRow("11") << 11 << 7;
}

void tst_PMatrix::textIndex()
{
    QFETCH(int, value);
    QFETCH(int, index);
    QCOMPARE(CNumerologyPMatrix::textIndex(value), index);
}

void tst_PMatrix::fixedReading()
{
    CNumerologyPMatrix matrix;
    matrix.preloadRes(QStringLiteral("/res/"));
    matrix.calculate(QStringLiteral("Ann Lee"), QDate(1987, 3, 15), nullptr, 0);
    const QString &html = matrix.reportHtml;

    QVERIFY(html.contains(QLatin1String("<title>Lumaro Numerology Report</title>")));
    QVERIFY(html.contains(QLatin1String("Numerology Psychomatrix Chart for</font></h2>")));
    QVERIFY(html.contains(QLatin1String("Ann Lee, Mar 15 1987</font></h2>")));
    // The count listing lists every cell and line in id order.
    QVERIFY(html.contains(QLatin1String(">Character (1) - 2<br />\r\nEnergy (2) - 1<br />\r\n")));
    QVERIFY(html.contains(QLatin1String("Sexual life (3-5-7) - 7<br />\r\n</p>")));

    // Character: two chapters, the general text and the text of count 2.
    QVERIFY(html.contains(QLatin1String("res16.jpg\" style=\"margin-left: 15px;\" align=\"right\" "
                                        "/><font style=\" color:#000000;\">Character (1) - 2<")));
    const int general = html.indexOf(QLatin1String(">pm1-general</p>"));
    const int specific = html.indexOf(QLatin1String(">pm1-entry3</p>"));
    QVERIFY(general > 0 && specific > general);
    QVERIFY(html.mid(general, specific - general).contains(QLatin1String("</table>")));
    // Labour has count 0 and reads entry 1.
    QVERIFY(html.contains(QLatin1String("pm6-entry1")));
    // Lines are joined into one paragraph.
    QVERIFY(html.contains(QLatin1String("sexual-general</p><br /><br /><p comment=\"st_fs\"   "
                                        ">sexual-entry7</p>")));
    // Every one of the seventeen pictures is requested.
    for (int i = 16; i <= 32; ++i)
        QVERIFY2(html.contains(QStringLiteral("file:////res/res%1.jpg").arg(i)),
                 qPrintable(QString::number(i)));
    QVERIFY(html.endsWith(QLatin1String("</body></html>\r\n")));
}

void tst_PMatrix::luckSplitKeepsEmptyParts()
{
    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), nullptr, 0);
    const QString &html = matrix.reportHtml;
    // Four parts, the third one empty, each in a chapter of its own; the
    // empty part writes no paragraph but still opens and closes its chapter.
    const QString chapter
        = QStringLiteral("<table class=maindoc border=\"0\" width=100%><tr><td>\r\n");
    const QString end = QStringLiteral("</td></tr></table>\r\n");
    QVERIFY(html.contains(QLatin1String(">luck-first</p>\r\n") + end + chapter
                          + QLatin1String("<p comment=\"st_fs\"   >luck-second</p>\r\n") + end
                          + chapter + end + chapter
                          + QLatin1String("<p comment=\"st_fs\"   >luck-fourth</p></p>\r\n") + end
                          + chapter + QLatin1String("<p comment=\"st_fs\"   >")
                          + QLatin1String("<p comment=\"st_fs\"   >pm7-entry3</p></p>\r\n")));
}

void tst_PMatrix::largeValuesReadEntrySeven()
{
    // Nine 1s and a 1-4-7 line of 11 both read the text for 6 and more.
    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("ANN"), QDate(1911, 11, 11), nullptr, 0);
    QVERIFY(matrix.reportHtml.contains(QLatin1String("Character (1) - 9")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("pm1-entry7")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("purposeful-entry7")));

    QList<reportSetting> layouts {layout(RKPsychoMatrix, {1, 10}, false)};
    matrix.calculate(QStringLiteral("ANN"), QDate(1911, 11, 11), &layouts, 1);
    QVERIFY(matrix.reportHtml.contains(QLatin1String("pm1-entry7")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("My title 10 11")));
    // A custom text at entry 7 takes the place of the built-in one.
    layouts[0].items[RKPsychoMatrix][0].useStdText[7] = false;
    layouts[0].items[RKPsychoMatrix][0].texts[7] = customHtml(QStringLiteral("nine of them"));
    matrix.calculate(QStringLiteral("ANN"), QDate(1911, 11, 11), &layouts, 1);
    QVERIFY(!matrix.reportHtml.contains(QLatin1String("pm1-entry7")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("nine of them")));
}

void tst_PMatrix::layoutChoice_data()
{
    QTest::addColumn<int>("layoutNo");
    QTest::addColumn<QString>("title");
    QTest::newRow("default") << 0 << "Lumaro Numerology Report";
    QTest::newRow("negative") << -1 << "Lumaro Numerology Report";
    QTest::newRow("beyond the list") << 3 << "Lumaro Numerology Report";
    QTest::newRow("first") << 1 << "Numerology Report";
    QTest::newRow("last") << 2 << "Numerology Report";
}

void tst_PMatrix::layoutChoice()
{
    QFETCH(int, layoutNo);
    QFETCH(QString, title);
    QList<reportSetting> layouts {layout(RKPsychoMatrix, {}), layout(RKPsychoMatrix, {1})};
    CNumerologyPMatrix matrix;
    QVERIFY(matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), &layouts, layoutNo));
    QVERIFY(
        matrix.reportHtml.contains(QLatin1String("<title>") + title + QLatin1String("</title>")));
    if (layoutNo == 1)
        QCOMPARE(matrix.reportHtml, emptyDocument(title));
    if (layoutNo == 2)
        QVERIFY(matrix.reportHtml.contains(QLatin1String("Character (1) 2")));
}

void tst_PMatrix::countListingFollowsIdOrder()
{
    // Talent before Energy in the layout, Energy first in the listing; the
    // repeated Talent is listed once.
    QList<reportSetting> layouts {layout(RKPsychoMatrix, {15, 0, 2, 15})};
    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), &layouts, 1);
    const QString &html = matrix.reportHtml;
    QVERIFY(
        html.contains(QLatin1String(">Energy (2) - 1<br />\r\nTalent (7-8-9) - 4<br />\r\n</p>")));
    QVERIFY(!html.contains(QLatin1String("Character (1) - ")));
    // The sections follow the layout's order.
    QVERIFY(html.indexOf(QLatin1String("Talent (7-8-9) 4"))
            < html.indexOf(QLatin1String("Energy (2) 1")));
}

void tst_PMatrix::layoutSections_data()
{
    QTest::addColumn<Ints>("types");
    QTest::addColumn<QString>("present");
    QTest::addColumn<int>("times");

    QTest::newRow("empty list") << Ints {} << QString() << 0;
    QTest::newRow("unknown types write nothing") << Ints {19, 99} << QString() << 0;
    QTest::newRow("repeated type twice") << Ints {1, 1} << "Character (1) 2" << 2;
    QTest::newRow("unknown between known") << Ints {1, 42, 1} << "Character (1) 2" << 2;
    QTest::newRow("line section") << Ints {10} << "Purposeful (1-4-7) 5" << 1;
}

void tst_PMatrix::layoutSections()
{
    QFETCH(Ints, types);
    QFETCH(QString, present);
    QFETCH(int, times);

    QList<reportSetting> layouts {layout(RKPsychoMatrix, types)};
    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), &layouts, 1);
    if (present.isEmpty()) {
        QCOMPARE(matrix.reportHtml, emptyDocument(QStringLiteral("Numerology Report")));
        return;
    }
    QCOMPARE(occurrences(matrix.reportHtml, present), times);
    // The built-in texts, general and for the value, follow the heading.
    if (types.first() == 1)
        QCOMPARE(occurrences(matrix.reportHtml, QLatin1String("pm1-entry3")), times);
}

void tst_PMatrix::layoutPictures_data()
{
    QTest::addColumn<QString>("hideAll");
    QTest::addColumn<bool>("defaultStyle");
    QTest::addColumn<QString>("hideImage");
    QTest::addColumn<bool>("shown");

    QTest::newRow("shown") << QString() << true << QString() << true;
    QTest::newRow("layout hides") << "TRUE" << true << QString() << false;
    QTest::newRow("lower-case flag hides nothing") << "true" << true << QString() << true;
    QTest::newRow("FALSE hides nothing") << "FALSE" << false << QString() << true;
    QTest::newRow("default look ignores hide-image") << QString() << true << "TRUE" << true;
    QTest::newRow("own style hides") << QString() << false << "TRUE" << false;
}

void tst_PMatrix::layoutPictures()
{
    QFETCH(QString, hideAll);
    QFETCH(bool, defaultStyle);
    QFETCH(QString, hideImage);
    QFETCH(bool, shown);

    reportSetting setting = layout(RKPsychoMatrix, {2}, defaultStyle);
    if (!hideAll.isNull())
        setting.flags.insert(QStringLiteral("RTPsychoMatrix-hide-images"), hideAll);
    if (!hideImage.isNull())
        setting.items[RKPsychoMatrix][0].options.insert(QStringLiteral("hide-image"), hideImage);
    QList<reportSetting> layouts {setting};
    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), &layouts, 1);
    QCOMPARE(matrix.reportHtml.contains(QLatin1String("res17.jpg")), shown);
}

void tst_PMatrix::layoutHeader()
{
    QList<reportSetting> layouts {layout(RKPsychoMatrix, {0}), layout(RKPsychoMatrix, {0, 1}),
                                  layout(RKPsychoMatrix, {0, 1}, false)};
    layouts[2].items[RKPsychoMatrix][0].headerColor = QColor(0x12, 0x34, 0x56);
    layouts[2].items[RKPsychoMatrix][0].contentColor = QColor(0xab, 0xcd, 0xef);

    // Two chapters open, the inner one closed after the first heading; a
    // layout without cell sections lists no counts.
    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("Ann"), QDate(1987, 3, 15), &layouts, 1);
    QVERIFY(matrix.reportHtml.contains(
        QLatin1String("<font style=\" color:#000000;\">Numerology Psychomatrix Chart for</font>")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("Ann, Mar 15 1987")));
    QVERIFY(!matrix.reportHtml.contains(QLatin1String(" - ")));
    QCOMPARE(occurrences(matrix.reportHtml, QLatin1String("<table")), 2);
    QCOMPARE(occurrences(matrix.reportHtml, QLatin1String("</table>")), 2);

    matrix.calculate(QStringLiteral("Ann"), QDate(1987, 3, 15), &layouts, 2);
    QVERIFY(matrix.reportHtml.contains(QLatin1String("Character (1) - 2<br />")));

    matrix.calculate(QStringLiteral("Ann"), QDate(1987, 3, 15), &layouts, 3);
    QVERIFY(matrix.reportHtml.contains(QLatin1String("color:#123456;\">My title 0</font>")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("color:#abcdef;\">Ann, Mar 15 1987</font>")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("color:#abcdef;\">Character (1) - 2<br />")));
    QVERIFY(!matrix.reportHtml.contains(QLatin1String("Psychomatrix Chart")));
}

void tst_PMatrix::layoutCustomText()
{
    QList<reportSetting> layouts {layout(RKPsychoMatrix, {18}),
                                  layout(RKPsychoMatrix, {18}, false)};
    repItem &own = layouts[1].items[RKPsychoMatrix][0];
    own.useStdText[0] = false;
    own.texts[0] = customHtml(QStringLiteral("my own words"));

    CNumerologyPMatrix matrix;
    matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), &layouts, 1);
    QVERIFY(matrix.reportHtml.contains(QLatin1String("color:#000000;\">Custom Text </font>")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("Your custom text here")));
    QVERIFY(!matrix.reportHtml.contains(QLatin1String("img")));

    matrix.calculate(QStringLiteral("ANN"), QDate(1987, 3, 15), &layouts, 2);
    QVERIFY(matrix.reportHtml.contains(QLatin1String("My title 18 </font>")));
    QVERIFY(matrix.reportHtml.contains(QLatin1String("my own words")));
    QVERIFY(!matrix.reportHtml.contains(QLatin1String("Your custom text here")));
}

QTEST_GUILESS_MAIN(tst_PMatrix)
#include "tst_pmatrix.moc"
