#include "infodlg.h"

#include "appstyle.h"
#include "dialogsupport.h"

#include <QLabel>
#include <QPushButton>

namespace {

CInfoDlgWin::MessageBoxHandler messageBoxHandler = nullptr;

} // namespace

CInfoDlg::CInfoDlg(CAppStyle *style, QWidget *parent, double scaleFactor, int width)
    : QWidget(parent)
    , appStyle(style)
    , scale(scaleFactor == 0 ? 1.0 : scaleFactor)
    , contentWidth(width)
{
    const int buttonWidth = int(80 * scale);
    const int buttonHeight = int(20 * scale);
    okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->resize(buttonWidth, buttonHeight);
    connect(okButton, &QPushButton::clicked, this, &CInfoDlg::OnOk);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->resize(buttonWidth, buttonHeight);
    connect(cancelButton, &QPushButton::clicked, this, &CInfoDlg::OnCancel);

    textLabel = new QLabel(this);
    textLabel->setAlignment(Qt::AlignCenter);

    initStyle();

    const int w = int(contentWidth * scale);
    const int h = int(230 * scale);
    textLabel->resize(w - 32, h - 80);
    textLabel->move(16, 20);
    okButton->move(int(w / 2 + 10 * scale), int(h - 30 * scale));
    cancelButton->move(int(w / 2 - 90 * scale), int(h - 30 * scale));
}

void CInfoDlg::initStyle()
{
    QWidget *frame = parentWidget();
    if (appStyle) {
        if (frame)
            appStyle->setWidgetStyle(frame, WTWindow);
        appStyle->setWidgetStyle(okButton, WTOkButton);
        appStyle->setWidgetStyle(cancelButton, WTCancelButton);
    }
    textLabel->setStyleSheet(QStringLiteral("font-size: ") + QString::number(12 * scale)
                             + QStringLiteral("px;"));

    const QSize size(int(contentWidth * scale), int(230 * scale));
    resize(size);
    if (!frame)
        return;
    frame->setWindowTitle(QStringLiteral("Information"));
    frame->resize(size);
    frame->setFixedSize(size);
    frame->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint
                          | Qt::WindowCloseButtonHint);
    if (QWidget *owner = frame->parentWidget()) {
        frame->move(centredOverParent(owner, size));
        ASCheckScreenBoundary(frame);
    }
}

void CInfoDlg::OnOk()
{
    result = 0;
    if (parentWidget())
        parentWidget()->close();
}

void CInfoDlg::OnCancel()
{
    result = -1;
    if (parentWidget())
        parentWidget()->close();
}

CInfoDlgWin::CInfoDlgWin(CAppStyle *style, QWidget *parent, double scale, int width)
    : QDialog(parent)
{
    content = new CInfoDlg(style, this, scale, width);
}

CInfoDlgWin::MessageBoxHandler CInfoDlgWin::setMessageBoxHandler(MessageBoxHandler handler)
{
    const MessageBoxHandler previous = messageBoxHandler;
    messageBoxHandler = handler;
    return previous;
}

int CInfoDlgWin::runMessageBox(MessageKind kind, CAppStyle *style, const QString &title,
                               const QString &text, QWidget *parent)
{
    if (messageBoxHandler)
        return messageBoxHandler(kind, title, text, parent);

    auto frame = new CInfoDlgWin(style, parent, 0, 400);
    frame->setWindowTitle(title);
    CInfoDlg *content = frame->content;
    content->textLabel->setText(text);
    if (kind == AskMessage) {
        content->okButton->setText(QStringLiteral("Yes"));
        content->cancelButton->setText(QStringLiteral("No"));
    } else {
        content->okButton->move(content->okButton->x() - 50, content->okButton->y());
        content->cancelButton->hide();
    }
    frame->exec();
    const int result = content->result;
    delete frame;
    return result;
}

int CInfoDlgWin::showAskMessageBox(CAppStyle *style, const QString &title, const QString &text,
                                   QWidget *parent)
{
    return runMessageBox(AskMessage, style, title, text, parent);
}

int CInfoDlgWin::showInfoMessageBox(CAppStyle *style, const QString &title, const QString &text,
                                    QWidget *parent)
{
    return runMessageBox(InfoMessage, style, title, text, parent);
}
