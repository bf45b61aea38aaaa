#include "designer/colordialog.h"
#include "designer/iconlist.h"
#include "designer/managerthumbnaildlg.h"
#include "designer/papersizedlg.h"
#include "designer/propertieswidget.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportcreator.h"
#include "designer/reportpe.h"
#include "designer/reportpepages.h"
#include "designerfixture.h"
#include "engine/apppaths.h"
#include "style/appstyle.h"
#include "style/infodlg.h"
#include "testenvironment.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

// What the modal steps would have shown, and how the test answers them.
std::function<void(QDialog *)> onDialog;
QStringList asked;
int askAnswer = 0;
QStringList errors;
QString imagePath;

QString chooseImage(QWidget *)
{
    return imagePath;
}

void runDialog(QDialog *dialog)
{
    if (onDialog)
        onDialog(dialog);
}

int answerBox(CInfoDlgWin::MessageKind, const QString &title, const QString &text, QWidget *)
{
    asked.append(title + QLatin1Char('|') + text);
    return askAnswer;
}

void recordError(const QString &title, const QString &text)
{
    errors.append(title + QLatin1Char('|') + text);
}

// Confirms a page-size dialog after letting the test fill it.
std::function<void(QDialog *)> confirmPaperSize(std::function<void(CPaperSizeDlg *)> fill = {})
{
    return [fill](QDialog *dialog) {
        auto *frame = qobject_cast<CPaperSizeDlgWin *>(dialog);
        QVERIFY(frame);
        if (fill)
            fill(frame->content);
        frame->content->OnOk();
    };
}

QTreeWidgetItem *entry(CReportCreator *creator, const QString &text)
{
    for (QTreeWidgetItem *item : qAsConst(creator->fieldEntries)) {
        if (item->text(0) == text)
            return item;
    }
    return nullptr;
}

// Adds the field tree entry at a point of the page, as a drop does.
CREPageItem *addEntry(CReportCreator *creator, const QString &text, const QPointF &at)
{
    creator->fieldTree->setCurrentItem(entry(creator, text));
    const int before = creator->editor->currentPage->items.size();
    creator->OnAddField(creator->editor->calcDocViewTransform().map(at).toPoint());
    const QList<CREPageItem *> &items = creator->editor->currentPage->items;
    return items.size() > before ? items.at(before)->inner : nullptr;
}

void selectOnly(CReportCreator *creator, CREPageItem *content)
{
    creator->editor->currentPage->unselectAll();
    content->outer->selected = true;
    creator->OnPageSelectionChanged();
}

CPWItem *row(CReportCreator *creator, const QString &name)
{
    for (CPWItem *r : creator->properties->rows()) {
        if (r->name == name)
            return r;
    }
    return nullptr;
}

QStringList rowNames(CReportCreator *creator)
{
    QStringList names;
    for (CPWItem *r : creator->properties->rows())
        names.append(r->name);
    return names;
}

QStringList templateFiles()
{
    return QDir(getUserFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QColor pickedColor;
bool pickColor(QColor &color)
{
    color = pickedColor;
    return true;
}

} // namespace

class TestReportCreator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { delete m_style; }

    void panes_data();
    void panes();
    void keys();
    void natalChart();
    void addField_data();
    void addField();
    void propertyRows_data();
    void propertyRows();
    void fieldRow();
    void blockOrder_data();
    void blockOrder();
    void cardSizeAndBackground();
    void safeFileName_data();
    void safeFileName();
    void chooseFileName_data();
    void chooseFileName();
    void failedSaveKeepsEverything();
    void close_data();
    void close();
    void stripDragReordersPages();
    void pageCommands();
    void blockDrop_data();
    void blockDrop();

private:
    CAppStyle *m_style = nullptr;
};

void TestReportCreator::initTestCase()
{
    m_style = new CAppStyle(getImagesPath());
    CReportCreator::runDialog = runDialog;
    CReportCreator::errorBox = recordError;
    CReportCreator::openImage = chooseImage;
    CInfoDlgWin::setMessageBoxHandler(answerBox);
    CPropertiesWidget::colorEditor = pickColor;
}

void TestReportCreator::init()
{
    onDialog = nullptr;
    asked.clear();
    errors.clear();
    askAnswer = 0;
    QDir(getUserFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(getUserFolder()));
}

