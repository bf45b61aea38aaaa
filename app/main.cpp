#include "app/startup.h"
#include "app/zqnum.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    qputenv("QT_AUTO_SCREEN_SCALE_FACTOR", "1");
    Startup::prepareWebEngine();

    // The web engine keeps its same-origin rules: report pages load their
    // pictures as file pages may, and ReportAccess refuses everything else.
    QApplication app(argc, argv);

    const QString problem = Startup::webEngineProblem();
    if (!problem.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Lumaro Numerology"), problem);
        return 1;
    }
    if (!Startup::prepare())
        return 0;

    CZQNum *window = new CZQNum(nullptr, Qt::WindowFlags());
    window->show();
    const int result = app.exec();
    // Stores the settings and the recent people.
    delete window;
    return result;
}
