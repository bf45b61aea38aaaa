#include "app/infodetailsview.h"
#include "app/manualview.h"
#include "app/myqwebengineview.h"
#include "app/settingsfile.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "base/apppaths.h"
#include "engine/texttables.h"
#include "panels/infomatrwidget.h"
#include "panels/infowidget.h"
#include "style/aboutdlg.h"
#include "style/appstyle.h"
#include "style/makerinfo.h"
#include "testenvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// The guide's paper colour.
const QColor kPaper(0xfb, 0xf8, 0xf2);

// What the dialog seam saw, and how it leaves the next dialog.
struct Seen
{
    QStringList popups; // pages of the help pop-ups
    bool shoot = false; // show each dialog and grab it, once its page shows on this paper
    QColor paper;
    QImage shot;
    int startPages = 0, aboutDialogs = 0, aboutResult = QDialog::Rejected;
    bool tickStartBox = false, startByOk = true;
} seen;

bool loadedIn(QWebEngineView *view)
{
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    return loaded.wait(TestEnvironment::WaitMs) && loaded.constLast().value(0).toBool();
}

int distinctColours(const QImage &image, const QRect &area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

// The compositor paints a loaded page a little later, later still on a busy
// machine: grab until the area shows more than a plain fill on its paper;
// a null image when it never does.
QImage settledShot(QWidget *widget, const QRect &area)
{
    QImage shot;
    QElapsedTimer timer;
    timer.start();
    do {
        QTest::qWait(200);
        shot = widget->screen()->grabWindow(widget->winId()).toImage();
        if (distinctColours(shot, area) > 30
            && shot.pixelColor(area.topLeft() + QPoint(8, 8)) == seen.paper)
            return shot;
    } while (timer.elapsed() < TestEnvironment::WaitMs);
    return QImage();
}

int recordDialog(QDialog *dialog)
{
    auto *view = dialog->findChild<MyQWebEngineView *>();
    if (seen.shoot) {
        dialog->show();
        if (view ? !loadedIn(view) : !QTest::qWaitForWindowExposed(dialog, TestEnvironment::WaitMs))
            return QDialog::Rejected;
        if (seen.shoot)
            seen.shot = settledShot(dialog, view ? view->geometry() : dialog->rect());
    }
    if (auto *popup = qobject_cast<CInfoDetailsView *>(dialog)) {
        seen.popups.append(popup->m_Html);
    } else if (auto *start = qobject_cast<CManualVieW *>(dialog); start && !seen.shoot) {
        ++seen.startPages;
        start->show();
        start->m_HideBox->setChecked(seen.tickStartBox);
        seen.startByOk ? start->m_OkButton->click() : void(start->close()); // the frame's close
    } else if (qobject_cast<CAboutDlg *>(dialog)) {
        ++seen.aboutDialogs;
        return seen.aboutResult;
    }
    return QDialog::Rejected;
}

std::unique_ptr<CZQNum> makeWindow()
{
    auto window = std::make_unique<CZQNum>();
    window->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    return window;
}

QString shownText(QWebEngineView *view)
{
    QString text;
    bool done = false;
    view->page()->toPlainText([&](const QString &result) { text = result, done = true; });
    (void)QTest::qWaitFor([&] { return done; }, TestEnvironment::WaitMs);
    return text;
}

QString guideFolder()
{
    return getImagesPath() + QStringLiteral("manual/");
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestHelpPages : public QObject
{
    Q_OBJECT
    std::unique_ptr<CZQNum> m_window;
    QList<QUrl> m_opened;
    QStringList m_texts; // the help texts as the window loaded them

public slots:
    void open(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        CUpdateCheck::setAskFunction([](const QString &, const QString &) { return false; });
        CZQNum::execDialog = recordDialog;
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
        m_window = makeWindow();
        m_window->resize(1100, 700);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get(), TestEnvironment::WaitMs));
        m_window->m_Settings.hideStartDialog = true;
        m_window->OnFinishedSU();
        // Loaded by the window; a marker per entry replaces the texts, so
        // that a page tells which entries it holds.
        m_texts = QStringList(std::begin(numerHelpers), std::end(numerHelpers));
        for (int i = 0; i < kHelperEntries; ++i)
            numerHelpers[i] = QStringLiteral("[part %1]").arg(i);
    }

    void init()
    {
        seen = Seen();
        m_opened.clear();
        QFile::remove(settingsFilePath());
    }

    // A click on each panel row goes through the window's connection to the
    // help pop-up. One line a row: the help table entries the page holds
    // and its inline picture, found among the shipped ones (none: no page).
    void topicPages()
    {
        QMap<QString, QImage> pictures;
        for (const QFileInfo &file :
             QDir(getImagesPath(), QStringLiteral("res*.jpg")).entryInfoList())
            pictures.insert(file.fileName(),
                            QImage(file.filePath()).convertToFormat(QImage::Format_RGB32));
        static const QRegularExpression part(QStringLiteral("\\[part (\\d+)\\]"));
        static const QRegularExpression data(QStringLiteral("\"data:image/png;base64,([^\"]*)\""));
        QObject *panels[] = {m_window->m_MainFeatures, m_window->m_AddFeatures,
                             m_window->m_LifeCycles, m_window->m_MatrixPanel};
        const char *names[] = {"main", "additional", "life cycles", "matrix"};
        const int rows[] = {7, 6, 6, 21}; // one past the end; the grid's 21 indices
        QString listing;
        for (int panel = 0; panel < 4; ++panel) {
            for (int index = 0; index < rows[panel]; ++index) {
                seen.popups.clear();
                QVERIFY(QMetaObject::invokeMethod(panels[panel], "itemCliked", Q_ARG(int, index)));
                listing += QStringLiteral("%1 %2:").arg(QLatin1String(names[panel])).arg(index);
                for (const QString &page : qAsConst(seen.popups)) {
                    for (auto it = part.globalMatch(page); it.hasNext();)
                        listing += QLatin1Char(' ') + it.next().captured(1);
                    // The picture sits behind a 20 pixel margin.
                    const QImage shown = QImage::fromData(
                        QByteArray::fromBase64(data.match(page).captured(1).toLatin1()));
                    listing += QLatin1Char(' ')
                        + pictures.key(shown.copy(20, 0, shown.width() - 20, shown.height())
                                           .convertToFormat(QImage::Format_RGB32),
                                       QStringLiteral("(not inline or not shipped)"));
                }
                listing += QLatin1Char('\n');
            }
        }
        const QString golden
            = readText(TestEnvironment::dataPath(QStringLiteral("app/helptopics.txt")));
        QCOMPARE(listing.split(QLatin1Char('\n')), golden.split(QLatin1Char('\n')));
    }

    void popupSizeLimits_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("initial") << QSize() << QSize(600, 500);
        QTest::newRow("inside") << QSize(900, 700) << QSize(900, 700);
        QTest::newRow("too large") << QSize(2000, 1500) << QSize(1280, 800);
        QTest::newRow("too small") << QSize(200, 100) << QSize(600, 300);
        QTest::newRow("wide and low") << QSize(1500, 200) << QSize(1280, 300);
    }

    void popupSizeLimits()
    {
        QFETCH(QSize, requested);
        QFETCH(QSize, expected);
        CInfoDetailsView popup(nullptr, QStringLiteral("<p>x</p>"));
        QCOMPARE(popup.windowTitle(), QStringLiteral("Lumaro Numerology"));
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup, TestEnvironment::WaitMs));
        if (requested.isValid())
            popup.resize(requested);
        QTRY_COMPARE_WITH_TIMEOUT(popup.size(), expected, TestEnvironment::WaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(popup.m_View->geometry(), QRect(QPoint(0, 0), expected),
                                  TestEnvironment::WaitMs);
    }

    void shownPages_data()
    {
        QTest::addColumn<int>("padding"); // of a help page; -1: a missing guide page
        QTest::addColumn<bool>("throughFile");
        QTest::addColumn<QString>("texts"); // all on the screen, split at '|'
        QTest::newRow("small") << 1000 << false << "last line";
        QTest::newRow("just under the limit")
            << MyQWebEngineView::InlineLimit - 1000 << false << "last line";
        QTest::newRow("3 MB") << 3 * 1024 * 1024 << true << "last line";
        QTest::newRow("missing guide page")
            << -1 << false << "The guide is missing|/nonexistent/manual/index.html";
    }

    // The engine drops a setHtml document above its data-URL limit without
    // a word; a large help page must still reach the screen, to its end.
    void shownPages()
    {
        QFETCH(int, padding);
        QFETCH(bool, throughFile);
        QFETCH(QString, texts);
        std::unique_ptr<CInfoDetailsView> popup;
        MyQWebEngineView guide;
        QWebEngineView *view = &guide;
        if (padding < 0) {
            loadGuidePage(&guide, QStringLiteral("/nonexistent/manual/index.html"));
        } else {
            popup = std::make_unique<CInfoDetailsView>(
                nullptr,
                QStringLiteral("<html><body><p>first line</p><!--")
                    + QString(padding, QLatin1Char('x'))
                    + QStringLiteral("--><p>last line</p></body></html>"));
            view = popup->m_View;
        }
        QVERIFY(loadedIn(view));
        QCOMPARE(view->url().isLocalFile(), throughFile);
        const QString shown = shownText(view);
        for (const QString &text : texts.split(QLatin1Char('|')))
            QVERIFY2(shown.contains(text), qPrintable(text));
    }

    // The reset that every calculation starts with empties the report
    // views; the Guide keeps the page the user went to.
    void guideSurvivesCalculation()
    {
        MyQWebEngineView *guide = m_window->m_GuideView;
        const QString manual = getImagesPath() + QStringLiteral("manual/");
        QTRY_COMPARE_WITH_TIMEOUT(guide->url(),
                                  QUrl::fromLocalFile(manual + QStringLiteral("index.html")),
                                  TestEnvironment::WaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(guide->title(), QStringLiteral("Lumaro Numerology: the guide"),
                                  TestEnvironment::WaitMs);
        const QUrl people = QUrl::fromLocalFile(manual + QStringLiteral("people.html"));
        guide->load(people);
        QVERIFY(loadedIn(guide));

        m_window->m_FullName->setText(QStringLiteral("John Michael Smith"));
        m_window->m_ShortName->setText(QStringLiteral("John Smith"));
        m_window->m_BirthDate->setDate(QDate(1985, 12, 29));
        m_window->OnCalcNum();
        m_window->OnResData();
        QTest::qWait(300);
        QCOMPARE(guide->url(), people);
        QVERIFY(shownText(guide).contains(QStringLiteral("People files")));
    }

    void startPageFlag_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("byOk");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("Ok with the box ticked") << true << true << true;
        QTest::newRow("Ok without the tick") << false << true << false;
        QTest::newRow("ticked, closed by the frame") << true << false << false;
    }

    // The start page's choice reaches the settings file: the next start
    // shows the page again or not.
    void startPageFlag()
    {
        QFETCH(bool, ticked);
        QFETCH(bool, byOk);
        QFETCH(bool, hidden);
        seen.tickStartBox = ticked;
        seen.startByOk = byOk;
        for (int start = 1; start <= 2; ++start) {
            auto window = makeWindow();
            window->OnFinishedSU();
            QCOMPARE(seen.startPages, hidden ? 1 : start);
            QCOMPARE(window->m_Settings.hideStartDialog, hidden);
        }
    }

    void menuCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("aboutResult");
        QTest::addColumn<QString>("url");
        QTest::newRow("Help: the guide, no address") << 0 << 0 << QString();
        QTest::newRow("Support") << 1 << 0
                                 << "mailto:support@lumaro-numerology.example?Subject=Support "
                                    "request for Lumaro Numerology Omnara for Win";
        QTest::newRow("About, Visit Lumaro")
            << 2 << int(QDialog::Accepted) << QString::fromLatin1(MakerInfo::productPage);
        QTest::newRow("About, Close") << 2 << int(QDialog::Rejected) << QString();
    }

    void menuCommands()
    {
        QFETCH(int, command);
        QFETCH(int, aboutResult);
        QFETCH(QString, url);
        seen.aboutResult = aboutResult;
        QAction *actions[]
            = {m_window->m_HelpAction, m_window->m_SupportAction, m_window->m_AboutAction};
        actions[command]->trigger();
        QCOMPARE(seen.aboutDialogs, command == 2 ? 1 : 0);
        QCOMPARE(m_opened.size(), url.isEmpty() ? 0 : 1);
        if (!url.isEmpty())
            QCOMPARE(m_opened.first().toString(QUrl::FullyDecoded), url);
        if (command == 0) {
            QCOMPARE(m_window->m_CurrentPage, int(MainWindowLayout::PageGuide));
            QTRY_COMPARE_WITH_TIMEOUT(m_window->m_GuideView->url().fileName(),
                                      QStringLiteral("index.html"), 15000);
        }
    }

    void aboutPosition_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("centred") << QRect(100, 50, 1100, 700) << QPoint(450, 290);
        QTest::newRow("odd sizes halve down") << QRect(0, 0, 1015, 571) << QPoint(307, 175);
        QTest::newRow("left of the screen") << QRect(-600, 40, 1015, 570) << QPoint(0, 215);
        QTest::newRow("above the screen") << QRect(30, -400, 1015, 570) << QPoint(337, 0);
    }

    void aboutPosition()
    {
        QFETCH(QRect, window);
        QFETCH(QPoint, expected);
        QCOMPARE(MainWindowLayout::centredOver(window, QSize(400, 220)), expected);
    }

    void shots_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("page"); // help pop-up, Guide page, start page, About
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("busy"); // an area that shows more than
        QTest::addColumn<int>("colours"); // ... this many colours
        for (const auto &[scheme, tag] : {std::pair(0, "chocolate"), std::pair(5, "moss")}) {
            // The Life Path's picture right of the first paragraph.
            QTest::addRow("help-popup-%s", tag)
                << scheme << 0 << QSize(600, 500) << QRect(340, 20, 240, 180) << 30;
            QTest::addRow("guide-%s", tag) << scheme << 1 << QSize() << QRect() << 0;
            // The start page's box and button below the page.
            QTest::addRow("start-page-%s", tag)
                << scheme << 2 << QSize(800, 600) << QRect(0, 565, 800, 30) << 4;
            // About in the scheme's tint, with the logo.
            QTest::addRow("about-%s", tag)
                << scheme << 3 << QSize(400, 220) << QRect(100, 30, 200, 60) << 8;
        }
    }

    // The pages on a real display in two colour schemes must reach the
    // screen with their text and pictures on their own paper, not as blank
    // white views. With LUMARO_SHOTS_DIR set the pictures are kept there.
    void shots()
    {
        QFETCH(int, scheme);
        QFETCH(int, page);
        QFETCH(QSize, size);
        QFETCH(QRect, busy);
        QFETCH(int, colours);
        std::copy(m_texts.begin(), m_texts.end(), numerHelpers);
        m_window->OnApplyStyle(scheme);
        const QColor papers[]
            = {Qt::white, kPaper, kPaper, m_window->m_Style->updateColor(QColor(0x2c, 0x24, 0x20))};
        seen.paper = papers[page];
        seen.shoot = true;
        if (page == 0) {
            m_window->MFitemCliked(0);
        } else if (page == 1) {
            m_window->setMode(MainWindowLayout::PageGuide);
            QTRY_VERIFY_WITH_TIMEOUT(!m_window->m_GuideView->title().isEmpty(),
                                     TestEnvironment::WaitMs);
            // The view's place on the screen is known once the page has
            // slid in, which a busy machine may take a while to show.
            QTRY_COMPARE_WITH_TIMEOUT(m_window->m_PageAreaAnim->state(),
                                      QAbstractAnimation::Stopped, TestEnvironment::WaitMs);
            const QRect view(m_window->m_GuideView->mapTo(m_window.get(), QPoint(0, 0)),
                             m_window->m_GuideView->size());
            seen.shot = settledShot(m_window.get(), view).copy(view);
        } else if (page == 2) {
            m_window->m_Settings.hideStartDialog = false;
            m_window->showStartPage();
            m_window->m_Settings.hideStartDialog = true;
        } else {
            m_window->OnAbout();
        }
        const QString folder = qEnvironmentVariable("LUMARO_SHOTS_DIR");
        if (!folder.isEmpty() && QDir().mkpath(folder))
            seen.shot.save(folder + QStringLiteral("/%1.png").arg(QTest::currentDataTag()));
        QVERIFY2(!seen.shot.isNull(), "the page reached the screen");
        QCOMPARE(size.isValid() ? seen.shot.size() : size, size);
        QVERIFY(busy.isNull() || distinctColours(seen.shot, busy) > colours);
    }

    void guideLinks_data()
    {
        QTest::addColumn<QString>("page");
        // The pages the Guide page and the start page open come first,
        // present or not.
        QStringList pages {QStringLiteral("index.html"), QStringLiteral("manual/start.html")};
        QDirIterator found(guideFolder(), {QStringLiteral("*.html")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (found.hasNext()) {
            const QString page = QDir(guideFolder()).relativeFilePath(found.next());
            if (!pages.contains(page))
                pages.append(page);
        }
        for (const QString &page : pages)
            QTest::newRow(qPrintable(page)) << guideFolder() + page;
    }

    // Every page, picture and anchor that a page of the shipped guide refers
    // to is there, so that no link ends on an error page or a broken picture.
    void guideLinks()
    {
        QFETCH(QString, page);
        const QString html = readText(page);
        QVERIFY(!html.isEmpty());
        static const QRegularExpression reference(
            QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""));
        for (auto it = reference.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            // The guide is read offline: nothing may lead outside it.
            QVERIFY2(!target.contains(QRegularExpression(QStringLiteral("^[a-z]+:"))),
                     qPrintable(target));
            const QString file = target.section(QLatin1Char('#'), 0, 0);
            const QString anchor = target.section(QLatin1Char('#'), 1);
            const QString path
                = file.isEmpty() ? page : QFileInfo(page).dir().absoluteFilePath(file);
            QVERIFY2(QFileInfo(path).isFile(), qPrintable(target));
            QVERIFY2(QDir::cleanPath(path).startsWith(guideFolder()), qPrintable(target));
            QVERIFY2(!path.endsWith(QLatin1String(".png")) || !QImage(path).isNull(),
                     qPrintable(target));
            QVERIFY2(anchor.isEmpty()
                         || readText(path).contains(QStringLiteral("id=\"%1\"").arg(anchor)),
                     qPrintable(target));
        }
    }
};

QTEST_MAIN(TestHelpPages)
#include "tst_helppages.moc"
