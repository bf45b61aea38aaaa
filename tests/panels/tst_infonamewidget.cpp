#include "panelfixture.h"

#include "engine/globsettings.h"
#include "style/appstyle.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace PanelTest;

// The name panel: which cells carry the master marks, where a pointer lands
// on the grid, and the marker and clicks of an editable panel.
class TestInfoNameWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void cells_data();
    void cells();
    void cellsNeverReadPastTheLetterRow_data();
    void cellsNeverReadPastTheLetterRow();
    void hitTest_data();
    void hitTest();
    void pressEmitsSymbol_data();
    void pressEmitsSymbol();
    void markerFollowsPointer();
    void paintedMarks_data();
    void paintedMarks();
    void oneNamePanelHasNoSeparator();

private:
    std::unique_ptr<CInfoNameWidget> makePanel(const QStringList &labels);

    std::unique_ptr<CAppStyle> m_style;
};

namespace {

// VIKTOR by the Pythagorean values: vowels I and O above, the consonants
// below with V as 22 and K as 11 written as their digits.
const QStringList kViktor
    = {QStringLiteral(" 9  6 "), QStringLiteral("VIKTOR"), QStringLiteral("4 22 9"),
       QStringLiteral("  5"),    QStringLiteral("KAV"),    QStringLiteral("2 4")};

// Two names: "JOHN MICHAEL SMITH" (18 positions) and "JOHN SMITH" (10).
const QStringList kJohn
    = {QStringLiteral(" 6    9  15    9  "), QStringLiteral("JOHN MICHAEL SMITH"),
       QStringLiteral("1 85 4 38  3 14 28"), QStringLiteral(" 6     9  "),
       QStringLiteral("JOHN SMITH"),         QStringLiteral("1 85 14 28")};

} // namespace

void TestInfoNameWidget::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(skinFolder());
}

void TestInfoNameWidget::cleanup()
{
    resetGlobSettings();
}

std::unique_ptr<CInfoNameWidget> TestInfoNameWidget::makePanel(const QStringList &labels)
{
    auto panel = std::make_unique<CInfoNameWidget>(m_style.get(), solidHeader(600, 30));
    panel->m_Labels = labels;
    for (int i = 0; i < labels.size(); ++i)
        panel->m_Values << QStringLiteral("7");
    return panel;
}

void TestInfoNameWidget::cells_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("mark");
    QTest::addColumn<bool>("reduce");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("master");
    QTest::addColumn<bool>("stacked");

    QTest::newRow("V letter, masters kept")
        << kViktor << 1 << 0 << true << false << "V" << true << false;
    QTest::newRow("V digit stacked")
        << kViktor << 2 << 0 << true << false << "2\n2" << true << true;
    QTest::newRow("K digit stacked")
        << kViktor << 2 << 2 << true << false << "1\n1" << true << true;
    QTest::newRow("blank over K coloured, not stacked")
        << kViktor << 0 << 2 << true << false << " " << true << false;
    QTest::newRow("I digit plain") << kViktor << 0 << 1 << true << false << "9" << false << false;
    QTest::newRow("V digit, masters reduced")
        << kViktor << 2 << 0 << true << true << "4" << true << false;
    QTest::newRow("K letter, masters reduced")
        << kViktor << 1 << 2 << true << true << "K" << true << false;
    QTest::newRow("Chaldean: V not marked")
        << kViktor << 2 << 0 << false << false << "4" << false << false;
    QTest::newRow("Chaldean: K letter not marked")
        << kViktor << 1 << 2 << false << false << "K" << false << false;
    QTest::newRow("second name uses its own letter row")
        << kViktor << 5 << 2 << true << false << "2\n2" << true << true;
    QTest::newRow("second name: A is no master")
        << kViktor << 5 << 1 << true << false << " " << false << false;
    QTest::newRow("lower-case letters count")
        << QStringList {"2", "v", "4"} << 2 << 0 << true << false << "2\n2" << true << true;
}

void TestInfoNameWidget::cells()
{
    QFETCH(QStringList, labels);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, mark);
    QFETCH(bool, reduce);
    QFETCH(QString, text);
    QFETCH(bool, master);
    QFETCH(bool, stacked);

    const QVector<CInfoNameWidget::Cell> cells
        = CInfoNameWidget::rowCells(labels, row, mark, reduce);
    QCOMPARE(cells.size(), labels.at(row).size());
    QCOMPARE(cells.at(column).text, text);
    QCOMPARE(cells.at(column).master, master);
    QCOMPARE(cells.at(column).stacked, stacked);
}

