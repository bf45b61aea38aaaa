#include "app/reportexport.h"
#include "base/apppaths.h"
#include "engine/numerology.h"
#include "layouts/layoutfile.h"
#include "testenvironment.h"
#include "tests/engine/readingfixtures.h"

#include <QApplication>
#include <QBuffer>
#include <QMutex>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <QtTest>

#include <algorithm>
#include <iterator>
#include <utility>

// A report made with a shared layout written to attack whoever opens the
// saved report: saved as HTML the way "Save Report" saves it, then opened as
// a browser opens a file, scripts on, every element hovered, clicked and
// focused. The page may fetch nothing but itself and its data: pictures, and
// nothing the layout wrote may run.

namespace {

// The payload leaves marks the test looks for when it runs. It holds no
// quote and no semicolon, so it fits any attribute and a list of animation
// values.
const QString Script = QStringLiteral(
    "top.document.title=1,top.__ran=1,localStorage.ran=1,fetch(`http://127.0.0.1:1/ran`)");
const QString Url = QStringLiteral("http://127.0.0.1:1");
const QString ReportTitle = QStringLiteral("Numerology Report");

// The person's life path, whose text follows the section's general text.
constexpr int LifePath = 8;

// Texts of the life path section: the general text (entry 0) and the text
// of the person's number. $JS stands for the payload, $URL for a closed port
// on this machine.
struct Attack
{
    const char *name;
    const char *general;
    const char *number;
};

// Pairs that are harmless each on its own, unless the first leaves something
// open that makes the page read the second, behind the report's own markup,
// as markup.
const Attack Split[] = {
    {"open quote", "<p>Hello <a href='#",
     "' onmouseover='$JS' style='display:block'>hover</a></p>"},
    {"open tag", "<p>Hello <a style=display:block title=", " onmouseover=$JS>hover</a></p>"},
    {"comment", "<p>Hello <!--", "<p title=\"--><img src=x onerror=$JS>\">x</p>"},
    {"style", "<p>Hi</p><style>", "{} * { background:url($URL/style.png) }</style>"},
    {"textarea", "<p>Hi <textarea>", "<p title=\"</textarea><img src=x onerror=$JS>\">x</p>"},
    {"title", "<p>Hi <title>", "<p title=\"</title><img src=x onerror=$JS>\">x</p>"},
    {"svg", "<p>Hi <svg>", "<style><img src=x onerror=$JS></style>"},
    {"math", "<p>Hi <math><mtext>", "<style><img src=x onerror=$JS></style>"},
};

// Single texts that fetch or run something when the page is opened or
// touched.
const Attack Single[] = {
    {"img", "<img alt=\"\" src=\"$URL/img.png\">", ""},
    {"img as written by the filter", "<p><img src=\"$URL/plain.png\"></p>", ""},
    {"img with encoded quotes", "<img src=&quot;$URL/quot.png&quot;>", ""},
    {"srcset", "<img srcset=\"$URL/srcset.png 1x\">", ""},
    {"video poster", "<video poster=\"$URL/poster.png\"></video>", ""},
    {"svg image",
     "<svg><image href=\"$URL/svg.png\" width=\"9\" height=\"9\"/>"
     "<image xlink:href=\"$URL/xlink.png\" width=\"9\" height=\"9\"/></svg>",
     ""},
    {"svg picture as data",
     "<img src=\"data:image/svg+xml,<svg xmlns='http://www.w3.org/2000/svg'><image "
     "href='file:///etc/hostname'/></svg>\">",
     ""},
    {"table background", "<table background=\"$URL/table.png\"><tr><td>x</td></tr></table>", ""},
    {"input image", "<input type=\"image\" src=\"$URL/input.png\">", ""},
    {"audio", "<audio src=\"$URL/audio.ogg\" autoplay></audio>", ""},
    {"background image", "<p style=\"background-image:url($URL/background.png)\">x</p>", ""},
    {"local file", "<img src=\"file:///etc/hostname\">", ""},
    {"svg animate",
     "<svg><a><animate attributeName=\"href\" values=\"0;javascript:$JS\" dur=\"0.1s\" "
     "fill=\"freeze\"/><text x=\"10\" y=\"20\">go</text></a></svg>",
     ""},
    {"link", "<link rel=\"stylesheet\" href=\"$URL/link.css\"><link rel=\"icon\" href=\"$URL/i\">",
     ""},
    {"iframe", "<iframe src=\"$URL/frame.html\"></iframe>", ""},
    {"iframe srcdoc", "<iframe srcdoc=\"<script>$JS</script>\"></iframe>", ""},
    {"object", "<object data=\"$URL/object.swf\"></object>", ""},
    {"embed", "<embed src=\"$URL/embed.swf\">", ""},
    {"base", "<base href=\"$URL/\"><img src=\"base.png\"><a href=\"base.html\">go</a>", ""},
    {"meta refresh", "<meta http-equiv=\"refresh\" content=\"0;url=$URL/refresh.html\">", ""},
    {"import", "<style>@import \"$URL/import.css\";</style>", ""},
    {"expression", "<p style=\"width:expression($JS)\">x</p>", ""},
    {"script", "<script>$JS</script>", ""},
    {"handlers",
     "<p onmouseover=\"$JS\" onclick=$JS>hover</p><b tabindex=\"1\" onfocus=\"$JS\">f</b>"
     "<img src=\"data:,\" onerror=\"$JS\">",
     ""},
    {"javascript link", "<a href=\"javascript:$JS\">go</a>", ""},
    {"form", "<form action=\"$URL/form\"><input type=\"submit\"></form>", ""},
};

QString expanded(QString text)
{
    return text.replace(QLatin1String("$JS"), Script).replace(QLatin1String("$URL"), Url);
}

// Every other letter of the markup in the other case; the payload and the
// server stay as they are.
QString mixedCase(const QString &text)
{
    QString mixed;
    bool upper = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('$')) {
            const int end = text.indexOf(QRegularExpression(QStringLiteral("[^A-Z$]")), i);
            mixed += text.mid(i, end < 0 ? -1 : end - i);
            if (end < 0)
                break;
            i = end - 1;
        } else if (c.isLetter()) {
            mixed += upper ? c.toUpper() : c.toLower();
            upper = !upper;
        } else {
            mixed += c;
        }
    }
    return mixed;
}

