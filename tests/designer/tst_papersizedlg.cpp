#include "designer/papersizedlg.h"
#include "testenvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <limits>

using namespace PaperSizeMath;

class TestPaperSizeDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paperTable();
    void matchPaper_data();
    void matchPaper();
    void numbers_data();
    void numbers();
    void pageCount_data();
    void pageCount();

    void forms_data();
    void forms();
    void choosePaper();
    void orientationAndUnits();
    void separatorRowsGoBackToCustom();
    void okLimitsSizes_data();
    void okLimitsSizes();
    void openWithStoredSize_data();
    void openWithStoredSize();
    void pagesForm_data();
    void pagesForm();
    void keysDoNotCloseTheDialog();
};

void TestPaperSizeDlg::paperTable()
{
    const QVector<PaperSize> papers = standardPapers();
    QCOMPARE(papers.size(), 12);
    QCOMPARE(papers.at(0).name, QStringLiteral("Custom"));
    QVERIFY(papers.at(0).noSize && papers.at(1).noSize && papers.at(7).noSize);
    QVERIFY(papers.at(1).name.isEmpty() && papers.at(7).name.isEmpty());
    QCOMPARE(papers.at(2).name, QStringLiteral("Letter (8.5\" x 11\")"));
    QCOMPARE(papers.at(4).name, QStringLiteral("Junior Legal (8\" x 5\")"));
    QCOMPARE(papers.at(4).width, 8.0);
    QCOMPARE(papers.at(4).height, 5.0);
    QCOMPARE(papers.at(10).name, QStringLiteral("A5 (148.5mm x 210mm)"));
    QCOMPARE(papers.at(11).height, 148.5);
    for (int row = 8; row < 12; ++row)
        QCOMPARE(papers.at(row).units, int(Millimetres));
}

void TestPaperSizeDlg::matchPaper_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("orientation");

    QTest::newRow("letter upright") << 8.5 << 11.0 << 2 << int(Vertical);
    QTest::newRow("letter turned") << 11.0 << 8.5 << 2 << int(Horizontal);
    QTest::newRow("a4 from page units") << 840 / 101.6 << 1188 / 101.6 << 9 << int(Vertical);
    QTest::newRow("within tolerance") << 8.52 << 10.98 << 2 << int(Vertical);
    QTest::newRow("outside tolerance") << 8.53 << 11.0 << -1 << int(Vertical);
    // Stored landscape: matched as it lies, never turned.
    QTest::newRow("junior legal as stored") << 8.0 << 5.0 << 4 << int(Horizontal);
    QTest::newRow("junior legal upright") << 5.0 << 8.0 << 4 << int(Vertical);
    QTest::newRow("ledger") << 17.0 << 11.0 << 5 << int(Horizontal);
    QTest::newRow("tabloid wins over turned ledger") << 11.0 << 17.0 << 6 << int(Vertical);
    QTest::newRow("block default") << 3.0 << 2.0 << -1 << int(Vertical);
    QTest::newRow("nothing") << 0.0 << 0.0 << -1 << int(Vertical);
}

void TestPaperSizeDlg::matchPaper()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(int, row);
    QFETCH(int, orientation);
    const PaperMatch match = PaperSizeMath::matchPaper(standardPapers(), width, height);
    QCOMPARE(match.row, row);
    if (row >= 0)
        QCOMPARE(match.orientation, orientation);
}

void TestPaperSizeDlg::numbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("shown");

    QTest::newRow("inches to mm") << 8.5 << int(Inches) << int(Millimetres) << "215.90";
    QTest::newRow("mm to inches") << 210.0 << int(Millimetres) << int(Inches) << "8.27";
    QTest::newRow("same units") << 3.0 << int(Inches) << int(Inches) << "3.00";
}

void TestPaperSizeDlg::numbers()
{
    QFETCH(double, value);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, shown);
    QCOMPARE(formatSize(convertUnits(value, from, to)), shown);

    QCOMPARE(limitSize(60), 50.0);
    QCOMPARE(limitSize(0), 0.1);
    QCOMPARE(limitSize(-4), 0.1);
    QCOMPARE(limitSize(std::numeric_limits<double>::quiet_NaN()), 0.1);
    QCOMPARE(limitSize(7.25), 7.25);
}

void TestPaperSizeDlg::pageCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pages");

    QTest::newRow("all") << "All" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("text") << "many" << 0;
    QTest::newRow("seven") << "7" << 7;
    QTest::newRow("limit") << "100000" << 100000;
    QTest::newRow("above limit") << "250000" << 100000;
    QTest::newRow("beyond int") << "99999999999" << 100000;
}

