#include "app/manualview.h"

#include "app/myqwebengineview.h"
#include "base/apppaths.h"
#include "style/appstyle.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPushButton>
#include <QResizeEvent>

void loadGuidePage(MyQWebEngineView *view, const QString &path)
{
    if (QFileInfo(path).isFile()) {
        view->load(QUrl::fromLocalFile(path));
        return;
    }
    view->setHtml(QStringLiteral("<html><body style=\"font-family: sans-serif; margin: 30px;\">"
                                 "<h2>The guide is missing</h2><p>The page ")
                      + path.toHtmlEscaped()
                      + QStringLiteral(" could not be found. Installing the program again "
                                       "brings the guide back.</p></body></html>"),
                  QUrl());
}

CManualVieW::CManualVieW(CAppStyle *style, bool *hideFlag, QWidget *parent)
    : QDialog(parent)
    , m_Style(style)
    , m_HideFlag(hideFlag)
{
    setWindowTitle(QStringLiteral("Lumaro Numerology"));
    setMinimumSize(600, 300);
    setMaximumSize(1280, 800);
    resize(800, 600);

    m_View = new MyQWebEngineView(this);
    m_View->move(10, 10);
    loadGuidePage(m_View, getImagesPath() + QStringLiteral("manual/manual/start.html"));

    m_OkButton = new QPushButton(QStringLiteral("Ok"), this);
    m_OkButton->resize(100, 20);
    m_HideBox = new QCheckBox(QStringLiteral("Do not show this dialog again"), this);
    m_HideBox->resize(200, 20);
    if (m_Style) {
        m_Style->setWidgetStyle(m_OkButton, WTButton);
        m_Style->setWidgetStyle(m_HideBox, WTCheckBox);
    }
    // 200 pixels cut the caption short with the wider desktop fonts.
    m_HideBox->resize(qMax(200, m_HideBox->sizeHint().width()), 20);
    connect(m_OkButton, &QPushButton::clicked, this, &CManualVieW::OnOk);
}

CManualVieW::~CManualVieW() = default;

void CManualVieW::OnOk()
{
    if (m_HideBox->isChecked() && m_HideFlag)
        *m_HideFlag = true;
    close();
}

void CManualVieW::resizeEvent(QResizeEvent *event)
{
    const int w = event->size().width();
    const int h = event->size().height();
    m_HideBox->move(10, h - 30);
    m_OkButton->move((w - m_OkButton->width()) / 2, h - 30);
    m_View->resize(w - 20, h - 50);
    QDialog::resizeEvent(event);
}
