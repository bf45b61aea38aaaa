#include "app/myqwebengineview.h"
#include "app/reportpage.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "base/apppaths.h"
#include "engine/numerology.h"
#include "filetrial/filetrial.h"
#include "layouts/layoutfolder.h"
#include "layouts/sectiontext.h"
#include "testenvironment.h"
#include "tests/layouts/heavylayouts.h"

#include <QAbstractAnimation>
#include <QBuffer>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QWebEngineScript>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(QWebEnginePage::NavigationType)
Q_DECLARE_METATYPE(CReportPage::Navigation)

namespace {

// Stands for the system's browser and mail program.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void openUrl(const QUrl &url) { urls << url; }
};

bool neverAsk(const QString &, const QString &)
{
    return false;
}

int rejectDialog(QDialog *)
{
    return QDialog::Rejected;
}

QVariant runScript(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    TestEnvironment::waitUntil([&done] { return done; });
    return result;
}

QString plainText(QWebEnginePage *page)
{
    QString text;
    bool done = false;
    page->toPlainText([&](const QString &result) {
        text = result;
        done = true;
    });
    TestEnvironment::waitUntil([&done] { return done; });
    return text;
}

// The middle of the first element the selector finds, scrolled into view,
// in the view's coordinates; (-1, -1) when there is none.
QPoint centreOf(QWebEnginePage *page, const QString &selector)
{
    const QVariantList xy
        = runScript(page,
                    QStringLiteral("(function () { var e = document.querySelector(\"%1\");"
                                   " if (!e) return [-1, -1]; e.scrollIntoView();"
                                   " var r = e.getBoundingClientRect();"
                                   " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                        .arg(selector))
              .toList();
    return xy.size() == 2 ? QPoint(xy.at(0).toInt(), xy.at(1).toInt()) : QPoint(-1, -1);
}

// Whether the window's page switch has come to rest: a click lands where the
// page shows its link only once nothing moves.
// Whether done, which asks the page through scripts, comes true in time.
// Each script waits in an event loop of its own, so done is not called from
// within waitUntil's loop, where such waits nest into one another and end it
// early.
bool waitForScript(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > TestEnvironment::WaitMs)
            return false;
        QTest::qWait(50);
    }
    return true;
}

bool settled(CZQNum *window)
{
    const QList<QAbstractAnimation *> animations = window->findChildren<QAbstractAnimation *>();
    return std::all_of(animations.begin(), animations.end(), [](QAbstractAnimation *animation) {
        return animation->state() == QAbstractAnimation::Stopped;
    });
}

void click(QWebEngineView *view, const QPoint &at)
{
    QWidget *target = view->focusProxy() ? view->focusProxy() : view;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
}

// A section text as the editor stores it: a paragraph with a link, a 2 x 2
// table and a list, pasted.
QString editorText(const QString &link, const QString &caption)
{
    QTextDocument document;
    QTextCursor(&document).insertHtml(
        QStringLiteral("<p>Our page: <a href=\"%1\">%2</a></p><table border=\"1\"><tr><td><p>"
                       "First</p><p>Second</p></td><td>B1</td></tr><tr><td>A2</td><td>B2</td>"
                       "</tr></table><ul><li>One<br>Two</li><li>Three</li></ul>")
            .arg(link, caption.toHtmlEscaped()));
    return storedCustomText(document.toHtml("UTF-8"), 0);
}

// A layout whose life path section shows the custom text as its general text.
reportSetting linkLayout(const QString &customText)
{
    repItem item;
    item.kind = RKNumerology;
    item.type = 1;
    item.defaultStyle = false;
    item.title = QStringLiteral("Life Path");
    item.texts[0] = customText;
    item.useStdText[0] = false;
    reportSetting setting;
    setting.name = QStringLiteral("Links");
    setting.items[RKNumerology] << item;
    return setting;
}

