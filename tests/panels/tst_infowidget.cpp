#include "panelfixture.h"

#include "style/appstyle.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace PanelTest;

// The result panel base: the master-number markup, which row a press
// selects, the hover highlight and what a paint leaves on the table.
class TestInfoWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void markup_data();
    void markup();
    void clickedRow_data();
    void clickedRow();
    void pressEmitsRow_data();
    void pressEmitsRow();
    void hoverFollowsPointer_data();
    void hoverFollowsPointer();
    void mismatchedListsPaintNoText_data();
    void mismatchedListsPaintNoText();
    void masterPairColour_data();
    void masterPairColour();
    void longValueUsesSmallerFont();
    void headerCoversFrameTop();

private:
    std::unique_ptr<CInfoWidget> makePanel(int rows);

    std::unique_ptr<CAppStyle> m_style;
    const QColor m_header = QColor(10, 200, 30);
};

void TestInfoWidget::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(skinFolder());
    m_style->setGlobalStyle(0);
}

std::unique_ptr<CInfoWidget> TestInfoWidget::makePanel(int rows)
{
    auto panel = std::make_unique<CInfoWidget>(m_style.get(), solidHeader(200, 30, m_header));
    panel->resize(200, 30 + InfoPanel::tableHeight(rows));
    for (int i = 0; i < rows; ++i) {
        panel->m_Labels << QStringLiteral("Row %1").arg(i);
        panel->m_Values << QString::number(i + 1);
    }
    return panel;
}

void TestInfoWidget::markup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("plain");
    QTest::addColumn<QString>("body");

    const QString m = QStringLiteral("<font color=\"#F06040\">%1</font>");
    QTest::newRow("pair alone") << "11" << false << m.arg("11");
    QTest::newRow("pair before slash") << "11/2" << false << m.arg("11") + "/2";
    QTest::newRow("pair in brackets") << "5 (22)" << false << "5 (" + m.arg("22") + ")";
    QTest::newRow("two pairs") << "11, 22" << false << m.arg("11") + ", " + m.arg("22");
    QTest::newRow("after a letter") << "x33" << false << "x" + m.arg("33");
    QTest::newRow("run of three") << "111" << false << "111";
    QTest::newRow("two pairs joined") << "2211" << false << "2211";
    QTest::newRow("unequal digits") << "12" << false << "12";
    QTest::newRow("single digit") << "3" << false << "3";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("plain keeps pair") << "5 (11)" << true << "5 (11)";
    QTest::newRow("markup is escaped")
        << "a<b>&\"11\"" << false << "a&lt;b&gt;&amp;&quot;" + m.arg("11") + "&quot;";
}

void TestInfoWidget::markup()
{
    QFETCH(QString, text);
    QFETCH(bool, plain);
    QFETCH(QString, body);
    QCOMPARE(fTextMarkup(text, plain), "<font color=\"#ece7e0\">" + body + "</font>");
}

void TestInfoWidget::clickedRow_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("rowLimit");
    QTest::addColumn<int>("row");

    // Header 30 pixels, width 200, six rows.
    QTest::newRow("just above the first row") << QPoint(50, 32) << 100 << -1;
    QTest::newRow("first pixel of row 0") << QPoint(50, 33) << 100 << 0;
    QTest::newRow("last pixel of row 0") << QPoint(50, 48) << 100 << 0;
    QTest::newRow("first pixel of row 1") << QPoint(50, 49) << 100 << 1;
    QTest::newRow("last row") << QPoint(50, 33 + 16 * 5) << 100 << 5;
    QTest::newRow("below the last row") << QPoint(50, 33 + 16 * 6) << 100 << -1;
    QTest::newRow("on the header") << QPoint(50, 5) << 100 << -1;
    QTest::newRow("left edge") << QPoint(0, 40) << 100 << -1;
    QTest::newRow("first column") << QPoint(1, 40) << 100 << 0;
    QTest::newRow("last column") << QPoint(199, 40) << 100 << 0;
    QTest::newRow("right edge") << QPoint(200, 40) << 100 << -1;
    QTest::newRow("below the row limit") << QPoint(50, 33 + 16 * 3) << 4 << 3;
    QTest::newRow("at the row limit") << QPoint(50, 33 + 16 * 4) << 4 << -1;
    QTest::newRow("past the row limit") << QPoint(50, 33 + 16 * 5) << 4 << -1;
}

void TestInfoWidget::clickedRow()
{
    QFETCH(QPoint, pos);
    QFETCH(int, rowLimit);
    QFETCH(int, row);
    QCOMPARE(InfoPanel::clickedRow(pos, 30, 200, 6, rowLimit), row);
}

void TestInfoWidget::pressEmitsRow_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("rowLimit");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("row 0") << QPoint(20, 33) << int(Qt::LeftButton) << 100 << QList<int> {0};
    QTest::newRow("row 1 right button")
        << QPoint(20, 49) << int(Qt::RightButton) << 100 << QList<int> {1};
    QTest::newRow("above the rows")
        << QPoint(20, 32) << int(Qt::LeftButton) << 100 << QList<int> {};
    QTest::newRow("row past the end")
        << QPoint(20, 33 + 16 * 6) << int(Qt::LeftButton) << 100 << QList<int> {};
    QTest::newRow("row limit 4, row 4")
        << QPoint(20, 33 + 16 * 4) << int(Qt::LeftButton) << 4 << QList<int> {};
    QTest::newRow("row limit 4, row 3")
        << QPoint(20, 33 + 16 * 3) << int(Qt::LeftButton) << 4 << QList<int> {3};
}

