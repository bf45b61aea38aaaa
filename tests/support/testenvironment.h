#pragma once

#include <QString>

#include <functional>

// Every test executable runs with HOME and the XDG folders pointed at a fresh
// temporary folder, set up before main() and removed at exit, so that no test
// reads or writes the real user's settings, layouts or documents.
namespace TestEnvironment {

// Tests check behaviour, never speed: the whole suite beside other work may
// run many times slower than one test on an idle machine.
// How long a test waits for a window, a web view or an animation to get
// where it should; the wait ends as soon as it has.
constexpr int WaitMs = 60000;
// How long one step on damaged or hostile input may take before it counts
// as a hang (such steps take milliseconds).
constexpr int HangGuardMs = 10000;

// Waits in a real event loop until done() holds or timeoutMs has passed;
// returns done(). The web engine hands its work between threads in many
// small steps: QTest::qWait sleeps between rounds of events, which makes a
// load or a print many times slower and, on a busy machine, outlasts any
// limit.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = WaitMs);

// The temporary home folder of this test run.
QString homePath();

// tests/data in the source tree, where the golden files live.
QString dataPath(const QString &relative = QString());

} // namespace TestEnvironment