void TestInfoNameWidget::cellsNeverReadPastTheLetterRow_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("cells");

    QTest::newRow("digit row longer than its name")
        << QStringList {"12345678", "KV", "9"} << 0 << 8;
    QTest::newRow("second name without a letter row")
        << QStringList {"1", "K", "2", "33"} << 3 << 2;
    QTest::newRow("row past the list") << QStringList {"1", "K", "2"} << 4 << 0;
    QTest::newRow("negative row") << QStringList {"1", "K", "2"} << -1 << 0;
    QTest::newRow("letter beyond Latin-1")
        << QStringList {"1", QString(QChar(0x041A)), "2"} << 2 << 1;
}

void TestInfoNameWidget::cellsNeverReadPastTheLetterRow()
{
    QFETCH(QStringList, labels);
    QFETCH(int, row);
    QFETCH(int, cells);

    const QVector<CInfoNameWidget::Cell> result
        = CInfoNameWidget::rowCells(labels, row, true, false);
    QCOMPARE(result.size(), cells);
    // Positions without a Latin letter above them are never marked.
    for (int j = 0; j < result.size(); ++j) {
        const QString letters = labels.value(row <= 2 ? 1 : 4);
        const bool hasKV = j < letters.size()
            && (letters.at(j) == QLatin1Char('K') || letters.at(j) == QLatin1Char('V'));
        QCOMPARE(result.at(j).master, hasKV);
    }
    // And painting such a panel is safe.
    auto panel = makePanel(labels);
    QVERIFY(!panel->grab().isNull());
}

void TestInfoNameWidget::hitTest_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");

    // Header 30 pixels high.
    QTest::newRow("first letter") << kJohn << QPoint(3, 50) << true << 0 << 0;
    QTest::newRow("space between words") << kJohn << QPoint(3 + 9 * 4 + 4, 50) << true << 0 << 4;
    QTest::newRow("last letter of the full name")
        << kJohn << QPoint(3 + 9 * 17, 50) << true << 0 << 17;
    QTest::newRow("right of the full name") << kJohn << QPoint(3 + 9 * 18, 50) << false << -1 << -1;
    QTest::newRow("in the header") << kJohn << QPoint(30, 5) << true << 0 << 3;
    QTest::newRow("top of the widget") << kJohn << QPoint(30, 0) << true << 0 << 3;
    QTest::newRow("last pixel of line 0") << kJohn << QPoint(30, 30 + 52) << true << 0 << 3;
    QTest::newRow("first pixel of line 1") << kJohn << QPoint(30, 30 + 53) << true << 1 << 3;
    QTest::newRow("bottom of line 1") << kJohn << QPoint(30, 30 + 103) << true << 1 << 3;
    QTest::newRow("below line 1") << kJohn << QPoint(30, 30 + 104) << false << -1 << -1;
    QTest::newRow("right of the short name")
        << kJohn << QPoint(3 + 9 * 10, 100) << false << -1 << -1;
    QTest::newRow("short name, full name there")
        << kJohn << QPoint(3 + 9 * 10, 50) << true << 0 << 10;
    QTest::newRow("one name, second line")
        << QStringList(kViktor.mid(0, 3)) << QPoint(5, 100) << false << -1 << -1;
    QTest::newRow("no rows") << QStringList() << QPoint(5, 50) << false << -1 << -1;
}

void TestInfoNameWidget::hitTest()
{
    QFETCH(QStringList, labels);
    QFETCH(QPoint, pos);
    QFETCH(bool, accepted);
    QFETCH(int, line);
    QFETCH(int, column);

    const CInfoNameWidget::Hit hit = CInfoNameWidget::hitTest(pos, 30, labels);
    QCOMPARE(hit.accepted, accepted);
    if (accepted) {
        QCOMPARE(hit.line, line);
        QCOMPARE(hit.column, column);
    }
}

void TestInfoNameWidget::pressEmitsSymbol_data()
{
    QTest::addColumn<bool>("editable");
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QList<int>>("signal");

    QTest::newRow("space of the full name")
        << true << int(Qt::LeftButton) << QPoint(3 + 9 * 4, 50) << QList<int> {0, 4};
    QTest::newRow("letter of the short name")
        << true << int(Qt::LeftButton) << QPoint(3 + 9 * 6, 100) << QList<int> {1, 6};
    QTest::newRow("right button") << true << int(Qt::RightButton) << QPoint(3, 50) << QList<int> {};
    QTest::newRow("not editable") << false << int(Qt::LeftButton) << QPoint(3, 50) << QList<int> {};
    QTest::newRow("past the name")
        << true << int(Qt::LeftButton) << QPoint(3 + 9 * 12, 100) << QList<int> {};
}

