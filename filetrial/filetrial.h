#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

// Shared chart templates and report layouts are tried before the program
// first works with them: a child process does with the file what the program
// will do (reads it, draws or builds with it, shows and prints it, opens it
// in the editor) while this side measures the CPU time of each step and the
// memory of the child and everything it starts, and ends it as soon as one
// limit passes. What passes is used; what fails is refused with the step
// named. The verdict is kept (TrialCache), so a file is tried once.
namespace FileTrial {

enum class Kind { Template, Layout };

struct Options
{
    // CPU time of one step of the child and its processes together.
    double stepCpuSeconds = 2;
    // Proportional memory of the child and its processes together.
    qint64 memoryBytes = qint64(768) << 20;
    // The whole trial, start-up included, in wall-clock time.
    int totalMs = 10000;
    // The child program and the arguments before the kind and the path;
    // empty: lumaro_trial beside this executable.
    QString program;
    QStringList arguments;
    bool useCache = true;
    // Off in the child itself, which does what the program would do with
    // the file: there every file is taken as it is.
    bool runTrials = true;
    // Whether the program's own files are taken untried.
    bool shippedUntried = true;
    // Told of every step the child ended, with the CPU time it took.
    std::function<void(const QString &step, double cpuSeconds)> stepEnded;
};

// What every trial of this process runs with unless told otherwise.
Options &defaultOptions();

struct Verdict
{
    bool accepted = false;
    // For a refusal, a sentence for the user naming the file and the step.
    QString reason;
    // Taken from an earlier trial of the same content.
    bool cached = false;
};

// Tries the file, keeping the window responsive meanwhile (a nested event
// loop) and showing that the file is being checked. Files shipped with the
// program are accepted untried, and so is a file whose verdict this process
// or an earlier one reached for the same content; a call for a file that is
// being tried already waits for that trial.
Verdict tryFile(const QString &path, Kind kind, const Options &options = defaultOptions());

// Whether path is one of the program's own files, which need no trial: it
// lies in the resources folder or is a copy of a chart template there.
bool isShipped(const QString &path);

// How the child names the trial it is to run.
QString kindName(Kind kind);

} // namespace FileTrial
