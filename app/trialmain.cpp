// lumaro_trial: puts one shared chart template or report layout through the
// program's work with it, for the program that starts it and watches it.
//
//   lumaro_trial template <path>
//   lumaro_trial layout <path>
//
// Writes on standard output one line before each step ("step <what>"), then
// "accepted", or "refused <message>" when the program's own code refuses the
// file; both end with exit status 0. Wrong arguments: exit status 2.

#include "app/startup.h"
#include "app/trialwork.h"

#include <QApplication>

#include <cstdio>

namespace {

// The watching program reads each line as it comes.
void writeLine(const QString &line)
{
    const QByteArray utf8 = line.toUtf8() + '\n';
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    // Nothing of the trial is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Startup::prepareWebEngine();
    QApplication app(argc, argv);

    const QStringList arguments = QCoreApplication::arguments();
    TrialWork::Kind kind = TrialWork::Kind::Template;
    if (arguments.size() != 3 || !TrialWork::kindFromName(arguments.at(1), &kind)) {
        std::fprintf(stderr, "usage: lumaro_trial template|layout <path>\n");
        return 2;
    }
    const QString problem = Startup::webEngineProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }

    TrialWork work([](const QString &step) { writeLine(QStringLiteral("step ") + step); });
    const TrialWork::Outcome outcome = work.run(kind, arguments.at(2));
    writeLine(outcome.accepted ? QStringLiteral("accepted")
                               : QStringLiteral("refused ") + outcome.message);
    return 0;
}
