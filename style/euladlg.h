#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The end-user licence agreement shown at the first start. result stays -1
// unless the user presses "Accept"; the caller sets the window title.
class CEulaDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CEulaDlg(QWidget *parent = nullptr);

    // The agreement, lines separated by CR LF.
    static QString agreementText();

    QPushButton *acceptButton = nullptr;
    QPushButton *rejectButton = nullptr;
    QPlainTextEdit *textField = nullptr;
    int result = -1;

public Q_SLOTS:
    void OnOk();
    void OnCancel();
};
