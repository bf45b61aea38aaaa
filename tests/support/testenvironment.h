#pragma once

#include <QString>

// Every test executable runs with HOME and the XDG folders pointed at a fresh
// temporary folder, set up before main() and removed at exit, so that no test
// reads or writes the real user's settings, layouts or documents.
namespace TestEnvironment {

// The temporary home folder of this test run.
QString homePath();

// tests/data in the source tree, where the golden files live.
QString dataPath(const QString &relative = QString());

} // namespace TestEnvironment
