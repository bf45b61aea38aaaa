#include "panelfixture.h"

#include "style/appstyle.h"

#include <QTest>

#include <memory>

using namespace PanelTest;

// The planes-of-expression table: which value lands in which head, cell and
// row title, also for lists shorter or longer than the table expects.
class TestInfoExprPlanWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void texts_data();
    void texts();
    void valuesAreNeverHighlighted();

private:
    std::unique_ptr<CAppStyle> m_style;
};

namespace {

const QStringList kLabels
    = {QString(), QStringLiteral("Creative"), QStringLiteral("Dual"), QStringLiteral("Grounded")};

QStringList numbered(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QStringLiteral("v%1").arg(i);
    return list;
}

} // namespace

void TestInfoExprPlanWidget::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(skinFolder());
}

void TestInfoExprPlanWidget::texts_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("heads");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("twenty values")
        << kLabels << numbered(20)
        << QStringList {"Mental v15", "Physical v16", "Emotional v17", "Intuitive v18"}
        << QStringList {"v0", "v1", "v2", "v3", "v5", "v6", "v7", "v8", "v10", "v11", "v12", "v13"}
        << QStringList {"Creative v4", "Dual v9", "Grounded v14"};
    QTest::newRow("after a reset")
        << kLabels << blanks(20) << QStringList {"Mental ", "Physical ", "Emotional ", "Intuitive "}
        << blanks(12) << QStringList {"Creative ", "Dual ", "Grounded "};
    QTest::newRow("short list reads as empty")
        << kLabels << numbered(6)
        << QStringList {"Mental ", "Physical ", "Emotional ", "Intuitive "}
        << QStringList {"v0", "v1", "v2", "v3", "v5", "", "", "", "", "", "", ""}
        << QStringList {"Creative v4", "Dual ", "Grounded "};
    QTest::newRow("no values") << kLabels << QStringList()
                               << QStringList {"Mental ", "Physical ", "Emotional ", "Intuitive "}
                               << blanks(12) << QStringList {"Creative ", "Dual ", "Grounded "};
    QTest::newRow("more titles than totals")
        << QStringList {"", "A", "B", "C", "D", "E"} << numbered(20)
        << QStringList {"Mental v15", "Physical v16", "Emotional v17", "Intuitive v18"}
        << QStringList {"v0", "v1", "v2", "v3", "v5", "v6", "v7", "v8", "v10", "v11", "v12", "v13"}
        << QStringList {"A v4", "B v9", "C v14", "D v19", "E "};
}

void TestInfoExprPlanWidget::texts()
{
    QFETCH(QStringList, labels);
    QFETCH(QStringList, values);
    QFETCH(QStringList, heads);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, titles);

    const CInfoExprPlanWidget::Texts t = CInfoExprPlanWidget::texts(labels, values);
    QCOMPARE(t.heads, heads);
    QCOMPARE(t.cells, cells);
    QCOMPARE(t.titles, titles);

    // Painting such lists is safe too.
    CInfoExprPlanWidget panel(m_style.get(), solidHeader(600, 30));
    panel.m_Labels = labels;
    panel.m_Values = values;
    QVERIFY(!panel.grab().isNull());
}

void TestInfoExprPlanWidget::valuesAreNeverHighlighted()
{
    CInfoExprPlanWidget panel(m_style.get(), solidHeader(600, 30));
    panel.m_Labels = kLabels;
    panel.m_Values = blanks(20);
    panel.m_Values[0] = QStringLiteral("11");
    panel.m_Values[4] = QStringLiteral("22");
    panel.m_Values[15] = QStringLiteral("33");
    const QImage shot = panel.grab().toImage();
    QCOMPARE(reddishPixels(shot, shot.rect()), 0);
    // The cell value is there, in the first column.
    QVERIFY(!inkBox(shot, QRect(121, 49, 120, 16), InfoPanel::backgroundColor()).isNull());
}

QTEST_MAIN(TestInfoExprPlanWidget)
#include "tst_infoexprplanwidget.moc"