void TestReportCreator::panes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("panes");
    QTest::newRow("mode 1: strips hidden") << 1 << 2;
    QTest::newRow("mode 0: strips shown") << 0 << 3;
}

void TestReportCreator::panes()
{
    QFETCH(int, mode);
    QFETCH(int, panes);
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, mode);
    CReportCreator *c = win.creator;
    QCOMPARE(win.windowTitle(), QStringLiteral("Graphics Charts Creator"));
    QCOMPARE(c->size(), QSize(1000, 640));
    QCOMPARE(c->splitter->count(), panes);
    QCOMPARE(c->splitter->indexOf(c->middlePane), panes - 2);
    // The editor takes the room the side panes leave.
    const QList<int> sizes = c->splitter->sizes();
    QCOMPARE(*std::max_element(sizes.begin(), sizes.end()), sizes.at(panes - 2));
    QCOMPARE(c->leftPane->parentWidget() == c->splitter, mode == 0);
    QCOMPARE(c->fieldEntries.size(), 16);
    QCOMPARE(c->calculatedFieldNames.size(), 8);

    // A middle pane 700 wide puts "Close" left of "Save" around its middle;
    // a right pane 200 x 600 gives a grid 160 high.
    c->middlePane->resize(700, 610);
    c->rightPane->resize(200, 600);
    c->OnUpdateWidgetGeometry();
    QCOMPARE(c->saveButton->pos(), QPoint(355, 580));
    QCOMPARE(c->closeButton->pos(), QPoint(255, 580));
    QCOMPARE(c->editor->geometry(), QRect(0, 30, 700, 535));
    QCOMPARE(c->properties->geometry(), QRect(0, 425, 200, 160));
    QCOMPARE(c->propertiesLabel->pos(), QPoint(0, 405));
    QCOMPARE(c->fieldTree->geometry(), QRect(0, 20, 200, 385));
}

void TestReportCreator::keys()
{
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(&win, Qt::Key(key));
    QVERIFY(win.isVisible());
    QTest::keyPress(win.creator, Qt::Key_Shift);
    QVERIFY(!win.creator->fieldTree->dragEnabled());
    QTest::keyRelease(win.creator, Qt::Key_Shift);
    QVERIFY(win.creator->fieldTree->dragEnabled());
    win.creator->unsaved = 0;
    win.close();
}

// The road of a user: a card with a table, a name and a title, half
// transparent, saved beside two older cards and drawn by the chart page.
void TestReportCreator::natalChart()
{
    DesignerTest::Person person;
    QFile(getUserFolder() + QStringLiteral("/Natal chart.lnr")).open(QIODevice::WriteOnly);
    QFile(getUserFolder() + QStringLiteral("/Natal chart0.lnr")).open(QIODevice::WriteOnly);
    QString saved;
    {
        CReportCreatorWin win(&person.container, m_style, nullptr, 1);
        CReportCreator *c = win.creator;
        c->init();
        c->unsaved = 0;
        CREPageItem *table = addEntry(c, QStringLiteral("Main Features"), QPointF(100, 300));
        QVERIFY(table);
        QVERIFY(c->isModified());
        QVERIFY(addEntry(c, QStringLiteral("Full Name"), QPointF(100, 100)));
        QTest::keyPress(c, Qt::Key_Alt);
        QVERIFY(addEntry(c, QStringLiteral("Life Cycles"), QPointF(400, 300)));
        QTest::keyRelease(c, Qt::Key_Alt);
        QCOMPARE(c->editor->currentPage->items.size(), 4);
        CREPageItem *title = c->editor->currentPage->items.last()->inner;
        QCOMPARE(title->key, QStringLiteral("Life Cycles"));
        QVERIFY(title->isVariable);
        QCOMPARE(title->outer->getShapeBoundRect().top(),
                 c->editor->currentPage->items.at(2)->getShapeBoundRect().top() - 25);

        selectOnly(c, table);
        pickedColor = QColor(200, 40, 40);
        row(c, QStringLiteral("Background"))->button->click();
        QCOMPARE(row(c, QStringLiteral("Opacity"))->choiceIndex, 8); // alpha 222
        row(c, QStringLiteral("Opacity"))->combo->setCurrentIndex(5);
        QCOMPARE(table->backgroundColor, QColor(200, 40, 40, 127));

        onDialog = confirmPaperSize(
            [](CPaperSizeDlg *form) { form->m_TitleEdit->setText(QStringLiteral("Natal chart")); });
        c->OnProperties();
        c->OnOk();
        QVERIFY(errors.isEmpty());
        saved = c->loadedFile;
        QVERIFY(!c->isModified());
    }
    QCOMPARE(QFileInfo(saved).fileName(), QStringLiteral("Natal chart1.lnr"));
    QCOMPARE(templateFiles(),
             (QStringList {QStringLiteral("Natal chart.lnr"), QStringLiteral("Natal chart0.lnr"),
                           QStringLiteral("Natal chart1.lnr")}));

    CReportCreatorWin hidden(&person.container, m_style, nullptr, 1);
    QVERIFY(hidden.loadTemplate(saved));
    const QImage chart = CManagerThumbnailDlg::slotPrintReport(0, &hidden, QSize(400, 400));
    QCOMPARE(chart.size(), QSize(282, 400));
    // The table's red at half strength over the white paper.
    QVERIFY(DesignerTest::countColor(chart, chart.rect(), QColor(228, 148, 148), 10) > 100);

    // Editing it again: the same name is written again, a new name replaces it.
    hidden.creator->OnOk();
    QCOMPARE(hidden.creator->loadedFile, saved);
    hidden.creator->editor->name = QStringLiteral("Birthday");
    hidden.creator->OnOk();
    QCOMPARE(templateFiles(),
             (QStringList {QStringLiteral("Birthday.lnr"), QStringLiteral("Natal chart.lnr"),
                           QStringLiteral("Natal chart0.lnr")}));
    QVERIFY(errors.isEmpty());
}

