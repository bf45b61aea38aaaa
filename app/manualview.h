#pragma once

#include <QDialog>

class CAppStyle;
class MyQWebEngineView;
class QCheckBox;
class QPushButton;

// Loads a page of the guide into a view; a page that is not there gets a
// short notice instead of a blank view.
void loadGuidePage(MyQWebEngineView *view, const QString &path);

// The guide's welcome page, offered at the end of start-up until the user
// ticks "Do not show this dialog again" and leaves with "Ok".
class CManualVieW : public QDialog
{
    Q_OBJECT

public:
    // hideFlag is the owner's flag; only "Ok" with the box ticked sets it.
    CManualVieW(CAppStyle *style, bool *hideFlag, QWidget *parent = nullptr);
    ~CManualVieW() override;

    CAppStyle *m_Style = nullptr;
    MyQWebEngineView *m_View = nullptr;
    QPushButton *m_OkButton = nullptr;
    QCheckBox *m_HideBox = nullptr;
    bool *m_HideFlag = nullptr;

public slots:
    void OnOk();

protected:
    void resizeEvent(QResizeEvent *event) override;
};
