#include "app/trialwork.h"

#include "app/myqwebengineview.h"
#include "app/pdfexport.h"
#include "app/reportexport.h"
#include "app/zqnum.h"
#include "base/apppaths.h"
#include "designer/calcnumcontainer.h"
#include "designer/chartbinding.h"
#include "designer/managerthumbnaildlg.h"
#include "designer/repage.h"
#include "designer/reportcreator.h"
#include "designer/reportdocument.h"
#include "designer/reportpe.h"
#include "engine/chartnumerology.h"
#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "engine/readingsdb.h"
#include "filetrial/filetrial.h"
#include "layouts/defaultlayout.h"
#include "layouts/layoutfile.h"
#include "layouts/layoutmigration.h"
#include "layouts/layoutpictures.h"
#include "reportmanager/layoutmanagerdlg.h"
#include "reportmanager/texteditor.h"
#include "style/appstyle.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTextEdit>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>

#include <algorithm>
#include <list>
#include <utility>

namespace {

// The main window as it opens, before the user resizes it.
const QSize windowSize(1100, 700);

// The documents of the readings resolve against this, as the main window's
// views do.
const QUrl readingBase(QStringLiteral("file://localhost/"));

// The people every trial shows: a template's items and a layout's readings
// are drawn for them.
struct SamplePeople
{
    CNumerology person;
    CNumerology partner;
    CNumerologyPMatrix personMatrix;
    CNumerologyPMatrix partnerMatrix;
    calcNumContainer container;

    SamplePeople()
    {
        container = {&person, &partner, &personMatrix, &partnerMatrix};
        person.calculate(fullName(), shortName(), {}, {}, false, birth(), forecast(), nullptr, 0, 0,
                         true);
        personMatrix.calculate(fullName(), birth(), nullptr, 0);
        partner.calculate(partnerName(), partnerShortName(), {}, {}, false, partnerBirth(),
                          forecast(), nullptr, 0, 0, true);
        partnerMatrix.calculate(partnerName(), partnerBirth(), nullptr, 0);
    }

    static QString fullName() { return QStringLiteral("Anna Maria Lindqvist"); }
    static QString shortName() { return QStringLiteral("Anna Lindqvist"); }
    static QDate birth() { return QDate(1990, 7, 14); }
    static QString partnerName() { return QStringLiteral("Jonas Erik Berg"); }
    static QString partnerShortName() { return QStringLiteral("Jonas Berg"); }
    static QDate partnerBirth() { return QDate(1988, 11, 3); }
    static QString petName() { return QStringLiteral("Biscuit"); }
    static QDate petBirth() { return QDate(2020, 5, 5); }
    static QDate forecast() { return QDate(2026, 3, 1); }
};

// The trial shows no box and opens no file outside.
void noMessage(QWidget *, const QString &, const QString &) { }

bool noOpening(const QUrl &)
{
    return true;
}

// A protocol line holds one line of text.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text.simplified();
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + oneLine(name) + QLatin1Char('"');
}

// The size the main window gives the view of a reading on its page.
QSize readingViewSize(int page)
{
    const QRect r = MainWindowLayout::pageRect(page, windowSize.width(), windowSize.height());
    return QSize(r.width() - 2, r.height() - 2);
}

// The name the Report Manager shows for a section.
QString sectionName(const repItem &item)
{
    const QString title = oneLine(item.title);
    return title.isEmpty() ? getItemName(item.kind, int(item.type)) : title;
}

} // namespace

TrialWork::TrialWork(StepFunction step)
    : m_step(std::move(step))
    , m_style(new CAppStyle(getImagesPath()))
    , m_criticalMessage(std::exchange(CNumerology::s_criticalMessage, noMessage))
    , m_criticalBox(std::exchange(CReportExport::criticalBox, noMessage))
    , m_urlOpener(std::exchange(GenPDFfromHTML::urlOpener, noOpening))
    , m_runTrials(std::exchange(FileTrial::defaultOptions().runTrials, false))
{
}

TrialWork::~TrialWork()
{
    CNumerology::s_criticalMessage = m_criticalMessage;
    CReportExport::criticalBox = m_criticalBox;
    GenPDFfromHTML::urlOpener = m_urlOpener;
    FileTrial::defaultOptions().runTrials = m_runTrials;
}

