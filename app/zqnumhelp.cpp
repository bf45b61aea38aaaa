// The main window's explanations: the help pop-ups behind the result panels,
// the guide, and the Help, Support and About commands.

#include "app/zqnum.h"

#include "app/helppage.h"
#include "app/infodetailsview.h"
#include "app/manualview.h"
#include "app/reportexport.h"
#include "style/aboutdlg.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/makerinfo.h"

#include <QDesktopServices>
#include <QUrl>

QPoint MainWindowLayout::centredOver(const QRect &window, const QSize &dialog)
{
    return QPoint(qMax(0, window.x() + (window.width() - dialog.width()) / 2),
                  qMax(0, window.y() + (window.height() - dialog.height()) / 2));
}

void CZQNum::MFitemCliked(int row)
{
    const HelpPage::Entry entry = HelpPage::mainFeatures(row);
    if (entry.isValid())
        showHelper(entry.topic, entry.picture);
}

void CZQNum::AFitemCliked(int row)
{
    const HelpPage::Entry entry = HelpPage::additionalFeatures(row);
    if (entry.isValid())
        showHelper(entry.topic, entry.picture);
}

void CZQNum::LCitemCliked(int row)
{
    const HelpPage::Entry entry = HelpPage::lifeCycles(row);
    if (entry.isValid())
        showHelper(entry.topic, entry.picture);
}

void CZQNum::PMitemCliked(int index)
{
    const HelpPage::Entry entry = HelpPage::psychoMatrix(index);
    if (entry.isValid())
        showHelper(entry.topic, entry.picture);
}

void CZQNum::showHelper(int topic, const QString &picture)
{
    const QString path = picture.isEmpty() ? QString() : m_ImagesFolder + picture;
    QString page;
    embedImagesToHtml(HelpPage::build(topic, path), page);
    if (page.isEmpty())
        return;
    CInfoDetailsView *view = new CInfoDetailsView(m_Style, page, this);
    execDialog(view);
    delete view;
}

void CZQNum::setFullManual()
{
    loadGuidePage(m_GuideView, m_ImagesFolder + QStringLiteral("manual/index.html"));
}

void CZQNum::showStartPage()
{
    if (m_Settings.hideStartDialog)
        return;
    CManualVieW *start = new CManualVieW(m_Style, &m_Settings.hideStartDialog, this);
    execDialog(start);
    delete start;
}

void CZQNum::OnHelp()
{
    // The guide ships with the program; Help opens it at its first page.
    setFullManual();
    setMode(MainWindowLayout::PageGuide);
}

void CZQNum::OnSupport()
{
    QDesktopServices::openUrl(
        QUrl(QStringLiteral("mailto:") + QString::fromLatin1(MakerInfo::supportMailbox)
             + QStringLiteral("?Subject=Support request for")
             + QStringLiteral(" Lumaro Numerology Omnara") + QStringLiteral(" for Win")));
}

void CZQNum::OnAbout()
{
    CAboutDlg *dialog = new CAboutDlg(&m_LogoImage, &m_LogoImage, this);
    dialog->move(MainWindowLayout::centredOver(QRect(pos(), size()), dialog->size()));
    // Polished first: a sheet replaced on an unpolished dialog keeps the
    // rules its children already took from the constructor's sheet.
    dialog->ensurePolished();
    dialog->setStyleSheet(m_Style->updateColor(qsGlobalDlgStyle));
    if (execDialog(dialog) == QDialog::Accepted)
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(MakerInfo::productPage)));
    delete dialog;
}
