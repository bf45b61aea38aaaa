#pragma once

#include "app/pdfexport.h"
#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "layouts/reportsetting.h"

#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class CAppStyle;
class QWidget;

// A chart template or report layout from outside, put once through the
// work the program will do with it, by the program's own code: read, drawn,
// exported and opened in its editor (a template), or read, built into the
// largest reading a person and a partner can get, shown, printed and opened
// in the section editor (a layout). Before each unit of work it names it,
// so that whoever watches can tell which one a file makes too heavy. It
// writes nothing but files in a temporary folder of its own, removed with it,
// and points the web engine's storage there. While it exists, the program's
// message boxes and the opening of a finished PDF do nothing.
class TrialWork
{
public:
    enum class Kind { Template, Layout };

    struct Outcome
    {
        bool accepted = false;
        // The program's words for a file it refuses; empty when accepted.
        QString message;
    };

    // Called before each step with what the program is doing, in words that
    // read after the file's name ("drawing page \"Page 1\" for export").
    using StepFunction = std::function<void(const QString &step)>;

    explicit TrialWork(StepFunction step);
    ~TrialWork();
    TrialWork(const TrialWork &) = delete;
    TrialWork &operator=(const TrialWork &) = delete;

    // "template" or "layout"; false for anything else.
    static bool kindFromName(const QString &name, Kind *kind);

    Outcome run(Kind kind, const QString &path);
    Outcome tryTemplate(const QString &path);
    Outcome tryLayout(const QString &path);

    // The chart board of the Graphic Chart page in the main window as it
    // opens.
    static QSize boardSize();

    // A copy of layout in which the entries of each section that the sample
    // person, partner and pet are shown hold the section's own texts,
    // longest first: the largest reading people with their numbers can get.
    static reportSetting longestTexts(const reportSetting &layout);

private:
    // The readings the main window builds for a person, a partner, their
    // psycho-matrices and compatibility, the celebrities and a pet.
    struct Readings
    {
        Readings();
        void build(QList<reportSetting> *layouts, const StepFunction &step);
        QStringList documents() const;
        CNumerology person, partner, celebrities, pet;
        CNumerologyPMatrix personMatrix, partnerMatrix;
        CCompNumerology compatibility;
    };

    // Starts the web engine once, with its storage in the temporary folder.
    void startWebEngine();
    bool showReadings(const QStringList &captions, const QStringList &documents, QString *problem);
    bool printReadings(const QString &joined, QString *problem);
    void editSections(const reportSetting &layout);

    StepFunction m_step;
    QTemporaryDir m_folder;
    std::unique_ptr<CAppStyle> m_style;
    bool m_webEngineStarted = false;
    // What the replaced seams held before.
    void (*m_criticalMessage)(QWidget *, const QString &, const QString &);
    void (*m_criticalBox)(QWidget *, const QString &, const QString &);
    GenPDFfromHTML::UrlOpener m_urlOpener;
    // The trial itself takes every file as it is.
    bool m_runTrials;
};
