#include "managerscript.h"

#include "engine/reporttools.h"
#include "layouts/reportsetting.h"
#include "layouts/sectionmarkup.h"
#include "layouts/sectiontext.h"
#include "reportmanager/imagepreview.h"
#include "reportmanager/texteditor.h"
#include "style/appstyle.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <memory>

using namespace ManagerScript;

// The section text editor: what it shows, what it stores for the report
// builder, and the picture dialog behind its "Image" button.
class TestTextEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void startsFromStandardText();
    void keystrokeStoresCustomText();
    void pasteDropsFetchingMarkup();
    void emptyTextClearsCustomText();
    void defaultSettingKeepsCustomText();
    void fontSizesShiftedForEditing_data();
    void fontSizesShiftedForEditing();
    void sizesPrintAsShown_data();
    void sizesPrintAsShown();
    void keyPastTheLengthRefused();
    void switchingEntriesStoresNothing();
    void okWritesCancelDiscards();
    void entryLists_data();
    void entryLists();
    void keysDoNotCloseIt();
    void geometry();
    void pictures_data();
    void pictures();
    void picturesOnlyFromReportPlaces_data();
    void picturesOnlyFromReportPlaces();

private:
    CTextEditor *makeEditor(int kind, int type);

    std::unique_ptr<CAppStyle> m_style;
    QString m_table[256];
    QStringList m_texts;
    QList<QImage> m_images;
    QList<bool> m_flags;
    CTextEditor *m_editor = nullptr;
};

void TestTextEditor::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(getImagesPath());
    install();
}

void TestTextEditor::init()
{
    reset();
    for (QString &text : m_table)
        text.clear();
    m_table[0] = QStringLiteral("<p>The heading text.</p>");
    m_table[1] = QStringLiteral("<p>Standard text of one.</p>");
    m_table[2] = QStringLiteral("<p>Standard text of two.</p>");
    m_table[3] = QStringLiteral("<p>Standard text of three.</p>");
    m_texts = QStringList();
    m_images.clear();
    m_flags.clear();
    for (int i = 0; i < repItem::EntryCount; ++i) {
        m_texts << QString();
        m_images << QImage();
        m_flags << true;
    }
}

void TestTextEditor::cleanup()
{
    delete m_editor;
    m_editor = nullptr;
}

CTextEditor *TestTextEditor::makeEditor(int kind, int type)
{
    delete m_editor;
    m_editor = new CTextEditor(m_style.get(), &m_texts, &m_images, &m_flags, m_table, kind, type,
                               nullptr, 256);
    return m_editor;
}

void TestTextEditor::startsFromStandardText()
{
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    QCOMPARE(editor->windowTitle(), QStringLiteral("Text Editor"));
    QCOMPARE(editor->entryCombo->currentText(), QStringLiteral("Heading"));
    editor->entryCombo->setCurrentIndex(1);
    QCOMPARE(editor->currentEntry(), 1);
    QCOMPARE(editor->textEdit->toPlainText(), QStringLiteral("Standard text of one."));
    QVERIFY(editor->defaultCheck->isChecked());
    QVERIFY(editor->workTexts.at(1).isNull());
    QCOMPARE(editor->sizeOffset, 4);
}

void TestTextEditor::keystrokeStoresCustomText()
{
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->entryCombo->setCurrentIndex(1);
    editor->show();
    editor->textEdit->moveCursor(QTextCursor::End);
    QTest::keyClick(editor->textEdit, Qt::Key_Return);
    QTest::keyClicks(editor->textEdit, "Mine");
    QVERIFY(editor->isVisible());
    QVERIFY(!editor->defaultCheck->isChecked());
    QCOMPARE(editor->workStdFlags.at(1), false);
    const QString stored = editor->workTexts.at(1);
    QVERIFY(stored.contains(QLatin1String("Standard text of one.")));
    QVERIFY(stored.contains(QLatin1String("Mine")));
    QCOMPARE(stored.count(QLatin1String("<p")), 2);
    QCOMPARE(stored.count(QLatin1String("<!-- md --><br><p")), 2);
    // The body part the report builder takes starts at the first paragraph.
    const int body = stored.indexOf(QLatin1String("<body"));
    QVERIFY(body >= 0);
    QVERIFY(stored.indexOf(QLatin1String("<!-- md --><br>"), body) > body);
    // Nothing reaches the section before Ok.
    QVERIFY(m_texts.at(1).isNull());
    QCOMPARE(m_flags.at(1), true);
}

