#pragma once

#include <QDialog>
#include <QWidget>

class CAppStyle;
class QLabel;
class QPushButton;

// The content of the program's own styled message box: a centred text and
// two buttons. The frame CInfoDlgWin is its parent; callers that need more
// (an input field) add their own widgets to it.
class CInfoDlg : public QWidget
{
    Q_OBJECT

public:
    // A scale of 0 stands for 1.0; width is the content width before scaling.
    CInfoDlg(CAppStyle *style, QWidget *parent, double scale, int width);

    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    CAppStyle *appStyle = nullptr;
    QLabel *textLabel = nullptr;
    // -1 until "Ok"; "Cancel" sets it back to -1.
    int result = -1;
    double scale = 1.0;
    int contentWidth = 400;

public Q_SLOTS:
    void OnOk();
    void OnCancel();

private:
    void initStyle();
};

class CInfoDlgWin : public QDialog
{
    Q_OBJECT

public:
    CInfoDlgWin(CAppStyle *style, QWidget *parent, double scale = 0, int width = 400);

    CInfoDlg *content = nullptr;

    // 0 for "Yes", -1 for "No" or a closed box.
    static int showAskMessageBox(CAppStyle *style, const QString &title, const QString &text,
                                 QWidget *parent);
    // 0 after "Ok", -1 when the box was closed.
    static int showInfoMessageBox(CAppStyle *style, const QString &title, const QString &text,
                                  QWidget *parent);

    // Tests of code that asks questions replace the modal run of the two
    // boxes above: the handler receives what the box would show and returns
    // its result. nullptr restores the real boxes. Returns the previous one.
    enum MessageKind { AskMessage, InfoMessage };
    using MessageBoxHandler
        = int (*)(MessageKind kind, const QString &title, const QString &text, QWidget *parent);
    static MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

private:
    static int runMessageBox(MessageKind kind, CAppStyle *style, const QString &title,
                             const QString &text, QWidget *parent);
};