bool TrialWork::kindFromName(const QString &name, Kind *kind)
{
    if (name == QLatin1String("template"))
        *kind = Kind::Template;
    else if (name == QLatin1String("layout"))
        *kind = Kind::Layout;
    else
        return false;
    return true;
}

TrialWork::Outcome TrialWork::run(Kind kind, const QString &path)
{
    return kind == Kind::Template ? tryTemplate(path) : tryLayout(path);
}

QSize TrialWork::boardSize()
{
    // As the main window places its chart board under the chart's page.
    const QRect r = MainWindowLayout::pageRect(MainWindowLayout::PageChart, windowSize.width(),
                                               windowSize.height());
    return QSize(r.width() - 2, r.height() + 50 - 2 - 35);
}

// ---------------------------------------------------------------------------
// Chart templates

TrialWork::Outcome TrialWork::tryTemplate(const QString &path)
{
    SamplePeople people;
    if (!m_folder.isValid())
        return {false, QStringLiteral("There is no temporary folder to try the file in.")};

    m_step(QStringLiteral("reading the file"));
    // As renderChartTemplate binds them: the items keep pointers to both.
    calcNumContainer person = people.container;
    calcNumContainer partner = ChartBinding::partnerView(people.container);
    CReportDocument doc(&person, m_style.get());
    QString reason;
    if (!doc.loadFromFile(path, &reason))
        return {false, oneLine(reason)};
    ChartBinding::bind(&doc, &partner);

    const CREPage *page = CManagerThumbnailDlg::chartPage(0, &doc);
    const QString pageName = page ? quoted(page->name) : QStringLiteral("of the chart");
    m_step(QStringLiteral("drawing page %1 at board size").arg(pageName));
    CManagerThumbnailDlg::slotPrintReport(0, &doc, boardSize());

    m_step(QStringLiteral("drawing page %1 for export").arg(pageName));
    const QImage full = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(0, 0));
    m_step(QStringLiteral("writing the export picture"));
    QString error;
    if (!CReportExport::writeChartImage(full, m_folder.filePath(QStringLiteral("chart.png")),
                                        &error))
        return {false, oneLine(error)};

    // The joined PDF's chart: twice the size the report shows it at.
    m_step(QStringLiteral("drawing page %1 for the PDF").arg(pageName));
    CChartNumerology chart;
    chart.preloadRes(CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(1200, 1600)));
    m_step(QStringLiteral("writing the chart picture of the PDF"));
    CReportExport::chartParagraph(chart.canvas());

    m_step(QStringLiteral("opening it in the chart designer"));
    calcNumContainer designerPeople = people.container;
    CReportCreatorWin designer(&designerPeople, m_style.get(), nullptr, 1);
    if (!designer.loadTemplate(path))
        return {false, oneLine(designer.creator->editor->loadError())};
    m_step(QStringLiteral("painting it in the chart designer"));
    designer.grab();
    return {true, QString()};
}

// ---------------------------------------------------------------------------
// Report layouts

namespace {

// Marks a section's entry in the marker reading of longestTexts.
QString entryMark(int kind, int item, int entry)
{
    return QStringLiteral("zqtrialmark-%1-%2-%3-").arg(kind).arg(item).arg(entry);
}

// Whether entry of item shows a text of the layout's own.
bool ownText(const repItem &item, int entry)
{
    return entry < item.texts.size() && entry < item.useStdText.size() && !item.useStdText.at(entry)
        && !item.texts.at(entry).isEmpty();
}

} // namespace

TrialWork::Readings::Readings()
{
    const QString docFolder = getImagesPath() + QStringLiteral("doc/");
    // The main window's readings, with their resources as it gives them.
    for (CReportTools *reading : std::initializer_list<CReportTools *> {
             &person, &partner, &personMatrix, &partnerMatrix, &compatibility})
        reading->preloadRes(docFolder);
    celebrities.preloadRes(getImagesPath() + QStringLiteral("doc2/"));
}