// Pasted rich text keeps its formatting but not what a frame or an object
// would show.
void TestTextEditor::pasteDropsFetchingMarkup()
{
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->entryCombo->setCurrentIndex(1);
    editor->textEdit->clear();
    auto *mime = new QMimeData;
    mime->setHtml(QStringLiteral("<p><b>Seven</b></p><iframe src=\"file:///etc/passwd\">"
                                 "INSIDE</iframe><object data=\"x\">Fallback</object>"));
    QGuiApplication::clipboard()->setMimeData(mime);
    editor->textEdit->paste();
    QCOMPARE(editor->textEdit->toPlainText(), QStringLiteral("Seven"));
    QVERIFY(editor->workTexts.at(1).contains(QLatin1String("font-weight:600")));
}

void TestTextEditor::emptyTextClearsCustomText()
{
    m_texts[2] = QStringLiteral("<html><body><!-- md --><br><p>Old</p></body></html>");
    m_flags[2] = false;
    CTextEditor *editor = makeEditor(RKPet, 1);
    editor->entryCombo->setCurrentIndex(2);
    QCOMPARE(editor->textEdit->toPlainText(), QStringLiteral("Old"));
    QVERIFY(!editor->defaultCheck->isChecked());
    editor->textEdit->selectAll();
    QTest::keyClick(editor->textEdit, Qt::Key_Delete);
    QVERIFY(editor->workTexts.at(2).isNull());
    QVERIFY(!editor->defaultCheck->isChecked());
    QCOMPARE(editor->workStdFlags.at(2), false);
}

void TestTextEditor::defaultSettingKeepsCustomText()
{
    m_texts[3] = QStringLiteral("<html><body><!-- md --><br><p>Own three</p></body></html>");
    m_flags[3] = false;
    CTextEditor *editor = makeEditor(RKNumerology, 5);
    editor->entryCombo->setCurrentIndex(3);
    editor->defaultCheck->setChecked(true);
    QCOMPARE(editor->workStdFlags.at(3), true);
    QCOMPARE(editor->workTexts.at(3), m_texts.at(3));
    editor->defaultCheck->setChecked(false);
    QCOMPARE(editor->workStdFlags.at(3), false);
    QVERIFY(editor->workTexts.at(3).contains(QLatin1String("<!-- md --><br><p")));
    QVERIFY(editor->workTexts.at(3).contains(QLatin1String("Own three")));
}

void TestTextEditor::fontSizesShiftedForEditing_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("box");

    QTest::newRow("14 points") << "14"
                               << "18"
                               << "14";
    QTest::newRow("8 points") << "8"
                              << "12"
                              << "8";
    QTest::newRow("fraction") << "10.5"
                              << "14.5"
                              << "10.5";
}

void TestTextEditor::fontSizesShiftedForEditing()
{
    QFETCH(QString, size);
    QFETCH(QString, shown);
    QFETCH(QString, box);
    m_texts[1] = QStringLiteral("<html><body><!-- md --><br><p><span style=\" font-size:%1pt;\">"
                                "Sized</span></p></body></html>")
                     .arg(size);
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->entryCombo->setCurrentIndex(1);
    const QString html = editor->textEdit->toHtml();
    QVERIFY2(html.contains(QStringLiteral("font-size:%1pt;").arg(shown)), qPrintable(html));
    QTextCursor cursor = editor->textEdit->textCursor();
    cursor.setPosition(2);
    editor->textEdit->setTextCursor(cursor);
    if (!box.isNull())
        QCOMPARE(editor->sizeCombo->currentText(), box);
    editor->editText();
    const QString stored = editor->workTexts.at(1);
    QVERIFY2(stored.contains(QStringLiteral("font-size:%1pt;\">Sized").arg(size)),
             qPrintable(stored));
}

