#include "designer/textdlg.h"
#include "testenvironment.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using namespace TextStyleMath;

class TestTextDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialogFont_data();
    void dialogFont();
    void pixelSize_data();
    void pixelSize();

    void layout_data();
    void layout();
    void showsFont_data();
    void showsFont();
    void edits();
    void okTakesTypedSize_data();
    void okTakesTypedSize();
    void closing();
};

void TestTextDlg::dialogFont_data()
{
    QTest::addColumn<QFont>("given");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixels");

    QFont noFamily;
    noFamily.setFamily(QString());
    noFamily.setPointSize(20);
    QTest::newRow("no family") << noFamily << "Arial" << 11;
    QFont points(QStringLiteral("Courier"));
    points.setPointSize(14);
    QTest::newRow("point size") << points << "Courier" << 12;
    QFont pixels(QStringLiteral("Courier"));
    pixels.setPixelSize(20);
    QTest::newRow("pixel size kept") << pixels << "Courier" << 20;
}

void TestTextDlg::dialogFont()
{
    QFETCH(QFont, given);
    QFETCH(QString, family);
    QFETCH(int, pixels);
    const QFont font = TextStyleMath::dialogFont(given);
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pixelSize(), pixels);
}

void TestTextDlg::pixelSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");

    QTest::newRow("number") << "18" << 18;
    QTest::newRow("spaces") << " 14 " << 14;
    QTest::newRow("zero") << "0" << -1;
    QTest::newRow("negative") << "-5" << -1;
    QTest::newRow("text") << "abc" << -1;
    QTest::newRow("decimal") << "10.5" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("beyond what a template keeps") << "99999" << 2000;
}

void TestTextDlg::pixelSize()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QCOMPARE(parsePixelSize(text), size);
}

void TestTextDlg::layout_data()
{
    QTest::addColumn<bool>("noBold");
    QTest::addColumn<QPoint>("italic");
    QTest::addColumn<QPoint>("underline");

    QTest::newRow("all buttons") << false << QPoint(45, 45) << QPoint(80, 45);
    QTest::newRow("no bold") << true << QPoint(10, 45) << QPoint(45, 45);
}

void TestTextDlg::layout()
{
    QFETCH(bool, noBold);
    QFETCH(QPoint, italic);
    QFETCH(QPoint, underline);

    CTextDlgWin frame(nullptr, nullptr, noBold);
    CTextDlg *dlg = frame.content;
    QCOMPARE(frame.windowTitle(), QStringLiteral("Style"));
    QCOMPARE(frame.minimumSize(), QSize(350, 300));
    QCOMPARE(frame.maximumSize(), QSize(350, 300));
    QCOMPARE(dlg->size(), QSize(350, 300));
    QCOMPARE(dlg->familyCombo->geometry(), QRect(10, 15, 240, 25));
    QCOMPARE(dlg->sizeCombo->geometry(), QRect(260, 15, 80, 25));
    QCOMPARE(dlg->preview->geometry(), QRect(10, 88, 330, 172));
    QVERIFY(dlg->preview->isReadOnly());
    QVERIFY(dlg->sizeCombo->isEditable());
    QCOMPARE(dlg->sizeCombo->count(), QFontDatabase::standardSizes().size());
    QCOMPARE(dlg->boldButton->isHidden(), noBold);
    QCOMPARE(dlg->italicButton->pos(), italic);
    QCOMPARE(dlg->underlineButton->pos(), underline);
    QCOMPARE(dlg->boldButton->toolTip(), QStringLiteral("Bold"));
    QCOMPARE(dlg->underlineButton->toolTip(), QStringLiteral("Underline"));
    QCOMPARE(dlg->italicButton->size(), QSize(30, 30));
    QVERIFY(dlg->italicButton->isCheckable());
    QCOMPARE(dlg->cancelButton->geometry(), QRect(85, 270, 80, 20));
    QCOMPARE(dlg->okButton->geometry(), QRect(185, 270, 80, 20));
    QCOMPARE(dlg->result, -1);
    QCOMPARE(dlg->GetAlign(), 132);
    QVERIFY(!dlg->GetColor().isValid());
}

void TestTextDlg::showsFont_data()
{
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("boldChecked");

    QTest::newRow("plain") << int(QFont::Normal) << false << false << false;
    QTest::newRow("bold") << int(QFont::Bold) << false << false << true;
    QTest::newRow("semi-bold") << int(QFont::DemiBold) << false << false << false;
    QTest::newRow("black") << int(QFont::Black) << false << false << false;
    QTest::newRow("italic underlined") << int(QFont::Normal) << true << true << false;
}