void TestInfoWidget::pressEmitsRow()
{
    QFETCH(QPoint, pos);
    QFETCH(int, button);
    QFETCH(int, rowLimit);
    QFETCH(QList<int>, rows);

    auto panel = makePanel(6);
    panel->m_RowLimit = rowLimit;
    QSignalSpy spy(panel.get(), &CInfoWidget::itemCliked);
    pressAt(panel.get(), pos, Qt::MouseButton(button));
    QList<int> emitted;
    for (const QList<QVariant> &args : spy)
        emitted << args.at(0).toInt();
    QCOMPARE(emitted, rows);
}

void TestInfoWidget::hoverFollowsPointer_data()
{
    QTest::addColumn<bool>("hoverEnabled");
    QTest::addColumn<int>("rowLimit");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("highlighted");

    QTest::newRow("hover on") << true << 100 << 2 << true;
    QTest::newRow("hover off") << false << 100 << 2 << false;
    QTest::newRow("row at the limit") << true << 4 << 4 << false;
    QTest::newRow("row below the limit") << true << 4 << 3 << true;
}

void TestInfoWidget::hoverFollowsPointer()
{
    QFETCH(bool, hoverEnabled);
    QFETCH(int, rowLimit);
    QFETCH(int, row);
    QFETCH(bool, highlighted);

    auto panel = makePanel(6);
    panel->m_HoverEnabled = hoverEnabled;
    panel->m_RowLimit = rowLimit;
    const QColor hover = InfoPanel::hoverColor();
    const QColor background = InfoPanel::backgroundColor();
    const int top = InfoPanel::rowTop(30, row);
    // The right end of the row carries no text.
    const QPoint probe(190, top + 8);

    enter(panel.get(), QPoint(150, top + 4));
    moveTo(panel.get(), QPoint(150, top + 4));
    QImage shot = panel->grab().toImage();
    QCOMPARE(near(shot.pixelColor(probe), hover), highlighted);
    if (highlighted) {
        // Only the row under the pointer.
        QVERIFY(near(shot.pixelColor(190, top - 8), background));
        QVERIFY(near(shot.pixelColor(190, top + 24), background));
    }

    leave(panel.get());
    shot = panel->grab().toImage();
    QVERIFY(near(shot.pixelColor(probe), background));
}

void TestInfoWidget::mismatchedListsPaintNoText_data()
{
    QTest::addColumn<int>("labels");
    QTest::addColumn<int>("values");

    QTest::newRow("fewer values") << 3 << 2;
    QTest::newRow("more values") << 3 << 5;
    QTest::newRow("no values") << 4 << 0;
    QTest::newRow("nothing") << 0 << 0;
}

void TestInfoWidget::mismatchedListsPaintNoText()
{
    QFETCH(int, labels);
    QFETCH(int, values);

    auto panel = std::make_unique<CInfoWidget>(m_style.get(), solidHeader(200, 30, m_header));
    panel->resize(200, 200);
    for (int i = 0; i < labels; ++i)
        panel->m_Labels << QStringLiteral("Label");
    for (int i = 0; i < values; ++i)
        panel->m_Values << QStringLiteral("88");
    const QImage shot = panel->grab().toImage();

    const int tableH = InfoPanel::tableHeight(labels);
    // The table's interior is bare background, its bottom edge the frame.
    const QRect interior(2, 31, 196, tableH - 3);
    QVERIFY(inkBox(shot, interior, InfoPanel::backgroundColor(), 1).isNull());
    QVERIFY(near(shot.pixelColor(100, 29 + tableH), InfoPanel::outerFrameColor()));
    QVERIFY(!near(shot.pixelColor(100, 31 + tableH), InfoPanel::backgroundColor()));
}

void TestInfoWidget::masterPairColour_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("plain");
    QTest::addColumn<bool>("red");

    QTest::newRow("master pair") << "5 (11)" << false << true;
    QTest::newRow("plain panel") << "5 (11)" << true << false;
    QTest::newRow("run of three") << "111" << false << false;
}

void TestInfoWidget::masterPairColour()
{
    QFETCH(QString, value);
    QFETCH(bool, plain);
    QFETCH(bool, red);

    auto panel = makePanel(1);
    panel->m_Values[0] = value;
    panel->m_PlainText = plain;
    const QImage shot = panel->grab().toImage();
    QCOMPARE(reddishPixels(shot, QRect(100, 33, 100, 16)) > 3, red);
}

void TestInfoWidget::longValueUsesSmallerFont()
{
    auto panel = makePanel(2);
    panel->m_Values[0] = QStringLiteral("123456789012"); // 12 characters
    panel->m_Values[1] = QStringLiteral("1234567890123"); // 13 characters
    const QImage shot = panel->grab().toImage();
    const QColor background = InfoPanel::backgroundColor();
    const QRect shortInk = inkBox(shot, QRect(104, 33, 95, 16), background);
    const QRect longInk = inkBox(shot, QRect(104, 49, 95, 16), background);
    QVERIFY(!shortInk.isNull());
    QVERIFY(!longInk.isNull());
    QVERIFY2(longInk.height() < shortInk.height(), "smaller figures");
    QVERIFY2(longInk.top() - 16 > shortInk.top(), "drawn lower within the row");
}

void TestInfoWidget::headerCoversFrameTop()
{
    auto panel = makePanel(2);
    const QImage shot = panel->grab().toImage();
    QVERIFY(near(shot.pixelColor(100, 29), m_header));
    QVERIFY(near(shot.pixelColor(0, 40), InfoPanel::outerFrameColor()));
    QVERIFY(near(shot.pixelColor(1, 40), InfoPanel::innerFrameColor()));
}

QTEST_MAIN(TestInfoWidget)
#include "tst_infowidget.moc"