void TestPaperSizeDlg::pageCount()
{
    QFETCH(QString, text);
    QFETCH(int, pages);
    QCOMPARE(parsePageCount(text), pages);
}

void TestPaperSizeDlg::forms_data()
{
    QTest::addColumn<bool>("sizeOnly");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("sizeLabel");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("widthEdit");
    QTest::addColumn<QString>("widthText");
    QTest::addColumn<bool>("paperVisible");
    QTest::addColumn<bool>("unitsVisible");
    QTest::addColumn<int>("units");

    QTest::newRow("paper size") << false << -5 << "Report Properties"
                                << "Paper size" << QSize(400, 230) << QPoint(10, 125) << "8.5"
                                << true << true << 0;
    QTest::newRow("card size") << false << 1 << "Properties"
                               << "Card Size" << QSize(400, 200) << QPoint(10, 90) << "8.5" << false
                               << false << 1;
    QTest::newRow("size only") << true << -5 << "Properties"
                               << "Size" << QSize(400, 230) << QPoint(10, 90) << "3" << false
                               << true << 0;
}

void TestPaperSizeDlg::forms()
{
    QFETCH(bool, sizeOnly);
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(QString, sizeLabel);
    QFETCH(QSize, size);
    QFETCH(QPoint, widthEdit);
    QFETCH(QString, widthText);
    QFETCH(bool, paperVisible);
    QFETCH(bool, unitsVisible);
    QFETCH(int, units);

    CPaperSizeDlgWin frame(nullptr, nullptr, sizeOnly, mode);
    CPaperSizeDlg *dlg = frame.content;
    QCOMPARE(frame.windowTitle(), title);
    QCOMPARE(dlg->m_Title, title);
    QCOMPARE(frame.minimumSize(), size);
    QCOMPARE(frame.maximumSize(), size);
    QCOMPARE(dlg->size(), size);
    QCOMPARE(dlg->m_SizeLabel->text(), sizeLabel);
    QCOMPARE(dlg->m_WidthEdit->pos(), widthEdit);
    QCOMPARE(dlg->m_WidthEdit->text(), widthText);
    QCOMPARE(dlg->m_XLabel->pos(), widthEdit + QPoint(80, 5));
    QCOMPARE(!dlg->m_PaperCombo->isHidden(), paperVisible);
    QCOMPARE(!dlg->m_UnitsCombo->isHidden(), unitsVisible);
    QCOMPARE(dlg->m_UnitsCombo->currentIndex(), units);
    QCOMPARE(dlg->m_TitleEdit->text(), QStringLiteral("Untitled"));
    QCOMPARE(dlg->m_CancelButton->geometry(), QRect(110, size.height() - 30, 80, 20));
    QCOMPARE(dlg->m_OkButton->geometry(), QRect(210, size.height() - 30, 80, 20));
    QCOMPARE(dlg->m_Result, -1);
    QVERIFY(!dlg->m_PagesCombo);
    QVERIFY(frame.windowFlags() & Qt::WindowCloseButtonHint);
}

void TestPaperSizeDlg::choosePaper()
{
    CPaperSizeDlgWin frame(nullptr, nullptr, false, -5);
    CPaperSizeDlg *dlg = frame.content;
    dlg->m_PaperCombo->setCurrentIndex(9);
    QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("210.00"));
    QCOMPARE(dlg->m_HeightEdit->text(), QStringLiteral("297.00"));
    QCOMPARE(dlg->m_UnitsCombo->currentText(), QStringLiteral("mm"));
    QCOMPARE(dlg->m_OrientationCombo->currentText(), QStringLiteral("Vertical"));
    QVERIFY(!dlg->m_WidthEdit->isEnabled());
    QVERIFY(!dlg->m_HeightEdit->isEnabled());
    QVERIFY(!dlg->m_UnitsCombo->isEnabled());

    dlg->m_OkButton->click();
    QCOMPARE(dlg->m_Result, 0);
    QVERIFY(qAbs(dlg->m_Width - 8.2677) < 1e-4);
    QVERIFY(qAbs(dlg->m_Height - 11.6929) < 1e-4);

    // Ledger is stored wider than high and comes up lying.
    dlg->m_PaperCombo->setCurrentIndex(5);
    QCOMPARE(dlg->m_OrientationCombo->currentText(), QStringLiteral("Horizontal"));
    QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("17.00"));
    QCOMPARE(dlg->m_UnitsCombo->currentText(), QStringLiteral("inches"));
}

