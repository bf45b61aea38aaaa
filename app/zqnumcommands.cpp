// The main window's commands: page buttons, resetting, the people store and
// the calculation, export, chart and help commands.

#include "app/zqnum.h"

#include "app/myqwebengineview.h"
#include "app/namenormalizer.h"
#include "engine/chartnumerology.h"
#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "panels/infocalendarwidget.h"
#include "panels/infocompmatrwidget.h"
#include "panels/infoessencewidget.h"
#include "panels/infoexprplanwidget.h"
#include "panels/infomatrwidget.h"
#include "panels/infonamewidget.h"
#include "panels/infotodaywidget.h"
#include "panels/infowidget.h"
#include "style/aboutdlg.h"
#include "style/appstyle.h"
#include "style/infodlg.h"

#include <QDateEdit>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTimeLine>
#include <QWebEngineView>

void CZQNum::OnCtrlButNumer()
{
    setMode(MainWindowLayout::PageNumerology);
}

void CZQNum::OnCtrlButPMatr()
{
    setMode(MainWindowLayout::PagePsychoMatrix);
}

void CZQNum::OnCtrlButForecast()
{
    setMode(MainWindowLayout::PageForecast);
}

void CZQNum::OnCtrlButComp()
{
    setMode(MainWindowLayout::PageCompatibility);
}

void CZQNum::OnCtrlButCel()
{
    setMode(MainWindowLayout::PageCelebrities);
}

void CZQNum::OnCtrlButPet()
{
    setMode(MainWindowLayout::PagePet);
}

void CZQNum::OnCtrlButChart()
{
    setMode(MainWindowLayout::PageChart);
}

void CZQNum::OnCtrlButAnalize()
{
    setMode(MainWindowLayout::PageNameAdvisor);
}

void CZQNum::OnCtrlButGuide()
{
    setMode(MainWindowLayout::PageGuide);
}

// The data-entry panel slides over the window; closing it calculates.
void CZQNum::OnNameSel()
{
    const QString enterName = QStringLiteral("ENTER YOUR NAME");
    // A refused date stays in view, with the panel open, for the user to mend.
    if (m_PanelOpen && !settleDates())
        return;
    m_BlinkLine->stop();
    m_Style->setWidgetStyle(m_NameButton, WTPersonButton);
    m_PanelOpen = !m_PanelOpen;
    m_EntryPanelAnim->stop();
    if (m_PanelOpen) {
        m_EntryPanel->raise();
        m_NameButton->raise();
        m_EntryPanelAnim->setEasingCurve(QEasingCurve::InOutExpo);
        m_EntryPanelAnim->setEndValue(QPoint(0, 0));
        m_NameCaption = QStringLiteral("APPLY");
    } else {
        // The name button takes no focus: keys typed next would still go to
        // the box left behind, out of sight.
        if (QWidget *focused = focusWidget(); focused && m_EntryPanel->isAncestorOf(focused))
            focused->clearFocus();
        m_EntryPanelAnim->setEasingCurve(QEasingCurve::OutExpo);
        m_EntryPanelAnim->setEndValue(QPoint(-width(), 0));
        // "APPLY" with no full name asks for a calculation like any other:
        // it is refused aloud, not by quietly keeping or losing readings.
        if (preparePersonName(m_FullName->text()).isEmpty())
            rejectPersonName();
        else
            OnCalcNum();
        // A closed panel never keeps "APPLY": when nothing was calculated the
        // button asks for a name again.
        if (m_FullName->text().isEmpty() || m_NameCaption == QStringLiteral("APPLY")
            || m_NameCaption == enterName) {
            m_NameCaption = enterName;
            m_BlinkLine->setDirection(QTimeLine::Forward);
            m_BlinkLine->setEasingCurve(QEasingCurve::InOutSine);
            m_BlinkLine->setFrameRange(0, 20);
            m_BlinkLine->start();
        }
    }
    slotPNC(m_ForecastDate->date());

    // The caption changes once the panel has arrived. A further click while
    // it moves stops this animation, which ends the wait as well.
    QPointer<CZQNum> alive(this);
    QEventLoop wait;
    connect(m_EntryPanelAnim, &QAbstractAnimation::stateChanged, &wait,
            [&wait](QAbstractAnimation::State state) {
                if (state == QAbstractAnimation::Stopped)
                    wait.quit();
            });
    m_EntryPanelAnim->start();
    if (m_EntryPanelAnim->state() == QAbstractAnimation::Running)
        wait.exec();
    if (!alive)
        return;
    m_NameButton->setText(m_NameCaption);
    resizeEvent(nullptr);
}

void CZQNum::OnClearRecent()
{
    // The list may hold the only record of these people.
    if (CInfoDlgWin::showAskMessageBox(m_Style, QStringLiteral("Question"),
                                       QStringLiteral("Clear the list of recent people?"), this)
        != 0)
        return;
    m_Recent.clear();
    updateRecentList();
}

// "Anna Bell\r\nMar 7, 1985", with a third line for the partner.
QString CZQNum::recentCaption(const PersonRecord &record)
{
    QString caption = record.fullName;
    const QDate &birth = record.birthDate;
    // Only a damaged store holds a date that is not one; the name alone
    // still tells the person.
    if (birth.isValid())
        caption += QStringLiteral("\r\n") + CInfoCalendarWidget::monthAbbreviation(birth.month())
            + QLatin1Char(' ') + QString::number(birth.day()) + QStringLiteral(", ")
            + QString::number(birth.year());
    if (!record.partnerFullName.isEmpty())
        caption += QStringLiteral("\r\n") + record.partnerFullName;
    return caption;
}

void CZQNum::updateRecentList()
{
    for (int k = 0; k < m_RecentButtons.size(); ++k) {
        QPushButton *button = m_RecentButtons.at(k);
        if (k < m_Recent.size()) {
            button->setText(recentCaption(m_Recent.at(k)));
            button->show();
        } else {
            button->hide();
        }
    }
}
