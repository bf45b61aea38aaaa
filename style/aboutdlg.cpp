#include "aboutdlg.h"

#include "dialogsupport.h"
#include "makerinfo.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>

CAboutDlg::CAboutDlg(QImage *logo, QImage *second, QWidget *parent)
    : QDialog(parent)
    , logoImage(logo)
    , secondImage(second)
{
    setStyleSheet(qsGlobalDlgStyle);
    resize(400, 220);
    setMinimumSize(400, 220);
    setMaximumSize(400, 220);
    setWindowTitle(QStringLiteral("About"));

    visitButton = new QPushButton(QStringLiteral("Visit Lumaro"), this);
    visitButton->resize(120, 30);
    visitButton->move(width() / 2 - 135, height() - 40);
    connect(visitButton, &QPushButton::clicked, this, &CAboutDlg::OnVisit);

    closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->resize(120, 30);
    closeButton->move(width() / 2 + 15, height() - 40);
    connect(closeButton, &QPushButton::clicked, this, &CAboutDlg::OnOk);
}

void CAboutDlg::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    if (logoImage && !logoImage->isNull())
        painter.drawImage((width() - logoImage->width()) / 2, 30, *logoImage);

    painter.setFont(QFont(QStringLiteral("Arial"), 11));
    painter.setPen(QPen(QColor(156, 182, 45), 2));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QString version = QStringLiteral("Version ") + QString::number(MakerInfo::versionMajor)
        + QLatin1Char('.') + QString::number(MakerInfo::versionMinor) + QLatin1Char('.')
        + QString::number(MakerInfo::versionPatch);
    painter.drawText(QRect(0, 99, width(), 24), Qt::AlignCenter, version);

    painter.setFont(QFont(QStringLiteral("Arial"), 16));
    painter.drawText(QRect(0, 129, width(), 30), Qt::AlignCenter,
                     QStringLiteral("Lumaro Numerology Omnara"));
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent *) { }

void CAboutDlg::OnOk()
{
    reject();
}

void CAboutDlg::OnVisit()
{
    accept();
}