namespace {

// The sizes the report prints a stored text's characters at, in order of
// first use: what the builder takes of it, read where text without a size of
// its own is at the report's 12 points.
QString printedSizes(const QString &stored)
{
    QTextDocument printed;
    printed.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    printed.setHtml(CReportTools().delHtmlHeaderTags(stored));
    QStringList sizes;
    for (QTextBlock block = printed.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString size = QString::number(it.fragment().charFormat().font().pointSizeF());
            if (!it.fragment().text().trimmed().isEmpty() && !sizes.contains(size))
                sizes << size;
        }
    return sizes.join(QLatin1Char(','));
}

} // namespace

// What the size box shows at a text is what the report prints it at, however
// the size came: typed, pasted, left to the report, or stored long ago.
void TestTextEditor::sizesPrintAsShown_data()
{
    QTest::addColumn<QString>("stored"); // null: the standard text
    QTest::addColumn<QString>("action"); // "type", "size <n>" or "paste <html>"
    QTest::addColumn<QString>("box"); // at the edited text
    QTest::addColumn<QString>("printed");

    // The report prints nothing of a stored body tag, its size included.
    const QString old14 = QStringLiteral(
        "<html><body style=\" font-family:'Arial'; font-size:9pt;\"><!-- md --><br>"
        "<p><span style=\" font-size:14pt;\">Fourteen</span> plain</p></body></html>");
    QTest::newRow("typed 10.5") << QString() << "size 10.5"
                                << "10.5"
                                << "10.5";
    QTest::newRow("typed 96") << QString() << "size 96"
                              << "96"
                              << "96";
    QTest::newRow("typed beyond the largest a layout keeps") << QString() << "size 5000"
                                                             << "1000"
                                                             << "1000";
    QTest::newRow("unsized text edited") << QString() << "type"
                                         << "12"
                                         << "12";
    QTest::newRow("pasted pixels keep the rest")
        << old14 << "paste <span style=\"font-size:13px\">Small</span>"
        << "5.75"
        << "14,12,5.75";
    QTest::newRow("old 14 and unsized text") << old14 << "type"
                                             << "14"
                                             << "14,12";
    QTest::newRow("old 12") << "<html><body><!-- md --><br><p><span style=\" font-size:12pt;\">"
                               "Twelve</span></p></body></html>"
                            << "type"
                            << "12"
                            << "12";
    QTest::newRow("old fraction, unshifted sizes")
        << "<html><body style=\" font-size:16pt;\"><!-- md --><br><p><span style=\" "
           "font-size:18pt;\">Eighteen</span><span style=\" font-size:10.5pt;\">x</span></p>"
           "</body></html>"
        << "type"
        << "18"
        << "18,10.5";
}

void TestTextEditor::sizesPrintAsShown()
{
    QFETCH(QString, stored);
    QFETCH(QString, action);
    QFETCH(QString, box);
    QFETCH(QString, printed);
    m_texts[1] = stored;
    m_flags[1] = stored.isNull();
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->entryCombo->setCurrentIndex(1);
    QTextCursor cursor = editor->textEdit->textCursor();
    // An old text that is only edited prints as it did.
    if (!stored.isNull() && action == QLatin1String("type"))
        QCOMPARE(printedSizes(stored), printed);
    if (action.startsWith(QLatin1String("size "))) {
        editor->textEdit->selectAll();
        editor->sizeCombo->lineEdit()->clear();
        QTest::keyClicks(editor->sizeCombo->lineEdit(), action.mid(5));
        QTest::keyClick(editor->sizeCombo->lineEdit(), Qt::Key_Return);
        cursor.setPosition(2);
    } else if (action.startsWith(QLatin1String("paste "))) {
        cursor.movePosition(QTextCursor::End);
        editor->textEdit->setTextCursor(cursor);
        auto *mime = new QMimeData;
        mime->setHtml(action.mid(6));
        QGuiApplication::clipboard()->setMimeData(mime);
        editor->textEdit->paste();
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::Left);
    } else {
        cursor.setPosition(2);
        editor->textEdit->setTextCursor(cursor);
        QTest::keyClicks(editor->textEdit, "x");
    }
    editor->textEdit->setTextCursor(cursor);
    QCOMPARE(editor->sizeCombo->currentText(), box);
    QCOMPARE(printedSizes(editor->workTexts.at(1)), printed);
}