void TestReportCreator::addField_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<bool>("isVariable");
    QTest::addColumn<bool>("isFreeText");
    QTest::newRow("Name") << "Name" << 12 << "Name"
                          << "Name" << QSizeF(650, 100) << false << false;
    QTest::newRow("Print date") << "Print date" << 6 << "#print_date"
                                << "PRINT DATE" << QSizeF(120, 25) << true << false;
    QTest::newRow("Text") << "Text" << 6 << "#text"
                          << "Text" << QSizeF(120, 25) << false << true;
    QTest::newRow("Bar Codes") << "Bar Codes" << 10 << ""
                               << "Bar Codes" << QSizeF(120, 25) << false << true;
    QTest::newRow("group adds nothing") << "Variables" << 0 << ""
                                        << "" << QSizeF() << false << false;
    // Pictures: a readable file is placed, anything else adds nothing.
    QTest::newRow("image") << "Image:" + TestEnvironment::homePath() + "/dot.png" << 2 << "#image"
                           << "" << QSizeF() << false << false;
    QTest::newRow("image path of 4") << QString("Image:d.pn") << 0 << ""
                                     << "" << QSizeF() << false << false;
    QTest::newRow("image cancelled") << QString("Image:") << 0 << ""
                                     << "" << QSizeF() << false << false;
    QTest::newRow("not a picture") << "Image:" + TestEnvironment::homePath() + "/dot.txt" << 0 << ""
                                   << "" << QSizeF() << false << false;
}

void TestReportCreator::addField()
{
    QFETCH(QString, entry);
    QFETCH(int, type);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QSizeF, size);
    QFETCH(bool, isVariable);
    QFETCH(bool, isFreeText);
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    CReportCreator *c = win.creator;
    QImage dot(40, 20, QImage::Format_ARGB32);
    dot.fill(Qt::red);
    QVERIFY(dot.save(TestEnvironment::homePath() + QStringLiteral("/dot.png")));
    QFile(TestEnvironment::homePath() + QStringLiteral("/dot.txt")).open(QIODevice::WriteOnly);
    // A picture whose path is 4 characters long.
    QVERIFY(QDir::setCurrent(TestEnvironment::homePath()));
    QVERIFY(dot.save(QStringLiteral("d.pn"), "PNG"));
    if (entry.startsWith(QLatin1String("Image:"))) {
        imagePath = entry.mid(6);
        entry = QStringLiteral("Image");
    }
    if (!::entry(c, entry)) // a group heading
        c->fieldTree->setCurrentItem(c->fieldTree->findItems(entry, Qt::MatchExactly).value(0));
    CREPageItem *item = addEntry(c, entry, QPointF(50, 60));
    QCOMPARE(item != nullptr, type != 0);
    if (!item)
        return;
    QCOMPARE(item->type, type);
    QCOMPARE(item->key, key);
    QCOMPARE(item->text, text);
    if (size.isValid())
        QCOMPARE(item->outer->getShapeBoundRect(), QRectF(c->editor->insertionPoint(), size));
    QCOMPARE(item->isVariable, isVariable);
    QCOMPARE(item->isFreeText, isFreeText);
    QCOMPARE(item->font.pixelSize(), 11);
}