// Life path sections in their own style, titled "Section 1" and on, each
// with its picture (none for a null one) and texts as its first entries
// (the general text, then that of life path 1).
reportSetting sectionsLayout(const QString &name, const QList<QImage> &pictures,
                             const QStringList &texts)
{
    reportSetting setting;
    setting.name = name;
    for (int i = 0; i < pictures.size(); ++i) {
        repItem item;
        item.kind = RKNumerology;
        item.type = 1;
        item.defaultStyle = false;
        item.title = QStringLiteral("Section %1").arg(i + 1);
        item.images[0] = pictures.at(i);
        for (int entry = 0; entry < texts.size(); ++entry) {
            item.texts[entry] = texts.at(entry);
            item.useStdText[entry] = false;
        }
        setting.items[RKNumerology] << item;
    }
    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
    return setting;
}

// A document that tries what a view must not do: run a script, show a
// picture from a folder that holds no pictures of the program, open a frame.
QString guardedDocument(const QString &outsidePicture, int padding)
{
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "PNG");
    return QStringLiteral("<html><head><title>quiet</title></head><body><p>first line</p>"
                          "<script>document.title = 'ran';</script>"
                          "<img id=\"outside\" src=\"%1\">"
                          "<img id=\"inline\" src=\"data:image/png;base64,%2\">"
                          "<iframe id=\"frame\" src=\"%1\"></iframe><!--")
               .arg(QUrl::fromLocalFile(outsidePicture).toString(),
                    QString::fromLatin1(png.toBase64()))
        + QString(padding, QLatin1Char('x')) + QStringLiteral("--><p>last line</p></body></html>");
}

} // namespace

class tst_ReportLinks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void decide_data();
    void decide();

    void linkInReading_data();
    void linkInReading();

    void guideLinks();

    void readingsOfAnySize_data();
    void readingsOfAnySize();

    void largeDocumentsKeepTheGuard_data();
    void largeDocumentsKeepTheGuard();

private:
    std::unique_ptr<CZQNum> m_window;
    UrlRecorder m_opened;
};

void tst_ReportLinks::initTestCase()
{
    CUpdateCheck::setAskFunction(neverAsk);
    CZQNum::execDialog = rejectDialog;
    CNumerology::s_criticalMessage = [](QWidget *, const QString &, const QString &) {
    };
    // These readings are about showing what any layout builds; whether a
    // shared layout may be used is the trial's matter (tst_layouttrial).
    FileTrial::defaultOptions().runTrials = false;
    for (const char *scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_opened, "openUrl");

    m_window = std::make_unique<CZQNum>();
    m_window->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    m_window->OnFinishedSU();
    m_window->resize(1300, 900);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get(), TestEnvironment::WaitMs));
}

void tst_ReportLinks::cleanupTestCase()
{
    for (const char *scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    m_window.reset();
}

void tst_ReportLinks::decide_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QWebEnginePage::NavigationType>("type");
    QTest::addColumn<bool>("mainFrame");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<CReportPage::Navigation>("expected");

    const QString guide = QUrl::fromLocalFile(getResourcesPath() + "images/manual/").toString();
    const QString reading = "file://localhost/";
    using P = QWebEnginePage;
    using N = CReportPage::Navigation;
    QTest::newRow("program load") << "data:text/html,x" << P::NavigationTypeTyped << true << reading
                                  << N::Load;
    QTest::newRow("web link without host")
        << "https:///x" << P::NavigationTypeLinkClicked << true << reading << N::Refuse;
    QTest::newRow("web link in a frame")
        << "https://example.org/" << P::NavigationTypeLinkClicked << false << reading << N::Refuse;
    QTest::newRow("guide page from a reading")
        << guide + "index.html" << P::NavigationTypeLinkClicked << true << reading << N::Refuse;
    QTest::newRow("other file from the guide")
        << "file:///etc/hostname" << P::NavigationTypeLinkClicked << true << guide + "index.html"
        << N::Refuse;
    QTest::newRow("back to an earlier reading")
        << "data:text/html,x" << P::NavigationTypeBackForward << true << reading << N::Refuse;
    QTest::newRow("reload") << reading << P::NavigationTypeReload << true << reading << N::Refuse;
    QTest::newRow("redirect") << "https://example.org/" << P::NavigationTypeRedirect << true
                              << reading << N::Refuse;
    QTest::newRow("other") << "https://example.org/" << P::NavigationTypeOther << true << reading
                           << N::Refuse;
}