// Typed keys that take the stored form past the longest a layout keeps
// are taken back one by one, each with the message; those before stay.
void TestTextEditor::keyPastTheLengthRefused()
{
    const QString words = QStringLiteral("abcdefghi ");
    const auto storedOf = [](const QString &plain) {
        // In the editor's font, which its document names.
        QTextDocument document;
        document.setDefaultFont(QFont(QStringLiteral("Arial"), 16));
        document.setPlainText(plain);
        return storedCustomText(document.toHtml("UTF-8"), EditorSizeOffset);
    };
    // A paragraph whose stored form is 20 characters short of the limit.
    const int overhead = storedOf(words).size() - words.size();
    const int length = SectionMarkup::MaxTextLength - overhead - 20;
    m_texts[1] = storedOf(words.repeated(length / words.size() + 1).left(length));
    QCOMPARE(m_texts.at(1).size(), SectionMarkup::MaxTextLength - 20);
    m_flags[1] = false;
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->layoutName = QStringLiteral("My layout");
    editor->sectionName = QStringLiteral("Life Path");
    editor->entryCombo->setCurrentIndex(1);
    const QString loaded = editor->textEdit->toPlainText();
    editor->textEdit->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor->textEdit, QString(22, QLatin1Char('x')));
    QCOMPARE(editor->textEdit->toPlainText(), loaded + QString(20, QLatin1Char('x')));
    QCOMPARE(editor->workTexts.at(1).size(), SectionMarkup::MaxTextLength);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.first().text,
             QStringLiteral("The text of \"Life Path\" in the layout \"My layout\" would be 1 "
                            "page longer than a section text can be."));
    // Undo takes back the last key taken.
    editor->textEdit->undo();
    QCOMPARE(editor->textEdit->toPlainText(), loaded + QString(19, QLatin1Char('x')));
}

void TestTextEditor::switchingEntriesStoresNothing()
{
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    for (int i = 0; i < editor->entryCombo->count(); ++i)
        editor->entryCombo->setCurrentIndex(i);
    editor->entryCombo->setCurrentIndex(0);
    for (int i = 0; i < 4; ++i) {
        QVERIFY(editor->workTexts.at(i).isNull());
        QVERIFY(editor->workStdFlags.at(i));
    }
    // Formatting is typing too.
    editor->textEdit->selectAll();
    editor->boldButton->setChecked(true);
    editor->OnTextBold();
    QVERIFY(!editor->workTexts.at(0).isNull());
    editor->OnTextSize(QStringLiteral("14"));
    QVERIFY(editor->workTexts.at(0).contains(QLatin1String("font-size:14pt;")));
}

void TestTextEditor::okWritesCancelDiscards()
{
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->entryCombo->setCurrentIndex(2);
    editor->textEdit->setPlainText(QStringLiteral("Two of mine"));
    editor->OnCancel();
    QVERIFY(m_texts.at(2).isNull());
    QCOMPARE(m_flags.at(2), true);

    editor = makeEditor(RKNumerology, 1);
    editor->entryCombo->setCurrentIndex(2);
    editor->textEdit->setPlainText(QStringLiteral("Two of mine"));
    editor->OnOk();
    QVERIFY(m_texts.at(2).contains(QLatin1String("Two of mine")));
    QCOMPARE(m_flags.at(2), false);
    QCOMPARE(m_texts.size(), repItem::EntryCount);
}

void TestTextEditor::entryLists_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("labels");
    QTest::addColumn<int>("firstEntry");

    QTest::newRow("love family") << 2 << 5 << "Heading" << 1;
    QTest::newRow("challenges") << 0 << 15 << "Heading|0|1|2" << 0;
    QTest::newRow("psycho matrix") << 1 << 3 << "Heading|1|2|3" << 0;
    QTest::newRow("love psycho-matrix") << 2 << 4 << "" << 0;
}