void TestInfoNameWidget::pressEmitsSymbol()
{
    QFETCH(bool, editable);
    QFETCH(int, button);
    QFETCH(QPoint, pos);
    QFETCH(QList<int>, signal);

    auto panel = makePanel(kJohn);
    panel->m_Editable = editable;
    QSignalSpy spy(panel.get(), &CInfoNameWidget::symbolCliked);
    pressAt(panel.get(), pos, Qt::MouseButton(button));
    if (signal.isEmpty()) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), signal.at(0));
        QCOMPARE(spy.at(0).at(1).toInt(), signal.at(1));
    }
}

void TestInfoNameWidget::markerFollowsPointer()
{
    auto panel = makePanel(kJohn);
    moveTo(panel.get(), QPoint(3 + 9 * 2, 50));
    QVERIFY2(panel->m_ColumnMarker->isHidden(), "a panel that cannot be edited shows no marker");

    panel->m_Editable = true;
    moveTo(panel.get(), QPoint(3 + 9 * 2, 50));
    QVERIFY(!panel->m_ColumnMarker->isHidden());
    QCOMPARE(panel->m_ColumnMarker->pos(), QPoint(21, 32));
    QCOMPARE(panel->m_ColumnMarker->size(), QSize(9, 47));

    moveTo(panel.get(), QPoint(3 + 9 * 5, 100));
    QCOMPARE(panel->m_ColumnMarker->pos(), QPoint(48, 83));

    moveTo(panel.get(), QPoint(3 + 9 * 11, 100));
    QVERIFY2(panel->m_ColumnMarker->isHidden(), "right of the short name");

    moveTo(panel.get(), QPoint(3, 50));
    QVERIFY(!panel->m_ColumnMarker->isHidden());
    leave(panel.get());
    QVERIFY(panel->m_ColumnMarker->isHidden());
}

void TestInfoNameWidget::paintedMarks_data()
{
    QTest::addColumn<bool>("mark");
    QTest::addColumn<int>("reduce");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("stackedInk");

    QTest::newRow("masters kept") << true << 0 << true << true;
    QTest::newRow("masters reduced") << true << 1 << true << false;
    QTest::newRow("Chaldean") << false << 0 << false << false;
}

void TestInfoNameWidget::paintedMarks()
{
    QFETCH(bool, mark);
    QFETCH(int, reduce);
    QFETCH(bool, red);
    QFETCH(bool, stackedInk);

    m_GlobSettings[GSReduceMasterLetters] = static_cast<unsigned char>(reduce);
    auto panel = makePanel(kViktor.mid(0, 3));
    panel->m_MarkMasterLetters = mark;
    const QImage shot = panel->grab().toImage();
    // The letter V in the letter row (row 1) and its digit cell (row 2).
    const QRect letterCell(4, 30 + 3 + 16, 9, 16);
    const QRect digitCell(4, 30 + 3 + 32, 9, 16);
    QCOMPARE(reddishPixels(shot, letterCell) > 2, red);
    QCOMPARE(reddishPixels(shot, digitCell) > 2, red);
    // I is never marked.
    QCOMPARE(reddishPixels(shot, QRect(13, 30 + 3 + 16, 9, 16)), 0);
    // Two stacked figures fill more of the row than a single 12-pixel one.
    const QRect ink = inkBox(shot, QRect(4, 30 + 3 + 32, 9, 16), InfoPanel::backgroundColor());
    const QRect single
        = inkBox(shot, QRect(4 + 9 * 5, 30 + 3 + 32, 9, 16), InfoPanel::backgroundColor());
    QCOMPARE(ink.height() > single.height() + 3, stackedInk);
}

void TestInfoNameWidget::oneNamePanelHasNoSeparator()
{
    auto two = makePanel(kJohn);
    auto one = makePanel(kJohn.mid(0, 3));
    two->resize(600, 140);
    one->resize(600, 140);
    const int separatorY = 30 + 3 + 16 * 3;
    const QColor separator = InfoPanel::outerFrameColor();
    QVERIFY(near(two->grab().toImage().pixelColor(580, separatorY), separator));
    QVERIFY(!near(one->grab().toImage().pixelColor(580, separatorY), separator));
}

QTEST_MAIN(TestInfoNameWidget)
#include "tst_infonamewidget.moc"
