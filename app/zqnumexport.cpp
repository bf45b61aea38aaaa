// Saving, exporting and printing from the main window: the window hands its
// engines and the chart to one CReportExport and asks through its own
// replaceable dialogs.

#include "app/zqnum.h"

#include "app/reportexport.h"
#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/infodlg.h"

#include <QCheckBox>
#include <QStandardPaths>

namespace {

// The export with the main window's file and dialog seams.
class CWindowReportExport : public CReportExport
{
public:
    explicit CWindowReportExport(CZQNum *window)
        : CReportExport(window, window)
        , m_main(window)
    {
    }

protected:
    QString getSaveFileName(const QString &caption, const QString &filter) override
    {
        return CZQNum::askFileName(
            true, caption, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
            filter);
    }
    bool askQuestion(QWidget *parent, const QString &title, const QString &text) override
    {
        return CInfoDlgWin::showAskMessageBox(m_main->m_Style, title, text, parent) == 0;
    }
    int execDialog(QDialog *dialog) override { return CZQNum::execDialog(dialog); }

private:
    CZQNum *m_main;
};

} // namespace

void CZQNum::buildExport()
{
    m_Export = new CWindowReportExport(this);
    CReportExport::Sources sources;
    sources.numerology = m_Person;
    sources.psychoMatrix = m_PersonMatrix;
    sources.compatibility = m_Comp;
    sources.celebrities = m_Celebrity;
    sources.pet = m_Pet;
    sources.nameAdvisor = m_Analyzer;
    m_Export->setSources(sources);
    m_Export->chartImage = [this] {
        return getChart(QSize(0, 0));
    };
    // The report shows the chart at most 600 x 800; twice that prints
    // sharply, while the full resolution would make the PDF ten times slower.
    // The chart comes drawn on white and opaque: the report takes it as it
    // is, without a copy drawn again and kept besides.
    m_Export->renderChart = [this](QImage *canvas, QString *error) {
        *canvas = getChart(QSize(1200, 1600), error);
        return !canvas->isNull();
    };
}

void CZQNum::OnExportHTML()
{
    m_Export->exportHtml(m_CurrentPage);
}

void CZQNum::OnExportPDFAll()
{
    m_Export->exportPdfAll(m_Chaldean->isChecked(), m_Style->updateColor(qsGlobalDlgStyle));
}