void TestTextDlg::showsFont()
{
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, boldChecked);

    const QStringList families = QFontDatabase().families();
    QVERIFY(!families.isEmpty());
    QFont font(families.first());
    font.setPixelSize(18);
    font.setWeight(weight);
    font.setItalic(italic);
    font.setUnderline(underline);

    CTextDlgWin frame(nullptr, nullptr, false);
    CTextDlg *dlg = frame.content;
    dlg->SetFont(font);
    dlg->SetText(QStringLiteral("Example Text"));
    QCOMPARE(dlg->GetText(), QStringLiteral("Example Text"));
    QCOMPARE(dlg->boldButton->isChecked(), boldChecked);
    QCOMPARE(dlg->italicButton->isChecked(), italic);
    QCOMPARE(dlg->underlineButton->isChecked(), underline);
    QCOMPARE(dlg->sizeCombo->currentText(), QStringLiteral("18"));
    QCOMPARE(dlg->sizeCombo->itemText(dlg->sizeCombo->currentIndex()), QStringLiteral("18"));
    const QString resolved = QFontInfo(font).family();
    if (dlg->familyCombo->currentIndex() >= 0)
        QCOMPARE(dlg->familyCombo->currentText().toLower(), resolved.toLower());
    else
        QCOMPARE(dlg->familyCombo->findText(resolved, Qt::MatchFixedString), -1);
    QCOMPARE(dlg->GetFont(), font);

    // A size that the list does not hold still shows in the edit.
    font.setPixelSize(23);
    dlg->SetFont(font);
    QCOMPARE(dlg->sizeCombo->currentText(), QStringLiteral("23"));
}

void TestTextDlg::edits()
{
    CTextDlgWin frame(nullptr, nullptr, false);
    CTextDlg *dlg = frame.content;
    QFont font(QStringLiteral("Courier"));
    font.setPixelSize(14);
    dlg->SetFont(font);
    dlg->SetText(QStringLiteral("Sample"));

    dlg->boldButton->click();
    QCOMPARE(dlg->GetFont().weight(), int(QFont::Bold));
    dlg->italicButton->click();
    QCOMPARE(dlg->GetFont().style(), QFont::StyleItalic);
    dlg->underlineButton->click();
    QVERIFY(dlg->GetFont().underline());
    // Every character of the sample follows, first as well as last.
    QTextCursor cursor(dlg->preview->document());
    for (int position : {1, 6}) {
        cursor.setPosition(position);
        QVERIFY(cursor.charFormat().fontItalic());
        QVERIFY(cursor.charFormat().fontUnderline());
        QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
    }
    QVERIFY(!dlg->preview->textCursor().hasSelection());

    dlg->boldButton->click();
    dlg->italicButton->click();
    QCOMPARE(dlg->GetFont().weight(), int(QFont::Normal));
    QCOMPARE(dlg->GetFont().style(), QFont::StyleNormal);

    dlg->OnTextFamily(QStringLiteral("Serif"));
    QCOMPARE(dlg->GetFont().family(), QStringLiteral("Serif"));
    dlg->OnTextSize(QStringLiteral("36"));
    QCOMPARE(dlg->GetFont().pixelSize(), 36);
    dlg->OnTextSize(QStringLiteral("big"));
    QCOMPARE(dlg->GetFont().pixelSize(), 36);

    dlg->SetAlign(Qt::AlignRight);
    QCOMPARE(dlg->GetAlign(), int(Qt::AlignRight));
    QCOMPARE(dlg->preview->alignment(), Qt::AlignRight);
    dlg->OnTextAlign(nullptr);
    QCOMPARE(dlg->preview->alignment(), Qt::AlignLeft);
    dlg->SetColor(QColor(200, 10, 10));
    QCOMPARE(dlg->GetColor(), QColor(200, 10, 10));
    QCOMPARE(dlg->preview->textCursor().charFormat().foreground().color(), QColor(200, 10, 10));
}

void TestTextDlg::okTakesTypedSize_data()
{
    QTest::addColumn<bool>("noBold");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("pixels");

    QTest::newRow("typed size") << false << "18" << 18;
    QTest::newRow("text keeps size") << false << "abc" << 13;
    QTest::newRow("zero keeps size") << false << "0" << 13;
    QTest::newRow("no bold, typed size") << true << "40" << 40;
}

void TestTextDlg::okTakesTypedSize()
{
    QFETCH(bool, noBold);
    QFETCH(QString, typed);
    QFETCH(int, pixels);

    QFont font(QStringLiteral("Courier"));
    font.setPixelSize(13);
    font.setBold(true);
    CTextDlgWin frame(nullptr, nullptr, noBold);
    CTextDlg *dlg = frame.content;
    dlg->SetFont(font);
    dlg->sizeCombo->setEditText(typed);
    dlg->okButton->click();
    QCOMPARE(dlg->result, 0);
    QCOMPARE(dlg->GetFont().pixelSize(), pixels);
    // The content font's hidden Bold button does not lose the weight.
    QVERIFY(dlg->GetFont().bold());
}

void TestTextDlg::closing()
{
    CTextDlgWin frame(nullptr, nullptr, false);
    CTextDlg *dlg = frame.content;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame, TestEnvironment::WaitMs));
    QCOMPARE(frame.focusWidget(), dlg->preview);
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&frame, key);
        QTest::keyClick(dlg->preview, key);
        QTest::keyClick(dlg->okButton, key);
        QVERIFY(frame.isVisible());
    }
    QCOMPARE(dlg->result, -1);

    dlg->okButton->click();
    QVERIFY(!frame.isVisible());
    QCOMPARE(dlg->result, 0);

    frame.show();
    dlg->cancelButton->click();
    QVERIFY(!frame.isVisible());
    QCOMPARE(dlg->result, -1);

    CTextDlgWin closed(nullptr, nullptr, false);
    closed.show();
    closed.close();
    QCOMPARE(closed.content->result, -1);
}

QTEST_MAIN(TestTextDlg)
#include "tst_textdlg.moc"
