#include "app/infodetailsview.h"

#include "app/myqwebengineview.h"
#include "app/reportaccess.h"

#include <QDir>
#include <QResizeEvent>
#include <QShortcut>
#include <QTemporaryFile>

CInfoDetailsView::CInfoDetailsView(CAppStyle *style, const QString &html, QWidget *parent)
    : QDialog(parent)
    , m_Html(html)
{
    Q_UNUSED(style)
    setWindowTitle(QStringLiteral("Lumaro Numerology"));
    setMinimumSize(600, 300);
    setMaximumSize(1280, 800);
    resize(600, 500);

    // The page view keeps the keyboard focus; Escape still closes the
    // pop-up as in any dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QDialog::reject);

    m_View = new MyQWebEngineView(this);
    m_View->resize(size());
    const QByteArray utf8 = html.toUtf8();
    if (utf8.size() < InlineLimit) {
        m_View->setHtml(html, QUrl());
        return;
    }
    m_PageFile
        = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/lumaro-helpXXXXXX.html"), this);
    if (m_PageFile->open() && m_PageFile->write(utf8) == utf8.size() && m_PageFile->flush()) {
        m_PageFile->close();
        ReportAccess::allowPageFile(m_PageFile->fileName());
        m_View->load(QUrl::fromLocalFile(m_PageFile->fileName()));
    } else {
        m_View->setHtml(QStringLiteral("<html><body><p>This help page could not be shown: "
                                       "there is no room for it in the temporary folder.</p>"
                                       "</body></html>"),
                        QUrl());
    }
}

CInfoDetailsView::~CInfoDetailsView()
{
    if (m_PageFile)
        ReportAccess::forgetPageFile(m_PageFile->fileName());
}

void CInfoDetailsView::resizeEvent(QResizeEvent *event)
{
    m_View->resize(event->size());
    QDialog::resizeEvent(event);
}