void TestTextEditor::entryLists()
{
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(QString, labels);
    QFETCH(int, firstEntry);
    CTextEditor *editor = makeEditor(kind, type);
    QStringList found;
    for (int i = 0; i < editor->entryCombo->count(); ++i)
        found << editor->entryCombo->itemText(i);
    QCOMPARE(found.join(QLatin1Char('|')), labels);
    QCOMPARE(editor->currentEntry(), firstEntry);
    if (labels.isEmpty()) {
        // Nothing listed: typing still goes to entry 0.
        QVERIFY(editor->textEdit->toPlainText().isEmpty());
        editor->textEdit->setPlainText(QStringLiteral("zero"));
        QVERIFY(editor->workTexts.at(0).contains(QLatin1String("zero")));
    }
}

void TestTextEditor::keysDoNotCloseIt()
{
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor, TestEnvironment::WaitMs));
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(editor, key);
        QVERIFY(editor->isVisible());
    }
}

void TestTextEditor::geometry()
{
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->show();
    QCOMPARE(editor->minimumSize(), QSize(800, 600));
    editor->resize(400, 300);
    QCOMPARE(editor->size(), QSize(800, 600));
    QCOMPARE(editor->textEdit->geometry(), QRect(10, 50, 780, 500));
    QCOMPARE(editor->cancelButton->pos(), QPoint(310, 570));
    QCOMPARE(editor->okButton->pos(), QPoint(410, 570));

    QImage slot;
    CImagePreview preview(m_style.get(), &slot, RKNumerology, nullptr);
    preview.show();
    QCOMPARE(preview.size(), QSize(400, 320));
    QCOMPARE(preview.previewLabel->pos(), QPoint(137, 67));
    QCOMPARE(preview.openButton->pos(), QPoint(160, 213));
    QCOMPARE(preview.cancelButton->pos(), QPoint(60, 290));
    QCOMPARE(preview.okButton->pos(), QPoint(160, 290));
    QCOMPARE(preview.defaultButton->pos(), QPoint(260, 290));
    QCOMPARE(preview.previewLabel->text(), QStringLiteral("Default"));
}

namespace {

QString pictureFile;
QString labelAfterDefault;
QString openPicture(QWidget *, const QString &, const QString &)
{
    return pictureFile;
}

} // namespace

void TestTextEditor::pictures_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("loaded");
    QTest::addColumn<QSize>("kept");
    QTest::addColumn<int>("slot");

    QTest::newRow("numerology, large") << 0 << QSize(300, 200) << QSize(126, 84) << 0;
    QTest::newRow("pet, small is enlarged") << 4 << QSize(20, 40) << QSize(63, 126) << 0;
    QTest::newRow("celebrities, fits") << 3 << QSize(300, 200) << QSize(300, 200) << 2;
    QTest::newRow("celebrities, too wide") << 3 << QSize(920, 460) << QSize(460, 230) << 2;
    QTest::newRow("unreadable file") << 0 << QSize() << QSize(0, 0) << 0;
}

void TestTextEditor::pictures()
{
    QFETCH(int, kind);
    QFETCH(QSize, loaded);
    QFETCH(QSize, kept);
    QFETCH(int, slot);

    QTemporaryDir dir;
    pictureFile = dir.filePath(QStringLiteral("picture.png"));
    if (loaded.isValid()) {
        QImage image(loaded, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(pictureFile));
    }
    LayoutDialogs::setOpenFileHandler(openPicture);
    m_images[0] = QImage(5, 5, QImage::Format_RGB32);

    CTextEditor *editor = makeEditor(kind, 1);
    editor->entryCombo->setCurrentIndex(2);
    onDialog = [](QDialog *dialog) {
        auto *preview = qobject_cast<CImagePreview *>(dialog);
        if (!preview)
            return int(QDialog::Rejected);
        preview->openButton->click();
        preview->okButton->click();
        return int(QDialog::Accepted);
    };
    editor->imageButton->click();
    QCOMPARE(editor->workImages.at(slot).size(), kept);
    QCOMPARE(m_images.at(slot).size(), slot == 0 ? QSize(5, 5) : QSize(0, 0));

    // "Default" and Ok take the picture away; Cancel keeps it.
    onDialog = [](QDialog *dialog) {
        auto *preview = qobject_cast<CImagePreview *>(dialog);
        preview->defaultButton->click();
        labelAfterDefault = preview->previewLabel->text();
        preview->cancelButton->click();
        return int(QDialog::Rejected);
    };
    editor->imageButton->click();
    QCOMPARE(labelAfterDefault, QStringLiteral("Default"));
    QCOMPARE(editor->workImages.at(slot).size(), kept);
    onDialog = [](QDialog *dialog) {
        auto *preview = qobject_cast<CImagePreview *>(dialog);
        preview->defaultButton->click();
        preview->okButton->click();
        return int(QDialog::Accepted);
    };
    editor->imageButton->click();
    QVERIFY(editor->workImages.at(slot).isNull());
}