void TestPaperSizeDlg::orientationAndUnits()
{
    CPaperSizeDlgWin frame(nullptr, nullptr, false, -5);
    CPaperSizeDlg *dlg = frame.content;
    dlg->m_PaperCombo->setCurrentIndex(2);
    dlg->m_OrientationCombo->setCurrentIndex(1);
    QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("11.00"));
    QCOMPARE(dlg->m_HeightEdit->text(), QStringLiteral("8.50"));
    QCOMPARE(dlg->m_PaperCombo->currentIndex(), 2);

    // Custom sizes follow the orientation when an edit is finished.
    dlg->m_PaperCombo->setCurrentIndex(0);
    QVERIFY(dlg->m_WidthEdit->isEnabled());
    dlg->m_OrientationCombo->setCurrentIndex(0);
    QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("8.50"));
    dlg->m_WidthEdit->setText(QStringLiteral("20"));
    emit dlg->m_WidthEdit->editingFinished();
    QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("11.00"));
    QCOMPARE(dlg->m_HeightEdit->text(), QStringLiteral("20"));

    dlg->m_WidthEdit->setText(QStringLiteral("8.5"));
    dlg->m_UnitsCombo->setCurrentIndex(1);
    QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("215.90"));
    QCOMPARE(dlg->m_HeightEdit->text(), QStringLiteral("508.00"));
    QCOMPARE(dlg->m_Units, 1);
    dlg->m_UnitsCombo->setCurrentIndex(0);
    QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("8.50"));
    QCOMPARE(dlg->m_HeightEdit->text(), QStringLiteral("20.00"));

    // The card form neither converts nor turns.
    CPaperSizeDlgWin card(nullptr, nullptr, false, 1);
    card.content->m_WidthEdit->setText(QStringLiteral("700"));
    card.content->m_HeightEdit->setText(QStringLiteral("500"));
    card.content->OnOrientationCombo(0);
    card.content->OnUnitsCombo(0);
    QCOMPARE(card.content->m_WidthEdit->text(), QStringLiteral("700"));
    QCOMPARE(card.content->m_HeightEdit->text(), QStringLiteral("500"));
}

void TestPaperSizeDlg::separatorRowsGoBackToCustom()
{
    CPaperSizeDlgWin frame(nullptr, nullptr, false, -5);
    CPaperSizeDlg *dlg = frame.content;
    for (int row : {7, 1}) {
        dlg->m_PaperCombo->setCurrentIndex(10);
        QVERIFY(!dlg->m_WidthEdit->isEnabled());
        dlg->m_PaperCombo->setCurrentIndex(row);
        QCOMPARE(dlg->m_PaperCombo->currentIndex(), 0);
        QVERIFY(dlg->m_WidthEdit->isEnabled());
        QVERIFY(dlg->m_HeightEdit->isEnabled());
        QVERIFY(dlg->m_UnitsCombo->isEnabled());
        QCOMPARE(dlg->m_WidthEdit->text(), QStringLiteral("148.50"));
    }
}

void TestPaperSizeDlg::okLimitsSizes_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("units");
    QTest::addColumn<double>("expectedWidth");
    QTest::addColumn<double>("expectedHeight");

    QTest::newRow("too large") << "60"
                               << "11" << 0 << 50.0 << 11.0;
    QTest::newRow("zero") << "0"
                          << "2" << 0 << 0.1 << 2.0;
    QTest::newRow("not a number") << "wide"
                                  << "2" << 0 << 0.1 << 2.0;
    QTest::newRow("millimetres") << "254"
                                 << "1524" << 1 << 10.0 << 50.0;
}

void TestPaperSizeDlg::okLimitsSizes()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(int, units);
    QFETCH(double, expectedWidth);
    QFETCH(double, expectedHeight);

    CPaperSizeDlgWin frame(nullptr, nullptr, true, -5);
    CPaperSizeDlg *dlg = frame.content;
    dlg->m_UnitsCombo->setCurrentIndex(units);
    dlg->m_WidthEdit->setText(width);
    dlg->m_HeightEdit->setText(height);
    dlg->OnOk();
    QCOMPARE(dlg->m_Result, 0);
    QCOMPARE(dlg->m_Units, units);
    QVERIFY(qAbs(dlg->m_Width - expectedWidth) < 1e-9);
    QVERIFY(qAbs(dlg->m_Height - expectedHeight) < 1e-9);
}

