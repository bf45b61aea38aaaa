#pragma once

#include <QString>
#include <QStringList>

// What main() does before the main window exists.
namespace Startup {

// Shows the agreement and returns whether the user accepted it; the
// agreement dialog unless a test puts its own function here.
using AgreementFunction = bool (*)();
extern AgreementFunction askAgreement;

// The agreement is asked until the program has once been closed normally,
// which is when the settings file is first written.
bool agreementNeeded(const QString &settingsPath);

// Copies every "*.lnr" of sourceFolder that userFolder does not hold under
// the same name; a template the user already has is never overwritten.
// Returns the names copied.
QStringList copyMissingTemplates(const QString &sourceFolder, const QString &userFolder);

// Settings the web engine reads when it starts, made before QApplication
// exists.
void prepareWebEngine();

// Why the web engine cannot start here (its helper program or its resource
// file is missing), for a message box; empty when nothing stands in its way.
QString webEngineProblem();

// The one message start-up shows about the layout files of the user folder
// it could not take, a line each as the folder scan names them; empty when
// there are none.
QString refusedLayoutsMessage(const QStringList &refused);

// The agreement at the first start, the user folder and the shipped chart
// templates; false when the user declined and the program must end.
bool prepare();

} // namespace Startup