void TestReportCreator::propertyRows_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("isVariable");
    QTest::addColumn<QStringList>("rows");
    const QStringList common = {"Color", "Font", "Alignement", "Frame", "Frame Color"};
    QTest::newRow("text item") << 6 << "#text" << false
                               << QStringList {"Text", "Color", "Font", "Frame", "Frame Color"};
    QTest::newRow("variable") << 6 << "#print_date" << true << common;
    QTest::newRow("data field") << 5 << "#pagenumber" << false << common + QStringList {"Field"};
    QTest::newRow("table") << 14 << "Main Features" << false
                           << common + QStringList {"Background", "Opacity"};
    QTest::newRow("barcode") << 10 << "" << false
                             << QStringList {"Field", "Bar code", "Text", "Color", "Alignement"};
    QTest::newRow("picture slot") << 7 << "" << false
                                  << QStringList {"Image #", "Alignement", "Fit to"};
    QTest::newRow("picture list") << 9 << "" << false << QStringList {"Alignement", "Image #"};
    QTest::newRow("block reference")
        << 8 << "1" << false << QStringList {"Order #", "Frame", "Frame Color"};
    QTest::newRow("image") << 2 << "#image" << false << QStringList();
}

void TestReportCreator::propertyRows()
{
    QFETCH(int, type);
    QFETCH(QString, key);
    QFETCH(bool, isVariable);
    QFETCH(QStringList, rows);
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    CReportCreator *c = win.creator;
    CREPageItem *frame = DesignerTest::makeObject(&person.container, type, 10, 10, 100, 50);
    frame->inner->key = key;
    frame->inner->isVariable = isVariable;
    c->editor->currentPage->items.append(frame);
    selectOnly(c, frame->inner);
    QCOMPARE(rowNames(c), rows);
    QCOMPARE(c->deleteButton->isEnabled(), true);

    // Writing the rows back unchanged leaves the item as it was.
    c->unsaved = 0;
    const QString before = frame->inner->key;
    c->OnPropertyChanged();
    QCOMPARE(frame->inner->key, before);
    QCOMPARE(c->isModified(), !rows.isEmpty());

    // Two selected items show nothing.
    CREPageItem *other = DesignerTest::makeObject(&person.container, type, 200, 10, 100, 50);
    other->selected = true;
    c->editor->currentPage->items.append(other);
    c->OnPageSelectionChanged();
    QVERIFY(c->properties->rows().isEmpty());
}

void TestReportCreator::fieldRow()
{
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    CReportCreator *c = win.creator;
    CREPageItem *frame = DesignerTest::makeObject(&person.container, 5, 10, 10, 100, 50);
    frame->inner->key = QStringLiteral("Bridges");
    c->editor->currentPage->items.append(frame);
    selectOnly(c, frame->inner);
    QCOMPARE(row(c, QStringLiteral("Field"))->choiceIndex, 7);
    // The ninth entry after the eight tables: a page number.
    row(c, QStringLiteral("Field"))->combo->setCurrentIndex(9);
    QCOMPARE(frame->inner->key, QStringLiteral("#pagenumber"));
    QCOMPARE(frame->inner->text, QStringLiteral("PAGE #"));
    QCOMPARE(frame->inner->type, 6);
    QVERIFY(frame->inner->isVariable);
    // The grid was rebuilt for the variable: no "Field" row any more.
    QCOMPARE(row(c, QStringLiteral("Field")), nullptr);
}

