#include "panelfixture.h"

#include "style/appstyle.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace PanelTest;

// The psycho-matrix panels: square texts, the grid under the pointer, the
// click signal and hover of the one-person panel.
class TestInfoMatrWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void squareText_data();
    void squareText();
    void pairText_data();
    void pairText();
    void gridPlacesEverySquare();
    void pressEmitsGridIndex_data();
    void pressEmitsGridIndex();
    void hoverHighlightsSquare_data();
    void hoverHighlightsSquare();
    void initialValues();

private:
    std::unique_ptr<CAppStyle> m_style;
};

void TestInfoMatrWidget::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(skinFolder());
}

void TestInfoMatrWidget::squareText_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");

    QTest::newRow("three ones") << "1" << 3 << "111";
    QTest::newRow("one five") << "5" << 1 << "5";
    QTest::newRow("no twos") << "2" << 0 << "-";
    QTest::newRow("negative count") << "2" << -4 << "-";
    QTest::newRow("line value") << "*" << 4 << "4";
    QTest::newRow("line value 0") << "*" << 0 << "-";
    QTest::newRow("negative line value") << "*" << -1 << "-";
    QTest::newRow("two-digit line value") << "*" << 12 << "12";
}

void TestInfoMatrWidget::squareText()
{
    QFETCH(QString, symbol);
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(PMatrixGrid::squareText(symbol, count), text);
}

void TestInfoMatrWidget::pairText_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("text");

    QTest::newRow("person only") << 1 << 0 << "1/-";
    QTest::newRow("partner only") << 0 << 2 << "-/2";
    QTest::newRow("neither") << 0 << 0 << "-/-";
    QTest::newRow("both") << 3 << 12 << "3/12";
    QTest::newRow("before the first reset") << 7 << 3 << "7/3";
}

void TestInfoMatrWidget::pairText()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QString, text);
    QCOMPARE(PMatrixGrid::pairText(a, b), text);
}

// Each square's position lies inside the band of its own grid cell, so the
// highlight, the click and the drawing agree.
void TestInfoMatrWidget::gridPlacesEverySquare()
{
    QSet<int> indexes;
    for (int i = 0; i < PMatrixGrid::EntryCount; ++i) {
        const PMatrixGrid::Square &s = PMatrixGrid::square(i);
        indexes.insert(PMatrixGrid::gridIndex(s));
        for (const QPoint corner :
             {PMatrixGrid::squarePosition(i), PMatrixGrid::pairSquarePosition(i)}) {
            int row = -1;
            int column = -1;
            const QPoint centre = corner + QPoint(PMatrixGrid::SquareWidth / 2, 30);
            QVERIFY2(PMatrixGrid::hitTest(centre, &row, &column), PMatrixGrid::square(i).caption);
            QCOMPARE(row, s.row);
            QCOMPARE(column, s.column);
        }
    }
    QCOMPARE(indexes.size(), PMatrixGrid::EntryCount);
    QCOMPARE(PMatrixGrid::caption(13, false), QStringLiteral("Finance"));
    QCOMPARE(PMatrixGrid::caption(13, true), QStringLiteral("Money"));
}

void TestInfoMatrWidget::pressEmitsGridIndex_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("hover");
    QTest::addColumn<int>("index");

    QTest::newRow("Character") << QPoint(130, 50) << true << 1;
    QTest::newRow("Sexual life") << QPoint(20, 250) << true << 15;
    QTest::newRow("Spirituality") << QPoint(589, 282) << true << 19;
    QTest::newRow("Stability") << QPoint(481, 164) << true << 14;
    QTest::newRow("column 0 outside row 3") << QPoint(20, 50) << true << -1;
    QTest::newRow("between columns") << QPoint(240, 50) << true << -1;
    QTest::newRow("between rows") << QPoint(130, 97) << true << -1;
    QTest::newRow("on the header") << QPoint(130, 10) << true << -1;
    QTest::newRow("right of the grid") << QPoint(595, 50) << true << -1;
    QTest::newRow("hover switched off") << QPoint(130, 50) << false << -1;
}

void TestInfoMatrWidget::pressEmitsGridIndex()
{
    QFETCH(QPoint, pos);
    QFETCH(bool, hover);
    QFETCH(int, index);

    CInfoMatrWidget panel(m_style.get(), solidHeader(600, 30));
    panel.m_HoverEnabled = hover;
    QSignalSpy spy(&panel, &CInfoMatrWidget::itemCliked);
    enter(&panel, pos);
    pressAt(&panel, pos, Qt::RightButton);
    if (index < 0) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), index);
    }

    // Once the pointer has left, a press emits nothing.
    leave(&panel);
    pressAt(&panel, pos);
    QCOMPARE(spy.count(), index < 0 ? 0 : 1);
}

void TestInfoMatrWidget::hoverHighlightsSquare_data()
{
    QTest::addColumn<bool>("hover");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("lit");

    QTest::newRow("hover on a square") << true << QPoint(200, 120) << true;
    QTest::newRow("hover off") << false << QPoint(200, 120) << false;
    QTest::newRow("between squares") << true << QPoint(240, 120) << false;
}

void TestInfoMatrWidget::hoverHighlightsSquare()
{
    QFETCH(bool, hover);
    QFETCH(QPoint, pos);
    QFETCH(bool, lit);

    CInfoMatrWidget panel(m_style.get(), solidHeader(600, 30));
    panel.m_HoverEnabled = hover;
    const QImage before = panel.grab().toImage();
    enter(&panel, pos);
    moveTo(&panel, pos);
    const QImage after = panel.grab().toImage();
    // A corner of the "Energy" square, clear of its texts.
    const QPoint probe(131, 103);
    QCOMPARE(before.pixelColor(probe) != after.pixelColor(probe), lit);
    leave(&panel);
    QCOMPARE(panel.grab().toImage().pixelColor(probe), before.pixelColor(probe));
}

void TestInfoMatrWidget::initialValues()
{
    CInfoMatrWidget one(m_style.get(), solidHeader(600, 30));
    CInfoCompMatrWidget pair(m_style.get(), solidHeader(600, 30));
    QCOMPARE(one.size(), QSize(600, 291));
    QCOMPARE(pair.size(), QSize(600, 291));
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(one.m_Counts[i], 7);
        QCOMPARE(pair.m_Counts[i], 7);
        QCOMPARE(pair.m_PartnerCounts[i], 3);
    }
    QCOMPARE(PMatrixGrid::squareText(QStringLiteral("1"), one.m_Counts[0]),
             QStringLiteral("1111111"));
}

QTEST_MAIN(TestInfoMatrWidget)
#include "tst_infomatrwidget.moc"
