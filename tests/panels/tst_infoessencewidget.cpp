#include "panelfixture.h"

#include "style/appstyle.h"
#include "testenvironment.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace PanelTest;

namespace {

// Counts its paints, to see that new data reaches the screen.
class CountingEssence : public CInfoEssenceWidget
{
public:
    using CInfoEssenceWidget::CInfoEssenceWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        CInfoEssenceWidget::paintEvent(event);
    }
};

} // namespace

// The essence and transits strip: the texts of each age column, the three
// age windows and the repaint after new numbers.
class TestInfoEssenceWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void column_data();
    void column();
    void ageButtonCyclesWindows();
    void stripShowsLettersOnlyWhenKnown_data();
    void stripShowsLettersOnlyWhenKnown();
    void updateDataRepaints();

private:
    std::unique_ptr<CAppStyle> m_style;
};

void TestInfoEssenceWidget::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(skinFolder());
}

void TestInfoEssenceWidget::column_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("birthYear");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("sum");
    QTest::addColumn<QString>("reduced");

    const QStringList known = {QStringLiteral("AAB"), QStringLiteral("JJ"), QStringLiteral("S")};
    QTest::newRow("born 1987, age 0") << 0 << 1987 << known << "87"
                                      << "101"
                                      << "2";
    QTest::newRow("born 1987, age 12") << 12 << 1987 << known << "99"
                                       << "113"
                                       << "5";
    QTest::newRow("born 1987, age 13: no leading zero") << 13 << 1987 << known << "0"
                                                        << "114"
                                                        << "6";
    QTest::newRow("last age") << 100 << 1987 << known << "87"
                              << "201"
                              << "3";
    QTest::newRow("nothing calculated") << 5 << 0 << QStringList() << "5" << QString() << QString();
    QTest::newRow("after a reset") << 5 << 0 << blanks(7) << "5" << QString() << QString();
    QTest::newRow("year before 1 AD") << 0 << -5 << known << "95"
                                      << "101"
                                      << "2";
}

void TestInfoEssenceWidget::column()
{
    QFETCH(int, age);
    QFETCH(int, birthYear);
    QFETCH(QStringList, labels);
    QFETCH(QString, year);
    QFETCH(QString, sum);
    QFETCH(QString, reduced);

    int sums[128];
    int reducedNumbers[128];
    for (int i = 0; i < 128; ++i) {
        sums[i] = 101 + i;
        reducedNumbers[i] = CNumerology::downToDigit(101 + i);
    }
    const CInfoEssenceWidget::Column c
        = CInfoEssenceWidget::column(age, birthYear, labels, sums, reducedNumbers);
    QCOMPARE(c.age, QString::number(age));
    QCOMPARE(c.year, year);
    QCOMPARE(c.sum, sum);
    QCOMPARE(c.reduced, reduced);
}

void TestInfoEssenceWidget::ageButtonCyclesWindows()
{
    CInfoEssenceWidget panel(m_style.get(), solidHeader(600, 30));
    panel.m_Labels = blanks(7);
    panel.updateData();
    QCOMPARE(panel.m_AgeButton->text(), QStringLiteral("< Age >"));
    QCOMPARE(panel.m_AgeButton->geometry(), QRect(528, 0, 64, 30));

    const QImage first = panel.grab().toImage();
    const int offsets[] = {-508, -1020, 4};
    for (int press = 0; press < 3; ++press) {
        panel.m_AgeButton->click();
        QCOMPARE(panel.m_AgePage, (press + 1) % 3);
        QCOMPARE(CInfoEssenceWidget::stripOffset(panel.m_AgePage), offsets[press]);
        const QImage shot = panel.grab().toImage();
        QCOMPARE(shot == first, press == 2);
    }
}

void TestInfoEssenceWidget::stripShowsLettersOnlyWhenKnown_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("lettersUpTo");

    QTest::newRow("after a reset") << blanks(7) << 0;
    QTest::newRow("short transit strings")
        << QStringList {"AAAB", "JJ", "SSS", "", "", "", ""} << 4;
    QTest::newRow("second string without the first")
        << QStringList {"", "JJJJJJ", "", "", "", "", ""} << 0;
}

void TestInfoEssenceWidget::stripShowsLettersOnlyWhenKnown()
{
    QFETCH(QStringList, labels);
    QFETCH(int, lettersUpTo);

    CInfoEssenceWidget panel(m_style.get(), solidHeader(600, 30));
    panel.m_Labels = labels;
    panel.m_BirthYear = 1985;
    panel.updateData();
    const QImage strip = panel.m_Strip.toImage();
    const QColor background = InfoPanel::backgroundColor();
    const QColor shade(78, 64, 55);
    // The letter rows lie between the two lines at y 35 and 83; even
    // columns are unshaded, odd ones shaded.
    for (int j = 0; j < 12; ++j) {
        const QColor base = j % 2 ? shade : background;
        const bool ink = !inkBox(strip, QRect(16 * j + 1, 37, 14, 44), base, 6).isNull();
        QCOMPARE(ink, j < lettersUpTo);
    }
    // Ages and years are there in every case.
    QVERIFY(!inkBox(strip, QRect(0, 3, 16, 32), background, 6).isNull());
}

void TestInfoEssenceWidget::updateDataRepaints()
{
    CountingEssence panel(m_style.get(), solidHeader(600, 30));
    panel.m_Labels = blanks(7);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel, TestEnvironment::WaitMs));
    QTest::qWait(20);
    panel.paints = 0;
    panel.m_Labels[0] = QStringLiteral("AAAA");
    panel.updateData();
    QTRY_VERIFY_WITH_TIMEOUT(panel.paints > 0, TestEnvironment::WaitMs);
}

QTEST_MAIN(TestInfoEssenceWidget)
#include "tst_infoessencewidget.moc"
