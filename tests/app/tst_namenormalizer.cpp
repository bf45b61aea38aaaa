#include "app/namenormalizer.h"

#include <QtTest>

class TestNameNormalizer : public QObject
{
    Q_OBJECT

private slots:
    void unaccentText_data();
    void unaccentText();
    void personName_data();
    void personName();
    void otherNames();
    void shortNameByDefault_data();
    void shortNameByDefault();
};

void TestNameNormalizer::unaccentText_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain ascii keeps case") << "John SMITH 1985"
                                            << "John SMITH 1985";
    QTest::newRow("accents decompose")
        << QString::fromUtf8("José Zoë Ångström") << "Jose Zoe Angstrom";
    QTest::newRow("precomposed and combining agree")
        << QString::fromUtf8("e\u0301 \u00e9") << "e e";
    QTest::newRow("apostrophe vanishes, hyphen separates")
        << QString::fromUtf8("Zoë O'Neil-Ray") << "Zoe ONeil Ray";
    QTest::newRow("letter without decomposition") << QString::fromUtf8("Łukasz") << " ukasz";
    QTest::newRow("sharp s is no ascii letter") << QString::fromUtf8("Straße") << "Stra e";
    QTest::newRow("comma and punctuation") << "Anne,Marie!"
                                           << "Anne Marie ";
    QTest::newRow("tab keeps its place") << "a\tb"
                                         << "a b";
    QTest::newRow("spacing combining mark dropped") << QString::fromUtf8("a\u0903b") << "ab";
    QTest::newRow("enclosing mark becomes a space") << QString::fromUtf8("a\u20ddb") << "a b";
    QTest::newRow("surrogate pair gives two spaces") << QString::fromUtf8("a\U0001F600b") << "a  b";
    QTest::newRow("cyrillic") << QString::fromUtf8("Иван") << "    ";
    QTest::newRow("empty") << QString() << QString();
}

void TestNameNormalizer::unaccentText()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(unaccent(input), expected);
}

void TestNameNormalizer::personName_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("spaces collapse") << "  Anna   Maria  Lopez "
                                     << "Anna Maria Lopez";
    QTest::newRow("accented") << QString::fromUtf8("José") << "Jose";
    QTest::newRow("upper case stays") << "JOSE"
                                      << "JOSE";
    QTest::newRow("apostrophe") << "O'Brien"
                                << "OBrien";
    QTest::newRow("hyphen") << "Jean-Luc"
                            << "Jean Luc";
    QTest::newRow("comma separates") << "Anne,Marie"
                                     << "Anne Marie";
    QTest::newRow("punctuation only") << "--" << QString();
    QTest::newRow("cut before normalising")
        << QString(299, QLatin1Char('a')) + "bc" << QString(299, QLatin1Char('a')) + "b";
}

void TestNameNormalizer::personName()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(preparePersonName(input), expected);
}

void TestNameNormalizer::otherNames()
{
    // A title loses its commas before normalising, so the words join.
    QCOMPARE(prepareTitleName(QStringLiteral("Anne,Marie")), QStringLiteral("AnneMarie"));
    QCOMPARE(prepareTitleName(QStringLiteral("  Big - Cat ")), QStringLiteral("Big Cat"));
    // A pet's name keeps its spacing.
    QCOMPARE(preparePetName(QStringLiteral(" Rex  Jr.")), QStringLiteral(" Rex  Jr "));
    QCOMPARE(preparePetName(QString::fromUtf8("Zoë,")), QStringLiteral("Zoe "));
}

void TestNameNormalizer::shortNameByDefault_data()
{
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("expected");

    QTest::newRow("three words") << "Anna Maria Lopez"
                                 << "Anna Lopez";
    QTest::newRow("four words") << "John Paul George Ringo"
                                << "John Ringo";
    QTest::newRow("two words") << "Anna Lopez"
                               << "Anna Lopez";
    QTest::newRow("one word") << "Cher"
                              << "Cher";
    QTest::newRow("empty") << QString() << QString();
}

void TestNameNormalizer::shortNameByDefault()
{
    QFETCH(QString, full);
    QFETCH(QString, expected);
    QCOMPARE(defaultShortName(full), expected);
}

QTEST_GUILESS_MAIN(TestNameNormalizer)
#include "tst_namenormalizer.moc"