// A section text, stored or pasted, shows pictures only from where report
// pages may load them; any other shows as missing, and the text stays.
void TestTextEditor::picturesOnlyFromReportPlaces_data()
{
    // %P a private folder (also the working folder), %U the user's folder,
    // %R the resources folder, %D a data URI; all hold a red picture.
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<bool>("shown");

    QTest::newRow("private, file URL") << "file://%P/red.png" << false << false;
    QTest::newRow("private, pasted") << "file://%P/red.png" << true << false;
    QTest::newRow("private, bare path") << "%P/red.png" << false << false;
    QTest::newRow("private, relative path") << "red.png" << false << false;
    QTest::newRow("escape from the user folder") << "%U/%2E%2E/red.png" << true << false;
    QTest::newRow("user folder, pasted path") << "%U/red.png" << true << true;
    QTest::newRow("resources folder") << "file://%R" << false << true;
    QTest::newRow("data URI") << "%D" << false << true;
}

void TestTextEditor::picturesOnlyFromReportPlaces()
{
    QFETCH(QString, source);
    QFETCH(bool, paste);
    QFETCH(bool, shown);
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QTemporaryDir elsewhere;
    const QString user = getUserFolder();
    QTemporaryFile shipped(getResourcesPath() + QStringLiteral("XXXXXX.png"));
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(QDir().mkpath(user) && shipped.open() && buffer.open(QIODevice::WriteOnly));
    for (const QString &path :
         {elsewhere.filePath("red.png"), user + "/../red.png", user + "/red.png"})
        QVERIFY(red.save(path));
    QVERIFY(red.save(&shipped, "PNG") && red.save(&buffer, "PNG"));
    shipped.close();
    source.replace("%P", elsewhere.path()).replace("%U", user).replace("%R", shipped.fileName());
    source.replace("%D", "data:image/png;base64," + png.toBase64());
    const QString text = QStringLiteral("<p>Before <img src=\"%1\" /> after</p>").arg(source);
    m_texts[1] = paste ? QString() : "<html><body><!-- md --><br>" + text + "</body></html>";
    m_flags[1] = paste;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    CTextEditor *editor = makeEditor(RKNumerology, 1);
    editor->entryCombo->setCurrentIndex(1);
    if (paste) {
        editor->textEdit->clear();
        auto *mime = new QMimeData;
        mime->setHtml(text);
        QGuiApplication::clipboard()->setMimeData(mime);
        editor->textEdit->paste();
    }
    const QImage drawn = editor->textEdit->viewport()->grab().toImage();
    QDir::setCurrent(previous);
    int redPixels = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            redPixels += drawn.pixel(x, y) == qRgb(255, 0, 0);
    QCOMPARE(redPixels, shown ? red.width() * red.height() : 0);
    QVERIFY(editor->textEdit->toPlainText().startsWith(QLatin1String("Before ")));
    QVERIFY(editor->textEdit->toPlainText().endsWith(QLatin1String(" after")));
    // A pasted picture that may not be shown is not stored either.
    QCOMPARE(editor->workTexts.at(1).contains(QLatin1String("<img src=")), shown || !paste);
}

QTEST_MAIN(TestTextEditor)
#include "tst_texteditor.moc"
