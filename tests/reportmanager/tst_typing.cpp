#include "filetrial/filetrial.h"
#include "managerscript.h"

#include "engine/numerology.h"
#include "engine/texttables.h"
#include "layouts/defaultlayout.h"
#include "layouts/sectionmarkup.h"
#include "layouts/sectiontext.h"
#include "reportmanager/texteditor.h"
#include "style/appstyle.h"
#include "testenvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

using namespace ManagerScript;

// The section editor and the Report Manager's name boxes as a user drives
// them: key presses into shown windows and the display's own clipboard. With
// LUMARO_SHOTS_DIR set the windows are kept there as pictures for a look.
class TestTyping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void copyAndPaste_data();
    void copyAndPaste();
    void chosenFamilyIsPrinted_data();
    void chosenFamilyIsPrinted();
    void nameBoxTakesTyping_data();
    void nameBoxTakesTyping();

private:
    CTextEditor *openEditor(const QString &start);
    void play(const QString &keys);
    void keepShot(QWidget *window, const QString &name) const;

    CAppStyle *m_style = nullptr;
    QString m_table[256];
    QStringList m_texts;
    QList<QImage> m_images;
    QList<bool> m_flags;
    CTextEditor *m_editor = nullptr;
    QString m_shots;
};

namespace {

const QString threeParagraphs = QStringLiteral("<p>one</p><p>two</p><p>three</p>");

// A stored text as an older session of the editor left it.
QString storedText(const QString &body)
{
    return QStringLiteral("<html><body>") + withParagraphMarkers(body)
        + QStringLiteral("</body></html>");
}

// Clipboard contents whose markup the section filter refuses, with a plain
// text beside it.
QMimeData *refusedMarkup(const QString &plain)
{
    auto *mime = new QMimeData;
    QString html = QStringLiteral("<p>");
    for (int i = 0; i <= SectionMarkup::MaxTextTags / 2; ++i)
        html += QStringLiteral("<b>x</b>");
    mime->setHtml(html + QStringLiteral("</p>"));
    mime->setText(plain);
    return mime;
}

// The plain text a stored text shows when it is opened again.
QString reopenedText(const QString &stored)
{
    QTextDocument document;
    document.setHtml(customTextForEditor(stored));
    return document.toPlainText();
}

// The family a browser takes for the first occurrence of word in a text, as
// far as spans name one: the font-family of the innermost open span that
// names any; a null string when none does.
QString familyAround(const QString &html, const QString &word)
{
    const int at = html.indexOf(QRegularExpression(QStringLiteral(">[^<]*\\b%1\\b").arg(word)));
    if (at < 0)
        return QStringLiteral("<word not found>");
    static const QRegularExpression span(QStringLiteral("<(/?)span\\b([^>]*)>"));
    static const QRegularExpression family(QStringLiteral("font-family:\\s*([^;\"]*)"));
    QStringList open; // the style attributes of the spans open so far
    for (auto it = span.globalMatch(html.left(at + 1)); it.hasNext();) {
        const QRegularExpressionMatch tag = it.next();
        if (tag.captured(1).isEmpty())
            open << tag.captured(2);
        else if (!open.isEmpty())
            open.removeLast();
    }
    for (auto it = open.crbegin(); it != open.crend(); ++it) {
        const QRegularExpressionMatch match = family.match(*it);
        if (match.hasMatch())
            return match.captured(1).trimmed();
    }
    return QString();
}

} // namespace

void TestTyping::initTestCase()
{
    // The layouts here are the tests' own; whether a shared file may be used
    // is tried in the trial's tests, and a real trial beside a busy suite
    // may pass its ten seconds.
    FileTrial::defaultOptions().runTrials = false;
    m_style = new CAppStyle(getImagesPath());
    m_shots = qEnvironmentVariable("LUMARO_SHOTS_DIR");
    if (!m_shots.isEmpty())
        QDir().mkpath(m_shots);
}

void TestTyping::init()
{
    install();
    reset();
    for (QString &text : m_table)
        text.clear();
    m_table[0] = QStringLiteral("<p>The heading.</p>");
    m_table[1] = threeParagraphs;
    m_texts.clear();
    m_images.clear();
    m_flags.clear();
    for (int i = 0; i < repItem::EntryCount; ++i) {
        m_texts << QString();
        m_images << QImage();
        m_flags << true;
    }
    QApplication::clipboard()->clear();
}

void TestTyping::cleanup()
{
    delete m_editor;
    m_editor = nullptr;
}