void TestReportCreator::blockOrder_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QList<int>>("orders");
    QTest::newRow("third to 1") << 2 << 0 << QList<int> {1, 2, 0};
    QTest::newRow("third to 2") << 2 << 1 << QList<int> {0, 2, 1};
    QTest::newRow("first to 3") << 0 << 2 << QList<int> {2, 0, 1};
}

void TestReportCreator::blockOrder()
{
    QFETCH(int, which);
    QFETCH(int, entry);
    QFETCH(QList<int>, orders);
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    CReportCreator *c = win.creator;
    QList<CREPageItem *> refs;
    for (int i = 0; i < 3; ++i) {
        CREPageItem *frame
            = DesignerTest::makeObject(&person.container, 8, 10 + 100 * i, 10, 90, 50);
        frame->inner->order = i;
        c->editor->currentPage->items.append(frame);
        refs.append(frame->inner);
    }
    selectOnly(c, refs.at(which));
    row(c, QStringLiteral("Order #"))->combo->setCurrentIndex(entry);
    QCOMPARE((QList<int> {refs[0]->order, refs[1]->order, refs[2]->order}), orders);
}

void TestReportCreator::cardSizeAndBackground()
{
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    CReportCreator *c = win.creator;
    CREPage *page = c->editor->currentPage;
    QString shown;
    bool cancelBackground = true;
    std::function<void(QDialog *)> properties;
    onDialog = [&](QDialog *dialog) {
        if (auto *colour = qobject_cast<CColorDialog *>(dialog)) {
            if (!cancelBackground) {
                colour->slotSetColor(QColor(0, 80, 160));
                colour->slotOk();
            }
            return;
        }
        properties(dialog);
    };
    // "Set Background" then "Cancel": the page keeps its background.
    properties = [&](QDialog *dialog) {
        auto *frame = qobject_cast<CPaperSizeDlgWin *>(dialog);
        shown = frame->content->m_WidthEdit->text() + QLatin1Char('x')
            + frame->content->m_HeightEdit->text();
        cancelBackground = false;
        for (QPushButton *button : frame->findChildren<QPushButton *>()) {
            if (button->text() == QLatin1String("Set Background"))
                button->click();
        }
        frame->content->OnCancel();
    };
    c->OnProperties();
    QCOMPARE(shown, QStringLiteral("711x1006"));
    QCOMPARE(page->pageBackground.mode, quint8(0xFF));
    QCOMPARE(page->width, 840.0);
    QVERIFY(c->pendingBackground.mode != 0xFF);

    // Confirming later applies the pending background and the card size.
    onDialog = confirmPaperSize();
    c->OnProperties();
    QCOMPARE(page->pageBackground.mode, c->pendingBackground.mode);
    QCOMPARE(page->pageBackground.color, QColor(0, 80, 160));
    QCOMPARE(page->width, 838.98);
    QCOMPARE(page->height, 1187.08);

    // Unreadable numbers keep the size.
    onDialog = confirmPaperSize(
        [](CPaperSizeDlg *form) { form->m_WidthEdit->setText(QStringLiteral("wide")); });
    c->OnProperties();
    QCOMPARE(page->width, 838.98);
}

void TestReportCreator::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Natal chart"
                           << "Natal chart";
    QTest::newRow("parent folder") << "../x"
                                   << "x";
    QTest::newRow("absolute") << "/etc/passwd"
                              << "etc passwd";
    QTest::newRow("backslash") << "a\\b"
                               << "a b";
    QTest::newRow("hidden") << ".profile"
                            << "profile";
    QTest::newRow("control") << QString("Tab\there\nnow") << "Tab here now";
    QTest::newRow("empty") << ""
                           << "Untitled";
    QTest::newRow("only dots") << "..."
                               << "Untitled";
    QTest::newRow("long") << QString(300, QLatin1Char('a')) << QString(120, QLatin1Char('a'));
}

void TestReportCreator::safeFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(CReportCreator::safeFileName(name), file);
}

