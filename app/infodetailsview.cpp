#include "app/infodetailsview.h"

#include "app/myqwebengineview.h"

#include <QResizeEvent>
#include <QShortcut>

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
    m_View->setHtml(html, QUrl());
}

CInfoDetailsView::~CInfoDetailsView() = default;

void CInfoDetailsView::resizeEvent(QResizeEvent *event)
{
    m_View->resize(event->size());
    QDialog::resizeEvent(event);
}
