#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class CReportTools;
class GenPDFfromHTML;
class QDialog;
class QTextStream;
class QWidget;

// "data:image/png;base64," followed by the image as PNG.
QString imageToBase64(const QImage &image);

// Picture inlining for documents that travel on their own, so that they
// fetch nothing when they are opened. Every "<img src=\"" reference (blanks
// around the equals sign allowed, as the builder writes its own pictures)
// becomes a data URI of a picture decoded here and encoded again: a file in
// the resources folder or the user's folder (isPictureUrl), or a data: URI
// that holds a raster picture. Any other reference, and one that does not
// decode, becomes an empty picture. A reference without its closing quote
// ends the document.
//
// String form, for the joined PDF report: a picture file is put on white
// behind a 20 pixel left margin and encoded as PNG, and its tag gets an
// hspace of 50; a picture carried as data is encoded as it is.
void embedImagesToHtml(const QString &html, QString &out);
// Stream form, for the saved HTML report: pictures unframed, a JPEG as JPEG
// and anything else as PNG.
void embedImagesToHtml(const QString &html, QTextStream &out);

// Saving the reading of the current page as HTML or the chart as a picture,
// and joining all readings into one PDF, for the main window. The window
// hands in its engines and the chart rendering; the dialogs and message
// boxes are virtual so that they can be replaced.
class CReportExport : public QObject
{
    Q_OBJECT

public:
    // The tool pages of the main window, as the exports see them.
    enum Page {
        PageNumerology = 0,
        PagePsychoMatrix = 1,
        PageCompatibility = 2,
        PageCelebrities = 3,
        PagePet = 4,
        PageChart = 5,
        PageNameAdvisor = 6,
        PageForecast = 7,
        PageGuide = 8
    };

    // The sections the user ticks for the PDF, in the order of the boxes.
    enum Section {
        SectionNumerology,
        SectionPsychoMatrix,
        SectionCompatibility,
        SectionCelebrities,
        SectionChart,
        SectionCount
    };
    using SectionFlags = std::array<bool, SectionCount>;

    // The reading objects whose documents are exported; a missing one
    // counts as a reading that was not run.
    struct Sources
    {
        const CReportTools *numerology = nullptr; // the person's reading
        const CReportTools *psychoMatrix = nullptr; // the person's psycho-matrix
        const CReportTools *compatibility = nullptr;
        const CReportTools *celebrities = nullptr;
        const CReportTools *pet = nullptr;
        const CReportTools *nameAdvisor = nullptr;
    };

    explicit CReportExport(QWidget *window, QObject *parent = nullptr);
    ~CReportExport() override;

    void setSources(const Sources &sources) { m_sources = sources; }
    const Sources &sources() const { return m_sources; }

    // The chart of the Graphic Chart page at full size, for "Save Report".
    std::function<QImage()> chartImage;
    // Renders the chosen chart template for the PDF into *canvas; false
    // when there is no template to render, with the reason in *error when
    // the chosen one cannot be shown.
    std::function<bool(QImage *canvas, QString *error)> renderChart;

    // "Save Report": the reading of the given page as HTML, or the chart as
    // a picture on the Graphic Chart page. Nothing is written on the Guide.
    void exportHtml(int page);
    // "Save All Reports to PDF" and "Print". The caption of the first box
    // follows the Chaldean choice; the dialog takes the given style sheet.
    void exportPdfAll(bool chaldean, const QString &dialogStyleSheet = QString());

    // Asks which sections go into the PDF; true when the dialog was
    // accepted. The flags follow the boxes either way.
    bool askReportsList(bool chaldean, const QString &dialogStyleSheet = QString());
    // Joins the readings and starts the PDF job writing pdfPath.
    void generateReport(const QString &pdfPath);

    // Shows the critical message box with one OK button; replaceable so that
    // a test of the main window never blocks on it.
    static void (*criticalBox)(QWidget *parent, const QString &title, const QString &text);

    bool reportInProgress() const { return m_reportInProgress; }
    const SectionFlags &sectionFlags() const { return m_sectionFlags; }
    GenPDFfromHTML *currentJob() const { return m_job; }

    // The joined report: the readings in their fixed order, each followed
    // by a page break, then the chart when its section is ticked (a null
    // canvas gives an empty picture).
    static QString joinReports(const Sources &sources, const SectionFlags &flags,
                               const QImage &chartCanvas);
    // The chart paragraph of the joined report.
    static QString chartParagraph(const QImage &canvas);
    // Writes a reading as a self-contained HTML file; false with a reason
    // in *error when the file could not be written completely.
    static bool writeReportHtml(const QString &document, const QString &fileName,
                                QString *error = nullptr);
    // Writes the chart in the format the file name's suffix names.
    static bool writeChartImage(const QImage &image, const QString &fileName,
                                QString *error = nullptr);

public slots:
    void OnBgTaskFinished(bool success);

protected:
    // Replaceable dialogs: a save-file dialog starting in Documents that
    // does not ask whether to replace a file (askSaveName does), a critical
    // message box with one OK button, a question answered Yes (true) or No,
    // and a modal run of a dialog.
    virtual QString getSaveFileName(const QString &caption, const QString &filter);
    virtual void showCritical(QWidget *parent, const QString &title, const QString &text);
    virtual bool askQuestion(QWidget *parent, const QString &title, const QString &text);
    virtual int execDialog(QDialog *dialog);

private:
    // The file to write in one of the formats' suffixes, the first one
    // appended to any other name; empty when the dialog was cancelled or
    // the file of that name exists and is not to be replaced.
    QString askSaveName(const QString &caption, const QString &filter, const QStringList &suffixes);
    bool documentOfPage(int page, QString *document) const;
    // Shows the busy cursor over the program from the start of a job to
    // its end, whichever way it ends.
    void setBusy(bool busy);

    QPointer<QWidget> m_window;
    Sources m_sources;
    SectionFlags m_sectionFlags {};
    bool m_reportInProgress = false;
    bool m_busy = false;
    GenPDFfromHTML *m_job = nullptr;
    // Why the running job's PDF goes without the chart; empty when it has
    // it or none was asked for or chosen.
    QString m_chartLeftOut;
};