void TestReportCreator::chooseFileName_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("free") << QStringList() << ""
                          << "Natal chart.lnr";
    QTest::newRow("two taken") << QStringList {"Natal chart.lnr", "Natal chart0.lnr"} << ""
                               << "Natal chart1.lnr";
    QTest::newRow("own name is free")
        << QStringList {"Natal chart.lnr", "Natal chart0.lnr", "Natal chart1.lnr"}
        << "Natal chart1.lnr"
        << "Natal chart1.lnr";
    QTest::newRow("own elsewhere") << QStringList {"Natal chart.lnr"} << "Birthday.lnr"
                                   << "Natal chart0.lnr";
    QStringList all {"Natal chart.lnr"};
    for (int i = 0; i <= 9999; ++i)
        all.append(QStringLiteral("Natal chart%1.lnr").arg(i));
    QTest::newRow("every name taken") << all << ""
                                      << "";
}

void TestReportCreator::chooseFileName()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, own);
    QFETCH(QString, chosen);
    const QString folder = getUserFolder() + QLatin1Char('/');
    for (const QString &name : existing)
        QVERIFY(QFile(folder + name).open(QIODevice::WriteOnly));
    const QString result = CReportCreator::chooseFileName(folder, QStringLiteral("Natal chart"),
                                                          own.isEmpty() ? QString() : folder + own);
    QCOMPARE(result, chosen.isEmpty() ? QString() : folder + chosen);
}

void TestReportCreator::failedSaveKeepsEverything()
{
    DesignerTest::Person person;
    QTemporaryDir elsewhere;
    const QString old = elsewhere.filePath(QStringLiteral("old.lnr"));
    QVERIFY(QFile(old).open(QIODevice::WriteOnly));
    // The template folder is a file: nothing can be written into it.
    QDir(getUserFolder()).removeRecursively();
    QVERIFY(QFile(getUserFolder()).open(QIODevice::WriteOnly));

    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    win.creator->loadedFile = old;
    win.creator->OnOk();
    QCOMPARE(errors, QStringList {QStringLiteral("Error|Can't save report!")});
    QVERIFY(QFile::exists(old));
    QCOMPARE(win.creator->loadedFile, old);
    QVERIFY(win.creator->isModified());

    // Closing with "Yes" tries again, fails again and keeps the window.
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    askAnswer = 0;
    win.creator->closeButton->click();
    QVERIFY(win.isVisible());
    QFile::remove(getUserFolder());
    askAnswer = -1;
    win.close();
    QVERIFY(!win.isVisible());
}

void TestReportCreator::close_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("expectAsk");
    QTest::addColumn<int>("expectFiles");
    QTest::newRow("fresh window asks") << false << true << -1 << true << 0;
    QTest::newRow("window frame asks, yes saves") << false << false << 0 << true << 1;
    QTest::newRow("saved closes at once") << true << true << 0 << false << 1;
}

void TestReportCreator::close()
{
    QFETCH(bool, edited);
    QFETCH(bool, byButton);
    QFETCH(int, answer);
    QFETCH(bool, expectAsk);
    QFETCH(int, expectFiles);
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 1);
    if (edited) {
        win.creator->OnOk();
        QVERIFY(!win.creator->isModified());
    }
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    askAnswer = answer;
    if (byButton)
        win.creator->closeButton->click();
    else
        win.close();
    QVERIFY(!win.isVisible());
    QCOMPARE(asked.size(), expectAsk ? 1 : 0);
    if (expectAsk)
        QCOMPARE(asked.first(), QStringLiteral("Warning|Save changes?"));
    QCOMPARE(templateFiles().size(), expectFiles);

    // Moving an item after the save is a change again.
    CReportPE *editor = win.creator->editor;
    editor->currentPage->items.append(
        DesignerTest::makeObject(&person.container, 6, 100, 100, 200, 100));
    const QPoint at = editor->calcDocViewTransform().map(QPointF(150, 150)).toPoint();
    QTest::mousePress(editor->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent move(QEvent::MouseMove, at + QPoint(30, 0), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &move);
    QVERIFY(win.creator->isModified());
}

