#include "app/zqnum.h"
#include "engine/apppaths.h"

#include <QApplication>
#include <QDir>

#include <vector>

namespace {

// Templates the user already has, under the same name, are never overwritten,
// so edited templates keep their content; deleted ones come back.
void copyShippedTemplates()
{
    const QString userFolder = getUserFolder();
    const QString sourceFolder = getResourcesPath() + QStringLiteral("images/templates");
    const QStringList filter{QStringLiteral("*.lnr")};
    const QStringList present = QDir(userFolder).entryList(filter);
    const QStringList shipped = QDir(sourceFolder).entryList(filter);
    for (const QString &name : shipped) {
        if (!present.contains(name))
            QFile::copy(sourceFolder + QLatin1Char('/') + name, userFolder + QLatin1Char('/') + name);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_AUTO_SCREEN_SCALE_FACTOR", "1");

    // The report pages load pictures from the resources folder while being
    // served from memory, so the web engine must not apply same-origin rules.
    std::vector<char *> args(argv, argv + argc);
    char disableWebSecurity[] = "--disable-web-security";
    args.push_back(disableWebSecurity);
    args.push_back(nullptr);
    int count = argc + 1;

    QApplication app(count, args.data());

    QDir().mkpath(getUserFolder());
    copyShippedTemplates();

    CZQNum window;
    window.show();
    return app.exec();
}