void TestTyping::keepShot(QWidget *window, const QString &name) const
{
    if (!m_shots.isEmpty())
        window->grab().save(m_shots + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// start: "standard" (entry 1 shows its standard text), "stored <html>" (a
// custom text as stored) or "pasted <html>" (an empty entry that the html is
// pasted into with Ctrl+V).
CTextEditor *TestTyping::openEditor(const QString &start)
{
    if (start.startsWith(QLatin1String("stored "))) {
        m_texts[1] = storedText(start.mid(7));
        m_flags[1] = false;
    }
    m_editor = new CTextEditor(m_style, &m_texts, &m_images, &m_flags, m_table, RKNumerology, 1,
                               nullptr, 256);
    m_editor->entryCombo->setCurrentIndex(1);
    // Shown modeless here, the editor is activated as a window manager would.
    m_editor->show();
    if (!QTest::qWaitForWindowExposed(m_editor, TestEnvironment::WaitMs))
        qWarning("the editor was not shown");
    m_editor->activateWindow();
    if (!QTest::qWaitForWindowActive(m_editor, TestEnvironment::WaitMs))
        qWarning("the editor did not become active");
    m_editor->textEdit->setFocus();
    if (start.startsWith(QLatin1String("pasted "))) {
        auto *mime = new QMimeData;
        mime->setHtml(start.mid(7));
        QApplication::clipboard()->setMimeData(mime);
        play(QStringLiteral("Ctrl+A Ctrl+V"));
    }
    return m_editor;
}

// Presses the keys into the editor's text, one sequence per blank-separated
// word; "Drop" drops what the clipboard holds at the end of the text.
void TestTyping::play(const QString &keys)
{
    QTextEdit *edit = m_editor->textEdit;
    for (const QString &key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (key == QLatin1String("Drop")) {
            const QMimeData *mime = QApplication::clipboard()->mimeData();
            QVERIFY(mime);
            const QPoint end(edit->viewport()->width() - 5, edit->viewport()->height() - 5);
            QDragEnterEvent enter(end, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit->viewport(), &enter);
            QDropEvent drop(end, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit->viewport(), &drop);
            QVERIFY(drop.isAccepted());
        } else {
            const QKeySequence sequence = QKeySequence::fromString(key);
            QVERIFY2(!sequence.isEmpty(), qPrintable(key));
            QTest::keySequence(edit, sequence);
        }
    }
}

// What is copied in the editor pastes as the paragraphs copied, and what the
// section cannot take as markup still pastes as plain text.
void TestTyping::copyAndPaste_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("refused"); // the clipboard holds refused markup, else what is copied
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    const QString twice = QStringLiteral("one\ntwo\nthree\none\ntwo\nthree");
    QTest::newRow("stored text over itself")
        << "stored " + threeParagraphs << false << "Ctrl+A Ctrl+C Ctrl+V"
        << "one\ntwo\nthree";
    QTest::newRow("after itself") << "standard" << false << "Ctrl+A Ctrl+C Ctrl+End Return Ctrl+V"
                                  << twice;
    QTest::newRow("two paragraphs in front")
        << "stored " + threeParagraphs << false
        << "Ctrl+Home Down Shift+Down Shift+End Ctrl+C Ctrl+Home Ctrl+V"
        << "two\nthreeone\ntwo\nthree";
    QTest::newRow("part of a paragraph inside another")
        << "standard" << false << "Ctrl+Home Shift+End Ctrl+C Down End Ctrl+V"
        << "one\ntwoone\nthree";
    QTest::newRow("dropped after itself")
        << "stored " + threeParagraphs << false << "Ctrl+A Ctrl+C Ctrl+End Return Drop" << twice;
    QTest::newRow("refused markup, its plain text over all")
        << "standard" << true << "Ctrl+A Ctrl+V"
        << "four\nfive";
    QTest::newRow("refused markup dropped") << "standard" << true << "Ctrl+End Return Drop"
                                            << "one\ntwo\nthree\nfour\nfive";
}

void TestTyping::copyAndPaste()
{
    QFETCH(QString, start);
    QFETCH(bool, refused);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    CTextEditor *editor = openEditor(start);
    if (refused)
        QApplication::clipboard()->setMimeData(refusedMarkup(QStringLiteral("four\nfive")));
    play(keys);
    keepShot(editor, QStringLiteral("typing-paste-") + QTest::currentDataTag());
    QCOMPARE(editor->textEdit->toPlainText(), expected);
    const QString stored = editor->workTexts.at(1);
    QCOMPARE(reopenedText(stored), expected);
    // One marker, one line break of the report, per paragraph.
    QCOMPARE(stored.count(QLatin1String(ParagraphMarker)), expected.count(QLatin1Char('\n')) + 1);
}

// The family chosen for a word is the one family its text names, in the
// stored text and in the report built from it, whatever families the text
// named before.
void TestTyping::chosenFamilyIsPrinted_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys"); // where the family is chosen
    QTest::addColumn<QString>("other"); // a word left alone, if any

    const QString arial
        = QStringLiteral("<p><span style=\" font-family:'Arial';\">one two three</span></p>");
    QTest::newRow("stored Arial text, word at the cursor")
        << "stored " + arial << "Ctrl+Home Right Right Right Right Right"
        << "one";
    QTest::newRow("pasted family list, whole text")
        << "pasted <p style=\"font-family: Arial, 'DejaVu Sans', sans-serif\">one two three</p>"
        << "Ctrl+A"
        << "";
    QTest::newRow("standard text") << "standard"
                                   << "Ctrl+Home Down Right"
                                   << "three";
}