void TestReportCreator::stripDragReordersPages()
{
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 0);
    CReportCreator *c = win.creator;
    c->init();
    c->OnAddPage();
    c->OnAddPage();
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QList<CREPage *> *pages = c->editor->pageLists.first();
    const QList<CREPage *> before = *pages;
    QCOMPARE(before.at(2)->name, QStringLiteral("Pages 3"));

    CIconList *strip = c->pagesPanel->pagesList;
    CILContainer *column = strip->containers.first();
    CILItem *tile = column->items.first();
    QCursor::setPos(tile->mapToGlobal(tile->rect().center()));
    strip->OnStartDD(tile);
    const QPoint target = column->inner->mapToGlobal(QPoint(30, column->pitch * 2 + 40));
    QWidget *surface = c->pagesPanel->dragHost();
    strip->processItemsAt(surface, target, Qt::LeftButton);
    QVERIFY(strip->isDragging());
    strip->processItemsAt(surface, target, Qt::NoButton);
    QCOMPARE(*pages, (QList<CREPage *> {before.at(1), before.at(2), before.at(0)}));
    QVERIFY(c->isModified());
    c->unsaved = 0;
}

void TestReportCreator::pageCommands()
{
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 0);
    CReportCreator *c = win.creator;
    c->init();
    QVERIFY(!c->pagesPanel->deletePageButton->isEnabled());
    c->OnAddPage();
    QList<CREPage *> *pages = c->editor->pageLists.first();
    QCOMPARE(pages->size(), 2);
    QCOMPARE(c->editor->currentPage, pages->at(1));
    QVERIFY(c->pagesPanel->deletePageButton->isEnabled());

    onDialog = confirmPaperSize([](CPaperSizeDlg *form) {
        form->m_TitleEdit->setText(QStringLiteral("Back"));
        form->m_PagesCombo->setEditText(QStringLiteral("3"));
    });
    c->OnPageProp();
    QCOMPARE(pages->at(1)->name, QStringLiteral("Back"));
    QCOMPARE(pages->at(1)->repeatCount, 3);
    QCOMPARE(c->pagesPanel->pagesList->getSelectedItem()->counterText, QStringLiteral("3"));

    askAnswer = -1;
    c->OnDelPage();
    QCOMPARE(pages->size(), 2);
    askAnswer = 0;
    c->OnDelPage();
    QCOMPARE(pages->size(), 1);
    QCOMPARE(c->editor->currentPage, pages->first());
    // The last page stays.
    c->OnDelPage();
    QCOMPARE(pages->size(), 1);
    c->unsaved = 0;
}

void TestReportCreator::blockDrop_data()
{
    QTest::addColumn<bool>("onPage");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("references");
    QTest::newRow("onto a page") << true << QPoint(200, 200) << 1;
    QTest::newRow("onto itself") << false << QPoint(200, 200) << 0;
    QTest::newRow("beside the editor") << true << QPoint(-20, 200) << 0;
}

void TestReportCreator::blockDrop()
{
    QFETCH(bool, onPage);
    QFETCH(QPoint, at);
    QFETCH(int, references);
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, 0);
    CReportCreator *c = win.creator;
    c->init();
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    onDialog = confirmPaperSize([](CPaperSizeDlg *form) {
        form->m_TitleEdit->setText(QStringLiteral("Logo"));
        form->m_WidthEdit->setText(QStringLiteral("2"));
        form->m_HeightEdit->setText(QStringLiteral("1"));
    });
    c->OnAddBlock();
    QCOMPARE(c->editor->blocks.size(), 1);
    CREPage *block = c->editor->blocks.first();
    QCOMPARE(c->editor->currentPage, block);
    QVERIFY(c->pagesPanel->deleteBlockButton->isEnabled());
    CILItem *tile = c->pagesPanel->blocksList->getSelectedItem();
    QVERIFY(tile);
    CREPage *target = block;
    if (onPage) {
        target = c->editor->pageLists.first()->first();
        c->OnPageSelected(c->pagesPanel->pagesList->containers.first()->items.first());
        QCOMPARE(c->editor->currentPage, target);
    }
    c->OnBlockItemDropped(tile, c->editor->mapToGlobal(at));
    QCOMPARE(target->items.size(), references);
    if (references) {
        QCOMPARE(target->items.first()->inner->key, c->editor->blockKey(block));
        // Deleting the block takes its references along.
        c->OnPageSelected(tile);
        askAnswer = 0;
        c->OnDelBlock();
        QVERIFY(c->editor->blocks.isEmpty());
        QVERIFY(target->items.isEmpty());
    }
    c->unsaved = 0;
}

QTEST_MAIN(TestReportCreator)
#include "tst_reportcreator.moc"
