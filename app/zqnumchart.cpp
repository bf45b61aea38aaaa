// The Graphic Chart page of the main window: the list of chart layouts in
// the user folder, the rendered chart, and the layout commands.

#include "app/zqnum.h"

#include "app/chartrender.h"
#include "base/apppaths.h"
#include "designer/calcnumcontainer.h"
#include "designer/reportcreator.h"
#include "designer/reportpe.h"
#include "engine/numerology.h"
#include "filetrial/filetrial.h"
#include "style/infodlg.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

namespace {

// The designer window, modal over the main window, on the current people.
// Returns the template it saved last (or the one it edited), empty when a new
// template was never saved or the one to edit cannot be read.
QString openChartDesigner(CZQNum *window, const QString &templatePath)
{
    calcNumContainer people = window->chartPeople();
    CReportCreatorWin designer(&people, window->m_Style, window, 1);
    if (templatePath.isEmpty()) {
        designer.creator->editor->fileName.clear();
        designer.creator->init();
        designer.creator->OnProperties();
    } else if (!designer.loadTemplate(templatePath)) {
        return QString();
    }
    designer.exec();
    return designer.creator->loadedFile;
}

} // namespace

QImage (*CZQNum::renderChart)(const QString &path, const calcNumContainer &people,
                              const QSize &size, CAppStyle *style, QString *error)
    = renderChartTemplate;
QString (*CZQNum::chartDesigner)(CZQNum *window, const QString &templatePath) = openChartDesigner;

calcNumContainer CZQNum::chartPeople() const
{
    // The engines always hold numbers, also for the empty partner form (its
    // default date) or no name at all; a chart shows only people entered.
    const auto entered = [](const CNumerology *n) {
        return n && !n->m_fullName.isEmpty() && !n->m_shortName.isEmpty();
    };
    calcNumContainer people;
    if (!entered(m_Person))
        return people;
    people.person = m_Person;
    people.personMatrix = m_PersonMatrix;
    if (entered(m_Partner)) {
        people.partner = m_Partner;
        people.partnerMatrix = m_PartnerMatrix;
    }
    return people;
}

void CZQNum::OnUpdateListReport()
{
    // Filling the list selects its first entry; that must not render.
    disconnect(m_ChartList, qOverload<int>(&QComboBox::currentIndexChanged), this,
               &CZQNum::slotGChart);
    m_ChartList->clear();
    const QString folder = getUserFolder();
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.lnr")});
    for (const QString &name : names)
        m_ChartList->addItem(name.left(name.size() - 4), folder + QLatin1Char('/') + name);
    connect(m_ChartList, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CZQNum::slotGChart);
}

bool CZQNum::chartTried(const QString &path, QString *error)
{
    // Another draw asked for while the template is being tried (the window
    // stays responsive meanwhile) waits for the one that asked first.
    if (m_CheckingChart) {
        if (error)
            *error = QStringLiteral("Checking the chart layout…");
        return false;
    }
    m_CheckingChart = true;
    const FileTrial::Verdict verdict = FileTrial::tryFile(path, FileTrial::Kind::Template);
    m_CheckingChart = false;
    if (!verdict.accepted && error)
        *error = verdict.reason;
    return verdict.accepted;
}

QImage CZQNum::getChart(QSize size, QString *error)
{
    const int index = m_ChartList->currentIndex();
    if (index < 0 || index >= m_ChartList->count())
        return QImage();
    const QString path = m_ChartList->itemData(index).toString();
    if (!chartTried(path, error))
        return QImage();
    m_ChartInUse = path;
    return renderChart(path, chartPeople(), size, m_Style, error);
}

void CZQNum::repaintChart()
{
    QString error;
    m_ChartBoard->m_Image = getChart(m_ChartBoard->rect().size(), &error);
    m_ChartBoard->m_Message = m_ChartBoard->m_Image.isNull() ? error : QString();
    m_ChartBoard->repaint();
}

void CZQNum::slotGChart(int value)
{
    if (m_ChartList->count() == 0 || value < 0 || value >= m_ChartList->count())
        return;
    QString refusal;
    if (!chartTried(m_ChartList->itemData(value).toString(), &refusal) && !m_CheckingChart) {
        CNumerology::s_criticalMessage(this, QStringLiteral("Warning"), refusal);
        // The chart chosen before stays.
        const QSignalBlocker blocker(m_ChartList);
        m_ChartList->setCurrentIndex(m_ChartList->findData(m_ChartInUse));
    }
    resizeEvent(nullptr);
}

QString CZQNum::runChartDesigner(const QString &templatePath)
{
    return chartDesigner(this, templatePath);
}

void CZQNum::reselectChart(const QString &path, int index)
{
    OnUpdateListReport();
    if (m_ChartList->count() == 0)
        return;
    const int saved = path.isEmpty() ? -1 : m_ChartList->findData(path);
    if (saved >= 0)
        index = saved;
    else if (index < 0 || index >= m_ChartList->count())
        return;
    {
        // One rendering, by the layout below, whichever entry was chosen.
        const QSignalBlocker blocker(m_ChartList);
        m_ChartList->setCurrentIndex(index);
    }
    resizeEvent(nullptr);
}

void CZQNum::OnEditChart()
{
    const int index = m_ChartList->currentIndex();
    if (index < 0 || index >= m_ChartList->count())
        return;
    const QString path = m_ChartList->itemData(index).toString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    file.close();
    reselectChart(runChartDesigner(path), index);
}

void CZQNum::OnAddChart()
{
    const int index = m_ChartList->currentIndex();
    reselectChart(runChartDesigner(QString()), index);
}

void CZQNum::OnDeleteChart()
{
    const int index = m_ChartList->currentIndex();
    if (index < 0 || index >= m_ChartList->count())
        return;
    const QString path = m_ChartList->itemData(index).toString();
    const QString text = QStringLiteral("Do you want to remove \"") + QFileInfo(path).fileName()
        + QStringLiteral("\"?");
    if (CInfoDlgWin::showAskMessageBox(m_Style, QStringLiteral("Question"), text, this) != 0)
        return;
    QFile::remove(path);
    OnUpdateListReport();
    resizeEvent(nullptr);
}
