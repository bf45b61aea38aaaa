#pragma once

#include <QWidget>

class QPushButton;
class CIconList;

// The side panel of the designer that lists the template's pages and its
// reusable blocks as two thumbnail strips, each with buttons to add, delete
// and edit its entries. The designer window fills the strips and connects
// the buttons; the panel lays them out and polls the strips' drags.
class CReportPEPages : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PollMs = 30;
    static constexpr int ButtonSize = 20;

    // dragHost is the widget a dragged tile may float over; by default the
    // panel's third ancestor, which is what the designer window's layout
    // gives.
    explicit CReportPEPages(QWidget *parent = nullptr, QWidget *dragHost = nullptr);
    ~CReportPEPages() override;

    void updateLists() { }
    QWidget *dragHost() const { return m_dragHost; }

    QPushButton *addBlockButton;
    QPushButton *deleteBlockButton;
    QPushButton *blockPropertiesButton;
    QPushButton *addPageButton;
    QPushButton *deletePageButton;
    QPushButton *pagePropertiesButton;
    CIconList *pagesList;
    CIconList *blocksList;

protected:
    void timerEvent(QTimerEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *m_dragHost;
    int m_timerId = 0;
};