// The words a filter looks for, written as character references, which a
// page reads in attribute values.
QString encoded(QString text)
{
    const char *const words[][2] = {
        {"javascript:", "&#106;avascript&#x3a;"},
        {"url(", "&#x75;rl("},
        {"http:", "&#104;ttp:"},
        {"file:", "&#x66;ile:"},
        {"document.", "&#100;ocument."},
        {"expression(", "&#x65;xpression("},
        {"@import", "&#64;import"},
    };
    for (const auto &word : words)
        text.replace(QLatin1String(word[0]), QLatin1String(word[1]));
    return text;
}

// Records every request of the page's profile and lets only the page file
// through: data: pictures and the file itself are what a saved report may
// load.
class RequestRecorder : public QWebEngineUrlRequestInterceptor
{
public:
    QUrl page;

    QStringList take()
    {
        QMutexLocker lock(&m_mutex);
        return std::exchange(m_requests, {});
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        if (url.scheme() == QLatin1String("data"))
            return;
        QMutexLocker lock(&m_mutex);
        if (url == page)
            return;
        m_requests << url.toString().left(120);
        info.block(true);
    }

private:
    QMutex m_mutex;
    QStringList m_requests;
};

// A browser tab on the saved file: it stays on the file, and every other
// navigation (a link, a form) is recorded instead.
class RecordingPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

    QStringList navigations;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame && url == requestedUrl() && navigations.isEmpty())
            return true;
        navigations << url.toString().left(120);
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int,
                                  const QString &) override
    {
    }
};