void tst_ReportLinks::decide()
{
    QFETCH(QString, url);
    QFETCH(QWebEnginePage::NavigationType, type);
    QFETCH(bool, mainFrame);
    QFETCH(QString, shown);
    QFETCH(CReportPage::Navigation, expected);
    QCOMPARE(CReportPage::decide(QUrl(url), type, mainFrame, QUrl(shown)), expected);
}

void tst_ReportLinks::linkInReading_data()
{
    QTest::addColumn<QString>("link"); // the address of the custom text's link
    QTest::addColumn<QString>("extra"); // markup the filter would not keep
    QTest::addColumn<QString>("target"); // what is clicked first
    QTest::addColumn<QString>("opened"); // what reaches the URL handler

    QTest::newRow("web link") << "https://example.org/page?x=1&y=2"
                              << ""
                              << "a"
                              << "https://example.org/page?x=1&y=2";
    QTest::newRow("mail link") << "mailto:help@example.org?subject=Reading"
                               << ""
                               << "a"
                               << "mailto:help@example.org?subject=Reading";
    // Texts that a layout file could not carry; the view still stays put.
    QTest::newRow("local file link refused")
        << "https://example.org/"
        << "<p><a id=\"bad\" href=\"file:///etc/hostname\">local</a></p>"
        << "#bad"
        << "https://example.org/";
    QTest::newRow("form refused")
        << "https://example.org/"
        << "<form action=\"https://example.org/form\"><input id=\"bad\" type=\"submit\" "
           "value=\"Send\"></form>"
        << "#bad"
        << "https://example.org/";
}

void tst_ReportLinks::linkInReading()
{
    QFETCH(QString, link);
    QFETCH(QString, extra);
    QFETCH(QString, target);
    QFETCH(QString, opened);

    CZQNum *w = m_window.get();
    // Each row's reading is told from the one before by its link's caption.
    const QString caption = QStringLiteral("follow ") + QString::fromUtf8(QTest::currentDataTag());
    QString text = editorText(link, caption);
    if (!extra.isEmpty())
        text.replace(QLatin1String("</body>"), extra + QLatin1String("</body>"));
    w->m_Layouts = {linkLayout(text)};
    w->m_NumerologistCombo->blockSignals(true);
    w->m_NumerologistCombo->clear();
    w->m_NumerologistCombo->addItems({QStringLiteral("Default"), QStringLiteral("Links")});
    w->m_NumerologistCombo->setCurrentIndex(1);
    w->m_NumerologistCombo->blockSignals(false);
    w->m_FullName->setText(QStringLiteral("John Michael Smith"));
    w->m_ShortName->setText(QStringLiteral("John Smith"));
    w->m_BirthDate->setDate(QDate(1985, 12, 29));
    w->OnCalcNum();
    w->setMode(0);

    MyQWebEngineView *view = w->m_NumerologyView;
    QWebEnginePage *page = view->page();
    QVERIFY(TestEnvironment::waitUntil([&] { return settled(w); }));
    QVERIFY(waitForScript(
        [&] { return plainText(page).contains(caption) && centreOf(page, target).x() >= 0; }));
    const QString reading = plainText(page);
    const QUrl shown = page->url();
    QVERIFY(reading.contains(QLatin1String("Life Path")));

    m_opened.urls.clear();
    if (target != QLatin1String("a")) {
        // The refused target first; the web link after it shows that the
        // clicks have been handled.
        click(view, centreOf(page, target));
        QTest::qWait(200);
    }
    click(view, centreOf(page, QStringLiteral("a[href^='http'], a[href^='mailto']")));
    QVERIFY(TestEnvironment::waitUntil([this] { return !m_opened.urls.isEmpty(); }));
    QTest::qWait(300);
    QCOMPARE(m_opened.urls, QList<QUrl> {QUrl(opened)});
    QCOMPARE(page->url(), shown);
    QCOMPARE(plainText(page), reading);

    const QString shots = qEnvironmentVariable("LUMARO_SHOTS");
    if (!shots.isEmpty() && QDir().mkpath(shots))
        w->grab().save(shots + QStringLiteral("/link-")
                       + QString::fromUtf8(QTest::currentDataTag()).replace(' ', '-')
                       + QStringLiteral(".png"));
}