void TestTyping::chosenFamilyIsPrinted()
{
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, other);
    const QString chosen = QStringLiteral("DejaVu Serif");
    if (!QFontDatabase().families().contains(chosen))
        QSKIP("the family to choose is not installed");
    CTextEditor *editor = openEditor(start);
    play(keys);
    // Chosen from the box as a user does: the line before it, then Down.
    QFontComboBox *box = editor->fontCombo;
    const int index = box->findText(chosen);
    QVERIFY(index > 0);
    box->setFocus();
    box->setCurrentIndex(index - 1);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), chosen);

    const QString stored = editor->workTexts.at(1);
    const QString family = QStringLiteral("'%1'").arg(chosen);
    QCOMPARE(familyAround(stored, QStringLiteral("two")), family);
    if (!other.isEmpty())
        QVERIFY(familyAround(stored, other) != family);

    // The report: a custom text section holding the stored text in place of
    // its standard one.
    numerCustomText[0] = QStringLiteral("<p>Your text here.</p>");
    QList<reportSetting> layouts {reportSetting()};
    layouts[0].name = QStringLiteral("Typed");
    addItemSet(&layouts[0].items[RKNumerology], RKNumerology, 35, QStringLiteral("Notes"));
    repItem &section = layouts[0].items[RKNumerology][0];
    section.defaultStyle = false;
    section.texts[0] = stored;
    section.useStdText[0] = false;
    CNumerology person;
    QVERIFY(person.calculate(QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), {}, {}, false,
                             QDate(1980, 3, 5), QDate(2026, 3, 15), &layouts, 1, 0, false));
    QCOMPARE(familyAround(person.reportHtml, QStringLiteral("two")), family);
    if (!other.isEmpty())
        QVERIFY(familyAround(person.reportHtml, other) != family);
}

// The name box of New (and so of Copy) and Rename takes the keys as soon as it opens.
void TestTyping::nameBoxTakesTyping_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("keys"); // pressed before the text is typed
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("new") << "new"
                         << ""
                         << "Delta" << QStringList {"Alpha", "Beta", "Gamma", "Delta"};
    QTest::newRow("rename over the selected name")
        << "rename"
        << ""
        << "Bravo" << QStringList {"Alpha", "Bravo", "Gamma"};
    QTest::newRow("rename, added to the name") << "rename"
                                               << "End"
                                               << "2" << QStringList {"Alpha", "Beta2", "Gamma"};
}

void TestTyping::nameBoxTakesTyping()
{
    QFETCH(QString, command);
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QStringList, rows);
    QList<reportSetting> settings;
    for (const char *name : {"Alpha", "Beta", "Gamma"}) {
        reportSetting setting;
        setting.name = QString::fromLatin1(name);
        initialDefSetting(&setting);
        settings << setting;
    }
    writeLayouts(settings);
    CLayoutManagerDlgWin win(m_style, QStringLiteral("Beta"), nullptr);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win, TestEnvironment::WaitMs));
    CLayoutManagerDlg *dlg = win.content;
    // The real modal run of the box; the keys go to whatever has the focus.
    LayoutDialogs::setExecHandler(nullptr);
    int runs = 0;
    QElapsedTimer waited;
    waited.start();
    QTimer driver;
    driver.setInterval(20);
    connect(&driver, &QTimer::timeout, this, [&]() {
        auto *box = qobject_cast<CInfoDlgWin *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        QWindow *window = box->windowHandle();
        // Keys reach a window once it is active; a box that never gets
        // there is typed into anyway, so that the test ends.
        if (QGuiApplication::focusWindow() != window && waited.elapsed() < TestEnvironment::WaitMs)
            return;
        if (++runs > 1) { // refused: the same box again
            box->content->OnCancel();
            return;
        }
        for (const QString &key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QTest::keySequence(window, QKeySequence::fromString(key));
        for (const QChar c : typed)
            QTest::keyClick(window, c.toLatin1());
        keepShot(box, QStringLiteral("typing-namebox-") + QTest::currentDataTag());
        QTest::mouseClick(box->content->okButton, Qt::LeftButton);
    });
    driver.start();
    if (command == QLatin1String("new"))
        dlg->newButton->click();
    else
        dlg->renameButton->click();
    driver.stop();

    QStringList shown;
    for (const Box &box : qAsConst(messages))
        shown << box.text;
    QCOMPARE(shown, QStringList());
    QCOMPARE(runs, 1);
    QStringList listed;
    QStringList named;
    for (int i = 0; i < dlg->settingsList->count(); ++i)
        listed << dlg->settingsList->item(i)->text();
    for (const reportSetting &setting : qAsConst(dlg->settings))
        named << setting.name;
    QCOMPARE(listed, rows);
    QCOMPARE(named, rows);
}

QTEST_MAIN(TestTyping)
#include "tst_typing.moc"
