#include "base/apppaths.h"
#include "designer/colordialog.h"
#include "designer/papersizedlg.h"
#include "designer/textdlg.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"

#include "shotsupport.h"
#include "testenvironment.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

// Shows the designer's text style, colour and page size dialogs on a real
// display in two colour schemes and checks that the scheme reaches the
// screen. With LUMARO_SHOTS_DIR set the pictures are kept there.
class TestDesignerDlgShots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dialogs_data();
    void dialogs();

private:
    QImage shoot(QWidget *dialog, const QString &name);
    QString m_shots;
};

void TestDesignerDlgShots::initTestCase()
{
    m_shots = qEnvironmentVariable("LUMARO_SHOTS_DIR");
    if (!m_shots.isEmpty())
        QDir().mkpath(m_shots);
    QVERIFY(QFile::exists(getImagesPath() + QStringLiteral("text-bold.png")));
}

QImage TestDesignerDlgShots::shoot(QWidget *dialog, const QString &name)
{
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog, TestEnvironment::WaitMs))
        qWarning("window not exposed: %s", qPrintable(name));
    QTest::qWait(50);
    clearPointer(dialog);
    const QImage image = dialog->grab().toImage();
    if (!m_shots.isEmpty())
        image.save(m_shots + QLatin1Char('/') + name + QStringLiteral(".png"));
    dialog->hide();
    return image;
}

void TestDesignerDlgShots::dialogs_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("chocolate") << 0;
    QTest::newRow("blue-sky") << 2;
}

void TestDesignerDlgShots::dialogs()
{
    QFETCH(int, scheme);
    CAppStyle style(getImagesPath());
    style.setGlobalStyle(scheme);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QColor windowColor = style.updateColor(QColor(0x1e, 0x19, 0x17));

    {
        CTextDlgWin frame(&style, nullptr, false);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(22);
        font.setBold(true);
        font.setItalic(true);
        frame.content->SetFont(font);
        frame.content->SetText(QStringLiteral("Example Text"));
        const QImage shot = shoot(&frame, QStringLiteral("textdlg-") + tag);
        QCOMPARE(shot.size(), QSize(350, 300) * frame.devicePixelRatioF());
        QCOMPARE(shot.pixelColor(4, 4), windowColor);
    }
    {
        CTextDlgWin frame(&style, nullptr, true);
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(14);
        frame.content->SetFont(font);
        frame.content->SetText(QStringLiteral("Example Text"));
        shoot(&frame, QStringLiteral("textdlg-nobold-") + tag);
    }
    {
        CPaperSizeDlgWin frame(&style, nullptr, false, -5);
        frame.content->m_TitleEdit->setText(QStringLiteral("Birthday chart"));
        frame.content->m_WidthEdit->setText(QStringLiteral("8.27"));
        frame.content->m_HeightEdit->setText(QStringLiteral("11.69"));
        frame.content->selPaperCombo();
        const QImage shot = shoot(&frame, QStringLiteral("papersize-") + tag);
        QCOMPARE(shot.size(), QSize(400, 230) * frame.devicePixelRatioF());
        QCOMPARE(shot.pixelColor(4, 4), windowColor);
    }
    {
        CPaperSizeDlgWin frame(&style, nullptr, false, 1);
        frame.content->m_TitleEdit->setText(QStringLiteral("Name card"));
        frame.content->m_WidthEdit->setText(QStringLiteral("711"));
        frame.content->m_HeightEdit->setText(QStringLiteral("1006"));
        auto background = new QPushButton(QStringLiteral("Set Background"), &frame);
        background->setGeometry(10, 130, 120, 20);
        style.setWidgetStyle(background, WTButton);
        const QImage shot = shoot(&frame, QStringLiteral("cardsize-") + tag);
        QCOMPARE(shot.size(), QSize(400, 200) * frame.devicePixelRatioF());
    }
    {
        CPaperSizeDlgWin frame(&style, nullptr, true, -5);
        frame.content->m_TitleEdit->setText(QStringLiteral("Page 1"));
        frame.content->m_Pages = 3;
        frame.content->addSeqCombo();
        shoot(&frame, QStringLiteral("pages-") + tag);
    }
    {
        // The main window hands the small dialogs its re-tinted dialog sheet.
        qsGlobalDlgStyle = style.updateColor(globalDialogStyleSheet(getImagesPath()));
        CColorDialog colour(true, nullptr);
        colour.slotSetColor(QColor(0, 80, 160));
        colour.slotUpdate();
        const QImage shot = shoot(&colour, QStringLiteral("colordialog-") + tag);
        QCOMPARE(shot.size(), QSize(465, 325) * colour.devicePixelRatioF());
        // The preview swatch shows the colour inside its border.
        const QPoint inside = colour.m_ColorPreview->geometry().center();
        QCOMPARE(shot.pixelColor(inside * colour.devicePixelRatioF()), QColor(0, 80, 160));

        background ground;
        ground.color = QColor(200, 160, 40);
        QImage picture(160, 120, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), QColor(40, 60, 120));
        painter.setBrush(QColor(230, 190, 60));
        painter.drawEllipse(QPoint(80, 60), 40, 40);
        painter.end();
        ground.image = picture;
        ground.mode = 2;
        CColorDialog page(false, nullptr);
        page.slotSetGround(ground);
        page.slotUpdate();
        shoot(&page, QStringLiteral("background-") + tag);
        qsGlobalDlgStyle.clear();
    }
}

QTEST_MAIN(TestDesignerDlgShots)
#include "tst_designerdlgshots.moc"
