#include "zqnum.h"

#include "engine/apppaths.h"
#include "engine/readingsdb.h"

#include <QLabel>
#include <QPixmap>

CZQNum::CZQNum(QWidget *parent)
    : QMainWindow(parent)
{
    loadDB();

    setWindowTitle(QStringLiteral("Lumaro Numerology"));
    resize(1024, 720);

    m_splash = new QLabel(this);
    m_splash->setAlignment(Qt::AlignCenter);
    m_splash->setStyleSheet(QStringLiteral(
        "QLabel { background: #2c2420; border: none; color: #eddbb2; font: 24px; }"));
    const QPixmap logo(getImagesPath() + QStringLiteral("logoh.png"));
    if (!logo.isNull())
        m_splash->setPixmap(logo);
    else
        m_splash->setText(QStringLiteral(
            "Loading...\r\n\r\n\r\nThank You for using Lumaro Numerology,\r\n"
            "The World's most advanced Numerology application!"));
    setCentralWidget(m_splash);
}

void CZQNum::loadDB()
{
    loadReadingsDatabase(readingsDatabasePath());
}