void tst_ReportLinks::guideLinks()
{
    const QString index = getImagesPath() + QStringLiteral("manual/index.html");
    if (!QFileInfo::exists(index))
        QSKIP("the guide is not built");
    CZQNum *w = m_window.get();
    w->OnHelp();
    MyQWebEngineView *view = w->m_GuideView;
    QWebEnginePage *page = view->page();
    const QString link = QStringLiteral("a[href='numerology.html']");
    QVERIFY(TestEnvironment::waitUntil(
        [&] { return settled(w) && page->url() == QUrl::fromLocalFile(index); }));
    QVERIFY(waitForScript([&] {
        return runScript(page, QStringLiteral("document.readyState")).toString()
            == QLatin1String("complete")
            && centreOf(page, link).x() >= 0;
    }));
    m_opened.urls.clear();
    // On a busy machine the page may still be laying out its pictures when
    // the link's place is taken, and the click then lands beside it: the
    // click is given again where the link now is.
    bool moved = false;
    for (int attempt = 0; attempt < 5 && !moved; ++attempt) {
        click(view, centreOf(page, link));
        moved = TestEnvironment::waitUntil(
            [&] { return page->url().fileName() == QLatin1String("numerology.html"); },
            TestEnvironment::HangGuardMs);
    }
    QVERIFY(moved);
    view->triggerPageAction(QWebEnginePage::Back);
    QVERIFY(TestEnvironment::waitUntil([&] { return page->url() == QUrl::fromLocalFile(index); }));
    QVERIFY(m_opened.urls.isEmpty());
}

void tst_ReportLinks::readingsOfAnySize_data()
{
    QTest::addColumn<int>("sections");
    QTest::addColumn<bool>("photos");
    QTest::addColumn<int>("pages"); // editor pages of each section's text

    QTest::newRow("four photos") << 4 << true << 0;
    QTest::newRow("thirty sections of two editor pages") << 30 << false << 2;
}