class SavingExport : public CReportExport
{
public:
    using CReportExport::CReportExport;
    QString target;

protected:
    QString getSaveFileName(const QString &, const QString &) override { return target; }
    void showCritical(QWidget *, const QString &, const QString &text) override
    {
        QFAIL(qPrintable(text));
    }
    bool askQuestion(QWidget *, const QString &, const QString &text) override
    {
        qWarning("Unexpected question: %s", qPrintable(text));
        return false;
    }
};

// Hovers, presses, clicks and focuses every element, SVG ones included.
const QString TouchEverything = QStringLiteral(R"(
(function () {
  var all = document.querySelectorAll('*');
  all.forEach(function (el) {
    ['mouseover', 'mouseenter', 'mousemove', 'mousedown', 'mouseup', 'click', 'dblclick']
      .forEach(function (type) {
        el.dispatchEvent(new MouseEvent(type, {bubbles: true, cancelable: true, view: window}));
      });
    ['focus', 'focusin', 'blur', 'focusout'].forEach(function (type) {
      el.dispatchEvent(new FocusEvent(type, {bubbles: type.length > 5}));
    });
    if (typeof el.focus === 'function') el.focus();
    if (typeof el.blur === 'function') el.blur();
  });
  return all.length;
})())");

const QString Traces = QStringLiteral(R"(
(function () {
  var handlers = [];
  document.querySelectorAll('*').forEach(function (el) {
    for (var i = 0; i < el.attributes.length; ++i)
      if (/^on/i.test(el.attributes[i].name))
        handlers.push(el.localName + '[' + el.attributes[i].name + ']');
  });
  var shown = Array.from(document.images).filter(function (i) { return i.naturalWidth > 0; });
  return 'title=' + document.title + ' stored=' + localStorage.getItem('ran')
      + ' handlers=' + handlers.join(',') + ' pictures=' + shown.length;
})())");

QVariant runScript(QWebEnginePage *page, const QString &script, quint32 world)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, world, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    TestEnvironment::waitUntil([&done] { return done; });
    return result;
}

void runEvents(int ms)
{
    TestEnvironment::waitUntil([] { return false; }, ms);
}

} // namespace

class tst_HostileReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void savedReportRunsNothing_data();
    void savedReportRunsNothing();

private:
    QTemporaryDir m_dir;
    RequestRecorder m_recorder;
    QWebEngineProfile m_profile; // off the record
};

void tst_HostileReport::initTestCase()
{
    QVERIFY(ReadingTest::loadMarkerDatabase());
    m_profile.setUrlRequestInterceptor(&m_recorder);
}

void tst_HostileReport::savedReportRunsNothing_data()
{
    QTest::addColumn<QString>("general");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("filtered"); // false: the texts reach the report as written

    // The probes themselves: texts that bypass the layout reader show that
    // a handler run and a fetch are seen.
    QTest::newRow("control: handler") << expanded("<p onmouseover=\"$JS\">x</p>") << "" << false;
    QTest::newRow("control: fetch")
        << expanded("<p style=\"background:url($URL/control.png)\">x</p>") << "" << false;

    const auto addRows = [](const Attack &attack) {
        const QString general = QString::fromUtf8(attack.general);
        const QString number = QString::fromUtf8(attack.number);
        QTest::newRow(attack.name) << expanded(general) << expanded(number) << true;
        QTest::newRow(qPrintable(QStringLiteral("%1, mixed case").arg(attack.name)))
            << expanded(mixedCase(general)) << expanded(mixedCase(number)) << true;
        QTest::newRow(qPrintable(QStringLiteral("%1, references").arg(attack.name)))
            << encoded(expanded(general)) << encoded(expanded(number)) << true;
    };
    std::for_each(std::begin(Split), std::end(Split), addRows);
    std::for_each(std::begin(Single), std::end(Single), addRows);
}

