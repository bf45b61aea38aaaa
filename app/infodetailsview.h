#pragma once

#include <QDialog>

class CAppStyle;
class MyQWebEngineView;

// The help pop-up of a result panel's row: one self-contained page (every
// picture inline) filling the whole dialog.
class CInfoDetailsView : public QDialog
{
    Q_OBJECT

public:
    CInfoDetailsView(CAppStyle *style, const QString &html, QWidget *parent = nullptr);
    ~CInfoDetailsView() override;

    MyQWebEngineView *m_View = nullptr;
    QString m_Html;

protected:
    void resizeEvent(QResizeEvent *event) override;
};
