// The main window's commands: page buttons, resetting, the people store and
// the calculation, export, chart and help commands.

#include "app/zqnum.h"

#include "app/myqwebengineview.h"
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

#include <QDateEdit>
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
    m_EntryPanelAnim->stop();
    if (m_PanelOpen) {
        m_PanelOpen = false;
        m_EntryPanelAnim->setEndValue(QPoint(-width(), 0));
        m_EntryPanelAnim->start();
        OnCalcNum();
        m_NameButton->setText(m_NameCaption == QStringLiteral("APPLY")
                                  ? QStringLiteral("ENTER YOUR NAME")
                                  : m_NameCaption);
    } else {
        m_PanelOpen = true;
        m_EntryPanel->raise();
        m_NameButton->raise();
        m_EntryPanelAnim->setEndValue(QPoint(0, 0));
        m_EntryPanelAnim->start();
        m_NameButton->setText(QStringLiteral("APPLY"));
    }
}

void CZQNum::OnClearRecent()
{
    m_Recent.clear();
    updateRecentList();
}

void CZQNum::updateRecentList()
{
    for (int k = 0; k < m_RecentButtons.size(); ++k) {
        QPushButton *button = m_RecentButtons.at(k);
        if (k < m_Recent.size()) {
            const PersonRecord &r = m_Recent.at(k);
            button->setText(r.shortName + QLatin1Char('\n')
                            + r.birthDate.toString(QStringLiteral("MM/dd/yyyy")));
            button->setEnabled(true);
        } else {
            button->setText(QString());
            button->setEnabled(false);
        }
    }
}

// Stand-ins: the commands below keep their final names and connections and
// do their work once the calculation, chart, export and help commands are in.

void CZQNum::OnUpdateListReport() { }

void CZQNum::repaintChart() { }

void CZQNum::slotGChart(int value)
{
    Q_UNUSED(value)
}

void CZQNum::OnEditChart() { }

void CZQNum::OnAddChart() { }

void CZQNum::OnDeleteChart() { }

void CZQNum::OnExportHTML() { }

void CZQNum::OnExportPDFAll() { }

void CZQNum::OnBgTaskFinished(bool success)
{
    Q_UNUSED(success)
    m_ReportInProgress = false;
}