void TestPaperSizeDlg::openWithStoredSize_data()
{
    QTest::addColumn<bool>("sizeOnly");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("shownWidth");
    QTest::addColumn<QString>("shownHeight");

    QTest::newRow("letter block") << true << "8.50"
                                  << "11.00" << 2 << "8.50"
                                  << "11.00";
    QTest::newRow("block matches nothing") << true << "3"
                                           << "2" << 0 << "3"
                                           << "2";
    // A lying block must come back lying although its orientation combo is
    // hidden, and a landscape paper must not be turned upright.
    QTest::newRow("letter block lying") << true << "11.00"
                                        << "8.50" << 2 << "11.00"
                                        << "8.50";
    QTest::newRow("ledger document") << false << "17.00"
                                     << "11.00" << 5 << "17.00"
                                     << "11.00";
    QTest::newRow("junior legal block") << true << "8.00"
                                        << "5.00" << 4 << "8.00"
                                        << "5.00";
    QTest::newRow("a4 turned document") << false << "11.69"
                                        << "8.27" << 9 << "297.00"
                                        << "210.00";
}

void TestPaperSizeDlg::openWithStoredSize()
{
    QFETCH(bool, sizeOnly);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(int, row);
    QFETCH(QString, shownWidth);
    QFETCH(QString, shownHeight);

    CPaperSizeDlgWin frame(nullptr, nullptr, sizeOnly, -5);
    CPaperSizeDlg *dlg = frame.content;
    dlg->m_WidthEdit->setText(width);
    dlg->m_HeightEdit->setText(height);
    dlg->selPaperCombo();
    QCOMPARE(dlg->m_PaperCombo->currentIndex(), row);
    QCOMPARE(dlg->m_WidthEdit->text(), shownWidth);
    QCOMPARE(dlg->m_HeightEdit->text(), shownHeight);
    QCOMPARE(dlg->m_WidthEdit->isEnabled(), row == 0);

    dlg->OnOk();
    const double w = width.toDouble();
    const double h = height.toDouble();
    QVERIFY(qAbs(dlg->m_Width - w) < 0.02);
    QVERIFY(qAbs(dlg->m_Height - h) < 0.02);
}

void TestPaperSizeDlg::pagesForm_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");

    QTest::newRow("all") << 0 << "All" << QString() << 0;
    QTest::newRow("five") << 5 << "5" << QString() << 5;
    QTest::newRow("many") << 250 << "250" << QString() << 250;
    QTest::newRow("typed too many") << 3 << "3"
                                    << "123456" << 100000;
    QTest::newRow("typed zero") << 3 << "3"
                                << "0" << 0;
    QTest::newRow("typed text") << 3 << "3"
                                << "some" << 0;
}

void TestPaperSizeDlg::pagesForm()
{
    QFETCH(int, pages);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(int, stored);

    CPaperSizeDlgWin frame(nullptr, nullptr, true, -5);
    CPaperSizeDlg *dlg = frame.content;
    dlg->m_WidthEdit->setText(QStringLiteral("8.50"));
    dlg->m_HeightEdit->setText(QStringLiteral("11.00"));
    dlg->selPaperCombo();
    dlg->m_Pages = pages;
    dlg->addSeqCombo();
    QVERIFY(dlg->m_PagesCombo);
    QCOMPARE(dlg->m_PagesCombo->count(), 11);
    QCOMPARE(dlg->m_PagesCombo->geometry(), QRect(10, 90, 200, 25));
    QCOMPARE(dlg->m_PagesCombo->currentText(), shown);
    QCOMPARE(dlg->m_SizeLabel->text(), QStringLiteral("Pages"));
    QVERIFY(dlg->m_WidthEdit->isHidden() && dlg->m_HeightEdit->isHidden());
    QVERIFY(dlg->m_UnitsCombo->isHidden() && dlg->m_XLabel->isHidden());

    if (!typed.isEmpty())
        dlg->m_PagesCombo->setEditText(typed);
    dlg->OnOk();
    QCOMPARE(dlg->m_Pages, stored);
    QCOMPARE(dlg->m_Width, 8.5);
    QCOMPARE(dlg->m_Height, 11.0);
}

void TestPaperSizeDlg::keysDoNotCloseTheDialog()
{
    CPaperSizeDlgWin frame(nullptr, nullptr, false, -5);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame, TestEnvironment::WaitMs));
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&frame, key);
        QTest::keyClick(frame.content->m_TitleEdit, key);
        QVERIFY(frame.isVisible());
    }
    QCOMPARE(frame.content->m_Result, -1);

    // The window's close button leaves the result at "cancelled".
    frame.close();
    QVERIFY(!frame.isVisible());
    QCOMPARE(frame.content->m_Result, -1);

    frame.show();
    frame.content->m_CancelButton->click();
    QVERIFY(!frame.isVisible());
    QCOMPARE(frame.content->m_Result, -1);
}

QTEST_MAIN(TestPaperSizeDlg)
#include "tst_papersizedlg.moc"