void TrialWork::Readings::build(QList<reportSetting> *layouts, const StepFunction &step)
{
    const int layoutNo = 1;
    const auto building = [&step](int kind, const char *whose) {
        if (step)
            step(QStringLiteral("building the largest %1 reading for %2")
                     .arg(reportKindCaption(kind), QLatin1String(whose)));
    };
    // In the order the main window calculates them.
    building(RKNumerology, "a person");
    person.calculate(SamplePeople::fullName(), SamplePeople::shortName(), {}, {}, false,
                     SamplePeople::birth(), SamplePeople::forecast(), layouts, layoutNo, 0, false);
    building(RKCelebrities, "a person");
    celebrities.calculateCel(SamplePeople::fullName(), SamplePeople::birth(), false, layouts,
                             layoutNo, 0);
    building(RKPsychoMatrix, "a person");
    personMatrix.calculate(SamplePeople::fullName(), SamplePeople::birth(), layouts, layoutNo);
    building(RKPet, "a pet");
    pet.calculatePet(SamplePeople::petName(), QString(), SamplePeople::petBirth(),
                     SamplePeople::forecast(), false, layouts, layoutNo);
    building(RKNumerology, "the partner");
    partner.calculate(SamplePeople::partnerName(), SamplePeople::partnerShortName(), {}, {}, false,
                      SamplePeople::partnerBirth(), SamplePeople::forecast(), layouts, layoutNo, 0,
                      false);
    building(RKPsychoMatrix, "the partner");
    partnerMatrix.calculate(SamplePeople::partnerName(), SamplePeople::partnerBirth(), layouts,
                            layoutNo);
    building(RKLoveCompatibility, "a person and a partner");
    compatibility.calculate(&person, &partner, &personMatrix, &partnerMatrix, layouts, layoutNo);
}

QStringList TrialWork::Readings::documents() const
{
    return {person.reportHtml,
            partner.reportHtml,
            personMatrix.reportHtml,
            partnerMatrix.reportHtml,
            compatibility.reportHtml,
            celebrities.reportHtml,
            pet.reportHtml};
}

reportSetting TrialWork::longestTexts(const reportSetting &layout)
{
    // Which entries of each section the sample people are shown, in the
    // order shown: every entry after the general one (entry 0, which stands
    // beside them) of a section with texts of its own is marked, and the
    // readings built with the marks.
    reportSetting marked = layout;
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        QList<repItem> &items = marked.items[kind];
        for (int i = 0; i < items.size(); ++i) {
            repItem &item = items[i];
            bool own = false;
            for (int entry = 1; entry < item.texts.size() && !own; ++entry)
                own = ownText(item, entry);
            if (!own)
                continue;
            const int entries = std::max(
                {int(repItem::EntryCount), int(item.texts.size()), int(item.useStdText.size())});
            while (item.texts.size() < entries)
                item.texts.append(QString());
            while (item.useStdText.size() < entries)
                item.useStdText.append(true);
            for (int entry = 1; entry < entries; ++entry) {
                item.texts[entry] = QStringLiteral("<p>%1</p>").arg(entryMark(kind, i, entry));
                item.useStdText[entry] = false;
            }
        }
    }
    QList<reportSetting> layouts {marked};
    Readings readings;
    readings.build(&layouts, StepFunction());

    QHash<QPair<int, int>, QVector<int>> shown;
    static const QRegularExpression mark(QStringLiteral("zqtrialmark-(\\d+)-(\\d+)-(\\d+)-"));
    for (const QString &document : readings.documents()) {
        QRegularExpressionMatchIterator found = mark.globalMatch(document);
        while (found.hasNext()) {
            const QRegularExpressionMatch match = found.next();
            const QPair<int, int> section(match.captured(1).toInt(), match.captured(2).toInt());
            const int entry = match.captured(3).toInt();
            if (!shown[section].contains(entry))
                shown[section].append(entry);
        }
    }

    // The entries shown get the section's own texts, longest first; shown
    // entries beyond them keep the standard text.
    reportSetting longest = layout;
    for (auto section = shown.cbegin(); section != shown.cend(); ++section) {
        repItem &item = longest.items[section.key().first][section.key().second];
        QStringList own;
        for (int entry = 1; entry < item.texts.size(); ++entry) {
            if (ownText(item, entry))
                own << item.texts.at(entry);
        }
        std::stable_sort(own.begin(), own.end(),
                         [](const QString &a, const QString &b) { return a.size() > b.size(); });
        const QVector<int> &entries = section.value();
        for (int j = 0; j < entries.size(); ++j) {
            const int entry = entries.at(j);
            if (entry >= item.texts.size() || entry >= item.useStdText.size())
                continue;
            item.texts[entry] = j < own.size() ? own.at(j) : QString();
            item.useStdText[entry] = j >= own.size();
        }
    }
    return longest;
}

