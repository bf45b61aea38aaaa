#pragma once

#include <QMainWindow>

class QLabel;

// The program's main window. For now it holds only the start-up splash and
// loads the readings database; the tool pages, panels and menus come with
// the main window's own work.
class CZQNum : public QMainWindow
{
    Q_OBJECT

public:
    explicit CZQNum(QWidget *parent = nullptr);

    // Loads the readings database from the resources folder into the text
    // tables, once, before any engine object exists.
    void loadDB();

private:
    QLabel *m_splash = nullptr;
};