// A reading past what the web engine takes through setHtml still shows,
// to its last section and with its pictures, from a layout saved in the
// user folder and read as the program reads it (pictures decoded on use).
void tst_ReportLinks::readingsOfAnySize()
{
    QFETCH(int, sections);
    QFETCH(bool, photos);
    QFETCH(int, pages);

    QList<QImage> pictures;
    for (int i = 0; i < sections; ++i)
        pictures << (photos ? HeavyLayout::photo(quint32(i + 1)) : QImage());
    QStringList texts;
    for (int page = 0; page < pages; ++page)
        texts << HeavyLayout::editorPage(page);
    const QString name = QString::fromUtf8(QTest::currentDataTag()).replace(' ', '-');
    const QList<reportSetting> saved {sectionsLayout(name, pictures, texts)};
    QStringList written;
    QVERIFY(saveReportSettings(&saved, getUserFolder(), &written));

    CZQNum *w = m_window.get();
    loadReportSettings(&w->m_Layouts, getUserFolder(), nullptr, false);
    int position = 0;
    for (int i = 0; i < w->m_Layouts.size(); ++i) {
        if (w->m_Layouts.at(i).name == name)
            position = i + 1;
    }
    QVERIFY(position > 0);
    w->m_NumerologistCombo->blockSignals(true);
    w->m_NumerologistCombo->clear();
    w->m_NumerologistCombo->addItem(QStringLiteral("Default"));
    for (const reportSetting &setting : qAsConst(w->m_Layouts))
        w->m_NumerologistCombo->addItem(setting.name);
    w->m_NumerologistCombo->setCurrentIndex(position);
    w->m_NumerologistCombo->blockSignals(false);
    w->m_FullName->setText(QStringLiteral("John Michael Smith"));
    w->m_ShortName->setText(QStringLiteral("John Smith"));
    w->m_BirthDate->setDate(QDate(1985, 12, 29));
    w->OnCalcNum();
    w->setMode(0);
    QVERIFY(w->m_Person->reportHtml.toUtf8().size() >= MyQWebEngineView::InlineLimit);

    QWebEnginePage *page = w->m_NumerologyView->page();
    const QString last = QStringLiteral("Section %1").arg(sections);
    QVERIFY(waitForScript([&] { return plainText(page).contains(last); }));
    const QString shownPhotos = QStringLiteral(
        "Array.from(document.images).filter(function (i) {"
        " return i.complete && i.naturalWidth == 460 && i.naturalHeight == 460; }).length");
    QVERIFY(waitForScript(
        [&] { return runScript(page, shownPhotos).toInt() == (photos ? sections : 0); }));
    // With LUMARO_SHOTS set the window is kept there for a look.
    const QString shots = qEnvironmentVariable("LUMARO_SHOTS");
    if (!shots.isEmpty() && QDir().mkpath(shots))
        w->grab().save(shots + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void tst_ReportLinks::largeDocumentsKeepTheGuard_data()
{
    QTest::addColumn<int>("padding");
    QTest::addColumn<bool>("throughFile");
    QTest::newRow("through setHtml") << 1000 << false;
    QTest::newRow("through a page file") << MyQWebEngineView::InlineLimit << true;
}

// A document too large for setHtml runs no script and loads nothing that a
// small one could not.
void tst_ReportLinks::largeDocumentsKeepTheGuard()
{
    QFETCH(int, padding);
    QFETCH(bool, throughFile);
    const QString outside = TestEnvironment::homePath() + QStringLiteral("/outside.png");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(outside));

    MyQWebEngineView view;
    view.resize(600, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view, TestEnvironment::WaitMs));
    bool loaded = false;
    connect(&view, &QWebEngineView::loadFinished, this, [&loaded] { loaded = true; });
    view.setHtml(guardedDocument(outside, padding), QUrl(QStringLiteral("file://localhost/")));
    QVERIFY(TestEnvironment::waitUntil([&loaded] { return loaded; }));
    QCOMPARE(view.url().fileName().startsWith(QLatin1String("lumaro-page")), throughFile);
    QWebEnginePage *page = view.page();
    QVERIFY(waitForScript([&] { return plainText(page).contains(QLatin1String("last line")); }));
    QCOMPARE(runScript(page, QStringLiteral("document.title")).toString(), QStringLiteral("quiet"));
    QCOMPARE(
        runScript(page, QStringLiteral("document.getElementById('inline').naturalWidth")).toInt(),
        4);
    QCOMPARE(
        runScript(page, QStringLiteral("document.getElementById('outside').naturalWidth")).toInt(),
        0);
    QCOMPARE(runScript(page,
                       QStringLiteral("(function () { try { var d = document"
                                      ".getElementById('frame').contentDocument;"
                                      " return d && d.body ? d.body.innerText : ''; }"
                                      " catch (e) { return ''; } })()"))
                 .toString(),
             QString());
}

QTEST_MAIN(tst_ReportLinks)
#include "tst_reportlinks.moc"