TrialWork::Outcome TrialWork::tryLayout(const QString &path)
{
    if (!m_folder.isValid())
        return {false, QStringLiteral("There is no temporary folder to try the file in.")};

    m_step(QStringLiteral("reading the file"));
    // As the layouts folder is read: pictures wait encoded until used.
    reportSetting layout;
    {
        QFile file(path);
        QString problem;
        if (!file.open(QIODevice::ReadOnly) || !readReportSetting(&file, &layout, &problem, false))
            return {false, oneLine(problem.isEmpty() ? file.errorString() : problem)};
    }
    layout.name = QFileInfo(path).completeBaseName();
    migrateReportSetting(&layout);

    m_step(QStringLiteral("decoding its pictures"));
    LayoutPictures::decode(&layout);

    // The standard texts that sections show beside their own.
    loadReadingsDatabase(readingsDatabasePath());
    m_step(QStringLiteral("finding the entries a person and a partner are shown"));
    QList<reportSetting> layouts {longestTexts(layout)};
    Readings readings;
    readings.build(&layouts, m_step);
    CNumerology &person = readings.person;
    CNumerology &celebrities = readings.celebrities;
    CNumerology &pet = readings.pet;
    CNumerologyPMatrix &personMatrix = readings.personMatrix;
    CCompNumerology &compatibility = readings.compatibility;

    QString problem;
    if (!showReadings({reportKindCaption(RKNumerology), reportKindCaption(RKPsychoMatrix),
                       reportKindCaption(RKLoveCompatibility), reportKindCaption(RKCelebrities),
                       reportKindCaption(RKPet)},
                      {person.reportHtml, personMatrix.reportHtml, compatibility.reportHtml,
                       celebrities.reportHtml, pet.reportHtml},
                      &problem))
        return {false, problem};

    m_step(QStringLiteral("joining the readings for the PDF"));
    CReportExport::Sources sources;
    sources.numerology = &person;
    sources.psychoMatrix = &personMatrix;
    sources.compatibility = &compatibility;
    sources.celebrities = &celebrities;
    sources.pet = &pet;
    CReportExport::SectionFlags flags;
    flags.fill(true);
    // A layout brings no chart.
    flags[CReportExport::SectionChart] = false;
    const QString joined = CReportExport::joinReports(sources, flags, QImage());
    if (!printReadings(joined, &problem))
        return {false, problem};

    editSections(layout);
    return {true, QString()};
}

void TrialWork::startWebEngine()
{
    if (m_webEngineStarted)
        return;
    m_webEngineStarted = true;
    m_step(QStringLiteral("starting the web engine"));
    // Nothing of the trial stays in the user's web storage.
    QWebEngineProfile *profile = QWebEngineProfile::defaultProfile();
    profile->setPersistentStoragePath(m_folder.filePath(QStringLiteral("web")));
    profile->setCachePath(m_folder.filePath(QStringLiteral("webcache")));
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    QWebEnginePage page;
    MyQWebEngineView::restrictToDocument(&page);
    QEventLoop loop;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
    page.setHtml(QStringLiteral("<html><body></body></html>"));
    loop.exec();
}