void tst_HostileReport::savedReportRunsNothing()
{
    QFETCH(QString, general);
    QFETCH(QString, number);
    QFETCH(bool, filtered);

    // The layout as another program could have written it, read back
    // through the layout reader as the program reads every shared layout.
    repItem section;
    section.type = 1; // life path
    section.defaultStyle = false;
    section.title = QStringLiteral("Life Path");
    section.texts[0] = general;
    section.useStdText[0] = false;
    if (!number.isEmpty()) {
        section.texts[LifePath] = number;
        section.useStdText[LifePath] = false;
    }
    QList<reportSetting> layouts {reportSetting()};
    layouts[0].name = QStringLiteral("Hostile");
    layouts[0].items[RKNumerology] << section;
    if (filtered) {
        QBuffer file;
        QVERIFY(file.open(QIODevice::ReadWrite) && writeReportSetting(&file, layouts[0]));
        QVERIFY(file.seek(0));
        reportSetting read;
        QVERIFY(readReportSetting(&file, &read));
        QCOMPARE(read.items[RKNumerology].size(), 1);
        layouts[0] = read;
    }
    CNumerology reading;
    reading.preloadRes(getImagesPath() + QStringLiteral("doc/"));
    QVERIFY(reading.calculate("ANN LEE SMITH", "ANN", {}, {}, false, QDate(1980, 3, 5),
                              QDate(2026, 3, 15), &layouts, 1, 0, false));
    QCOMPARE(reading.m_lifePath, LifePath);

    SavingExport exporter(nullptr);
    CReportExport::Sources sources;
    sources.numerology = &reading;
    exporter.setSources(sources);
    exporter.target = m_dir.filePath(QStringLiteral("hostile.html"));
    QFile::remove(exporter.target);
    exporter.exportHtml(CReportExport::PageNumerology);
    QVERIFY(QFile::exists(exporter.target));

    QWebEngineView view;
    auto *page = new RecordingPage(&m_profile, &view);
    QWebEngineSettings *settings = page->settings();
    // As a browser opens a file: it may reach the network and play media.
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    view.setPage(page);
    view.resize(900, 700);
    view.show();
    m_recorder.page = QUrl::fromLocalFile(exporter.target);
    m_recorder.take();
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    page->load(m_recorder.page);
    QVERIFY(TestEnvironment::waitUntil([&loaded] { return !loaded.isEmpty(); }));
    QVERIFY(loaded.first().first().toBool());

    // Animations run, then everything is touched and its effects have time.
    runEvents(1000);
    QVERIFY(runScript(page, TouchEverything, QWebEngineScript::ApplicationWorld).toInt() > 10);
    runEvents(500);

    const QString traces = runScript(page, Traces, QWebEngineScript::ApplicationWorld).toString();
    const QString ran
        = runScript(page, QStringLiteral("typeof window.__ran"), QWebEngineScript::MainWorld)
              .toString();
    const QStringList requests = m_recorder.take();
    const QString shots = qEnvironmentVariable("LUMARO_SHOTS_DIR");
    if (!shots.isEmpty() && QDir().mkpath(shots))
        view.grab().save(
            shots
            + QStringLiteral("/hostile-%1.png")
                  .arg(QString::fromUtf8(QTest::currentDataTag())
                           .replace(QRegularExpression("[^A-Za-z0-9]+"), QStringLiteral("-"))));
    // The next row starts without this one's marks.
    runScript(page, QStringLiteral("localStorage.clear()"), QWebEngineScript::ApplicationWorld);

    // The section's own picture still shows, from the data the file carries.
    const QString clean
        = QStringLiteral("title=%1 stored=null handlers= pictures=1").arg(ReportTitle);
    QVERIFY2(traces.startsWith(QLatin1String("title=")), "the page's traces could not be read");
    if (!filtered) {
        QVERIFY2(traces != clean || ran != QLatin1String("undefined") || !requests.isEmpty(),
                 "the probes saw nothing");
        return;
    }
    QCOMPARE(traces, clean);
    QCOMPARE(ran, QStringLiteral("undefined"));
    QCOMPARE(page->title(), ReportTitle);
    QCOMPARE(requests.join(QLatin1Char(' ')), QString());
    // No link or form may take the reader elsewhere either.
    QCOMPARE(page->navigations.join(QLatin1Char(' ')), QString());
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    tst_HostileReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostilereport.moc"