bool TrialWork::showReadings(const QStringList &captions, const QStringList &documents,
                             QString *problem)
{
    startWebEngine();
    static const int pages[]
        = {MainWindowLayout::PageNumerology, MainWindowLayout::PagePsychoMatrix,
           MainWindowLayout::PageCompatibility, MainWindowLayout::PageCelebrities,
           MainWindowLayout::PagePet};
    // The main window keeps every reading in a view of its own at once. The
    // views stay hidden: shown, they would need a display. The layout of the
    // whole document, which a view does as it shows it, is asked for by a
    // script of the program's own.
    std::list<MyQWebEngineView> views;
    for (int i = 0; i < captions.size(); ++i) {
        m_step(QStringLiteral("showing the %1 reading in a web page").arg(captions.at(i)));
        views.emplace_back();
        MyQWebEngineView &view = views.back();
        view.resize(readingViewSize(pages[i]));
        QEventLoop loop;
        bool loaded = false;
        QObject::connect(&view, &QWebEngineView::loadFinished, &loop, [&loop, &loaded](bool ok) {
            loaded = ok;
            loop.quit();
        });
        view.setHtml(documents.at(i), readingBase);
        loop.exec();
        if (!loaded) {
            *problem = QStringLiteral("The %1 reading cannot be shown.").arg(captions.at(i));
            return false;
        }
        view.page()->runJavaScript(QStringLiteral("document.documentElement.scrollHeight"),
                                   QWebEngineScript::ApplicationWorld,
                                   [&loop](const QVariant &) { loop.quit(); });
        loop.exec();
    }
    return true;
}

bool TrialWork::printReadings(const QString &joined, QString *problem)
{
    m_step(QStringLiteral("loading the readings for the PDF"));
    // As the PDF export hands its report to the print job.
    const QString html = m_folder.filePath(QStringLiteral("report.html"));
    const QString pdf = m_folder.filePath(QStringLiteral("report.pdf"));
    {
        QFile file(html);
        const QByteArray utf8 = joined.toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(utf8) != utf8.size()) {
            *problem = oneLine(
                QStringLiteral("Cannot write the report for the PDF:\n%1").arg(file.errorString()));
            return false;
        }
    }
    // The job prints as soon as its page has loaded the report; the page is
    // handed in to tell the one from the other.
    auto *page = new QWebEnginePage;
    QObject::connect(page, &QWebEnginePage::loadFinished, page,
                     [this] { m_step(QStringLiteral("printing the readings to PDF")); });
    GenPDFfromHTML job(html, pdf, page);
    QEventLoop loop;
    bool written = false;
    QObject::connect(&job, &GenPDFfromHTML::finished, &loop, [&loop, &written](bool success) {
        written = success;
        loop.quit();
    });
    job.run();
    loop.exec();
    if (!written)
        *problem = QStringLiteral("Cannot write the PDF report \"%1\".").arg(pdf);
    return written;
}

void TrialWork::editSections(const reportSetting &layout)
{
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        for (const repItem &original : layout.items[kind]) {
            // The editor edits its own copies; what is typed is never kept.
            repItem item = original;
            QString *table = nullptr;
            int size = 0;
            CLayoutManagerDlg::getMassText(item.kind, int(item.type), &table, &size);
            if (!table)
                continue;
            const QString name = quoted(sectionName(item));
            m_step(QStringLiteral("opening the text of %1 in the section editor").arg(name));
            CTextEditor editor(m_style.get(), &item.texts, &item.images, &item.useStdText, table,
                               item.kind, int(item.type), nullptr, size);
            // At the size the Report Manager opens it, laid out as shown.
            editor.show();
            QApplication::processEvents();
            const int entries = editor.entryCombo->count();
            for (int index = 0; index < entries; ++index) {
                const int entry = editor.entryCombo->itemData(index).toInt();
                // Entries with the standard text are the program's own.
                const bool own = entry >= 0 && entry < item.texts.size()
                    && entry < item.useStdText.size() && !item.texts.at(entry).isNull();
                if (!own)
                    continue;
                const QString label = quoted(editor.entryCombo->itemText(index));
                if (index != editor.entryCombo->currentIndex()) {
                    m_step(QStringLiteral("opening the text %1 of %2 in the section editor")
                               .arg(label, name));
                    editor.entryCombo->setCurrentIndex(index);
                }
                editor.textEdit->document()->documentLayout()->documentSize();
                m_step(QStringLiteral("typing in the text %1 of %2").arg(label, name));
                QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier,
                                  QStringLiteral("a"));
                QApplication::sendEvent(editor.textEdit, &press);
                QApplication::sendEvent(editor.textEdit, &release);
                editor.textEdit->document()->documentLayout()->documentSize();
                QApplication::processEvents();
            }
            editor.close();
        }
    }
}
