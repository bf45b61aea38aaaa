#include "base/apppaths.h"
#include "designer/colordialog.h"
#include "designer/iconlist.h"
#include "designer/managerthumbnaildlg.h"
#include "designer/papersizedlg.h"
#include "designer/propertieswidget.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportcreator.h"
#include "designer/reportdocument.h"
#include "designer/reportpe.h"
#include "designer/reportpepages.h"
#include "designer/templatelimits.h"
#include "designerfixture.h"
#include "hostiletemplates.h"
#include "style/appstyle.h"
#include "style/infodlg.h"
#include "testenvironment.h"
#include "tests/support/orientedphoto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

CAppStyle *appStyle = nullptr;
// How the test answers the designer's modal steps, and what they showed.
std::function<void(QDialog *)> onDialog;
QStringList asked;
int askAnswer = 0;
QStringList errors;
QString imagePath;

// Confirms a page-size dialog after letting the test fill it.
void confirmPaperSize(std::function<void(CPaperSizeDlg *)> fill)
{
    onDialog = [fill](QDialog *dialog) {
        auto *frame = qobject_cast<CPaperSizeDlgWin *>(dialog);
        QVERIFY(frame);
        fill(frame->content);
        frame->content->OnOk();
    };
}

QStringList templateFiles()
{
    return QDir(getUserFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A designer window over a calculated person.
struct Designer
{
    DesignerTest::Person person;
    CReportCreatorWin win;
    CReportCreator *c = win.creator;

    explicit Designer(int mode = 1)
        : win(&person.container, appStyle, nullptr, mode)
    {
        c->init();
    }
    bool show()
    {
        win.show();
        return QTest::qWaitForWindowExposed(&win, TestEnvironment::WaitMs);
    }
    CREPage *page() const { return c->editor->currentPage; }
    QList<CREPage *> &pages() const { return *c->editor->pageLists.first(); }
    // Adds a field tree entry (or heading) at a point of the page, as a drop
    // does; returns the new content item.
    CREPageItem *add(const QString &entry, const QPointF &at)
    {
        QTreeWidgetItem *chosen = c->fieldTree->findItems(entry, Qt::MatchExactly).value(0);
        for (QTreeWidgetItem *item : qAsConst(c->fieldEntries))
            chosen = item->text(0) == entry ? item : chosen;
        c->fieldTree->setCurrentItem(chosen);
        const int before = page()->items.size();
        c->OnAddField(c->editor->calcDocViewTransform().map(at).toPoint());
        return page()->items.size() > before ? page()->items.at(before)->inner : nullptr;
    }
    // Puts an item on the page as a loaded template would.
    CREPageItem *place(int type, const QString &key, double x = 10)
    {
        page()->items.append(DesignerTest::makeObject(&person.container, type, x, 10, 90, 50));
        page()->items.last()->inner->key = key;
        return page()->items.last()->inner;
    }
    void select(CREPageItem *content)
    {
        page()->unselectAll();
        content->outer->selected = true;
        c->OnPageSelectionChanged();
    }
    CPWItem *row(const QString &name) const
    {
        for (CPWItem *r : c->properties->rows()) {
            if (r->name == name)
                return r;
        }
        return nullptr;
    }
};

} // namespace

// One edit of a shown designer in mode 0; it may check its own result.
using Edit = std::function<void(Designer &)>;
Q_DECLARE_METATYPE(Edit)

class TestReportCreator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { delete appStyle; }
    void natalChart();
    void addField_data();
    void addField();
    void propertyRoundTrip_data();
    void propertyRoundTrip();
    void propertyChoice_data();
    void propertyChoice();
    void cardProperties_data();
    void cardProperties();
    void portraitPhotoStaysUpright_data();
    void portraitPhotoStaysUpright();
    void fileName_data();
    void fileName();
    void close_data();
    void close();
    void closeAfterOpening_data();
    void closeAfterOpening();
    void openEditor_data();
    void openEditor();
    void edits_data();
    void edits();
    void limits();
};

void TestReportCreator::initTestCase()
{
    appStyle = new CAppStyle(getImagesPath());
    CReportCreator::runDialog = [](QDialog *dialog) {
        if (onDialog)
            onDialog(dialog);
    };
    CReportCreator::errorBox = [](const QString &title, const QString &text) {
        errors.append(title + QLatin1Char('|') + text);
    };
    CReportCreator::openImage = [](QWidget *) {
        return imagePath;
    };
    CInfoDlgWin::setMessageBoxHandler(
        [](CInfoDlgWin::MessageKind, const QString &title, const QString &text, QWidget *) {
            asked.append(title + QLatin1Char('|') + text);
            return askAnswer;
        });
    CPropertiesWidget::colorEditor = [](QColor &color) {
        color = QColor(200, 40, 40);
        return true;
    };
}

void TestReportCreator::init()
{
    onDialog = nullptr;
    asked.clear();
    errors.clear();
    askAnswer = 0;
    QFile::remove(getUserFolder());
    QDir(getUserFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(getUserFolder()));
}

// The road of a user: a card with a table, a name and a titled table, half
// transparent, saved beside two older cards and drawn by the chart page.
void TestReportCreator::natalChart()
{
    QFile(getUserFolder() + "/Natal chart.lnr").open(QIODevice::WriteOnly);
    QFile(getUserFolder() + "/Natal chart0.lnr").open(QIODevice::WriteOnly);
    QString saved;
    {
        Designer d;
        CREPageItem *table = d.add("Main Features", QPointF(100, 300));
        QVERIFY(table);
        QVERIFY(d.add("Full Name", QPointF(100, 100)));
        // With Alt held a table comes with its title just above it.
        QTest::keyPress(d.c, Qt::Key_Alt);
        QVERIFY(d.add("Life Cycles", QPointF(400, 300)));
        QTest::keyRelease(d.c, Qt::Key_Alt);
        const QList<CREPageItem *> &items = d.page()->items;
        QCOMPARE(items.size(), 4);
        QCOMPARE(items.last()->inner->key, QString("Life Cycles"));
        QVERIFY(items.last()->inner->isVariable);
        QCOMPARE(items.last()->getShapeBoundRect().top(),
                 items.at(2)->getShapeBoundRect().top() - 25);
        // Shift held keeps the fields from being dragged.
        QTest::keyPress(d.c, Qt::Key_Shift);
        QVERIFY(!d.c->fieldTree->dragEnabled());
        QTest::keyRelease(d.c, Qt::Key_Shift);
        QVERIFY(d.c->fieldTree->dragEnabled());

        d.select(table);
        d.row("Background")->button->click();
        QCOMPARE(d.row("Opacity")->choiceIndex, 8); // alpha 222
        d.row("Opacity")->combo->setCurrentIndex(5);
        QCOMPARE(table->backgroundColor, QColor(200, 40, 40, 127));
        confirmPaperSize([](CPaperSizeDlg *form) { form->m_TitleEdit->setText("Natal chart"); });
        d.c->OnProperties();
        d.c->OnOk();
        saved = d.c->loadedFile;
        QVERIFY(!d.c->isModified());
    }
    // The first free name, and no temporary file left beside it.
    QCOMPARE(QFileInfo(saved).fileName(), QString("Natal chart1.lnr"));
    QCOMPARE(templateFiles(),
             QStringList({"Natal chart.lnr", "Natal chart0.lnr", "Natal chart1.lnr"}));

    Designer hidden;
    QVERIFY(hidden.win.loadTemplate(saved));
    const QImage chart = CManagerThumbnailDlg::slotPrintReport(0, &hidden.win, QSize(400, 400));
    QCOMPARE(chart.size(), QSize(282, 400));
    // The table's red at half strength over the white paper.
    QVERIFY(DesignerTest::countColor(chart, chart.rect(), QColor(228, 148, 148), 10) > 100);

    // Editing it again: the same name is written again, a new name replaces it.
    hidden.c->OnOk();
    QCOMPARE(hidden.c->loadedFile, saved);
    hidden.c->editor->name = "Birthday";
    hidden.c->OnOk();
    QCOMPARE(templateFiles(), QStringList({"Birthday.lnr", "Natal chart.lnr", "Natal chart0.lnr"}));
    QVERIFY(errors.isEmpty());
}

void TestReportCreator::addField_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("type"); // 0: nothing is added
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("isVariable");
    const QString picture = getImagesPath() + "bzoomn.png";
    QTest::newRow("table") << "Name" << QString() << 12 << "Name" << false;
    QTest::newRow("variable") << "Print date" << QString() << 6 << "#print_date" << true;
    QTest::newRow("text") << "Text" << QString() << 6 << "#text" << false;
    QTest::newRow("bar code") << "Bar Codes" << QString() << 10 << QString() << false;
    QTest::newRow("group heading") << "Variables" << QString() << 0 << QString() << false;
    QTest::newRow("picture") << "Image" << picture << 2 << "#image" << false;
    QTest::newRow("picture cancelled") << "Image" << QString() << 0 << QString() << false;
    QTest::newRow("not a picture")
        << "Image" << QCoreApplication::applicationFilePath() << 0 << QString() << false;
}

void TestReportCreator::addField()
{
    QFETCH(QString, entry);
    QFETCH(QString, picture);
    QFETCH(int, type);
    imagePath = picture;
    Designer d;
    d.c->unsaved = 0;
    CREPageItem *item = d.add(entry, QPointF(50, 60));
    QCOMPARE(item != nullptr, type != 0);
    QCOMPARE(d.c->isModified(), type != 0);
    if (!item)
        return;
    QCOMPARE(item->type, type);
    QTEST(item->key, "key");
    QTEST(item->isVariable, "isVariable");
}

void TestReportCreator::propertyRoundTrip_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("isVariable");
    QTest::newRow("text item") << 6 << "#text" << false;
    QTest::newRow("variable") << 6 << "#print_date" << true;
    QTest::newRow("data field") << 5 << "Bridges" << false;
    QTest::newRow("table at 50% opacity") << 14 << "Main Features" << false;
    QTest::newRow("barcode") << 10 << QString() << false;
    QTest::newRow("barcode of the full name") << 10 << "#full_name" << false;
    QTest::newRow("numerologist") << 6 << "#numerologist" << true;
    QTest::newRow("picture slot") << 7 << QString() << false;
    QTest::newRow("picture list") << 9 << QString() << false;
    QTest::newRow("block reference") << 8 << "1" << false;
    QTest::newRow("image: no rows") << 2 << "#image" << false;
}

// Every edit in the grid writes all its rows back: rows written back
// unchanged must leave the item as it was.
void TestReportCreator::propertyRoundTrip()
{
    QFETCH(int, type);
    QFETCH(QString, key);
    Designer d;
    CREPageItem *item = d.place(type, key);
    // Each field differs from the others and from its default, so a row read
    // into the wrong field shows.
    QFETCH(bool, isVariable);
    item->isVariable = isVariable;
    item->text = "abc";
    item->color = Qt::red;
    item->frameColor = Qt::blue;
    item->frameStyle = 1;
    item->alignment = 4;
    item->font.setPixelSize(17);
    item->backgroundColor = QColor(0, 128, 0, 127); // what "50%" stores
    item->blockIndex = 3;
    item->fitMode = 1;
    item->pictureChoice = 2;
    item->barcodeKind = 3;
    const auto record = [item] {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        item->save(stream);
        return bytes;
    };
    d.select(item);
    const QByteArray shown = record();
    d.c->unsaved = 0;
    d.c->OnPropertyChanged();
    QCOMPARE(record(), shown);
    QCOMPARE(d.c->isModified(), type != CREPageItem::Image);

    // Two selected items show nothing.
    d.place(type, key, 200)->outer->selected = true;
    d.c->OnPageSelectionChanged();
    QVERIFY(d.c->properties->rows().isEmpty());
}

void TestReportCreator::propertyChoice_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("result"); // keys, or orders of the three items
    // Three block references ordered 0, 1, 2.
    QTest::newRow("third to 1") << 8 << 2 << "Order #" << 0 << "1 2 0";
    QTest::newRow("third to 2") << 8 << 2 << "Order #" << 1 << "0 2 1";
    QTest::newRow("first to 3") << 8 << 0 << "Order #" << 2 << "2 0 1";
    // "Page number", after the eight tables, turns a field into a variable.
    QTest::newRow("field to page number")
        << 5 << 0 << "Field" << 9 << "#pagenumber Bridges Bridges";
}

void TestReportCreator::propertyChoice()
{
    QFETCH(int, type);
    QFETCH(int, which);
    QFETCH(QString, row);
    QFETCH(int, entry);
    Designer d;
    QList<CREPageItem *> items;
    for (int i = 0; i < 3; ++i) {
        items.append(d.place(type, type == CREPageItem::DataField ? "Bridges" : "", 10 + 100 * i));
        items.last()->order = i;
    }
    d.select(items.at(which));
    d.row(row)->combo->setCurrentIndex(entry);
    QStringList result;
    for (const CREPageItem *item : qAsConst(items))
        result.append(type == CREPageItem::DataField ? item->key : QString::number(item->order));
    QTEST(result.join(' '), "result");
    // The grid follows what the item became: a variable has no "Field" row.
    QCOMPARE(d.row(row) != nullptr, !items.at(which)->isVariable);
}

void TestReportCreator::cardProperties_data()
{
    QTest::addColumn<QString>("width"); // "double": twice the width shown
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<double>("factor");
    QTest::newRow("Cancel changes nothing") << "double" << false << 1.0;
    QTest::newRow("size and background") << "double" << true << 2.0;
    QTest::newRow("unreadable width kept") << "wide" << true << 1.0;
}

// The card dialog of mode 1 with "Set Background" chosen in it.
void TestReportCreator::cardProperties()
{
    QFETCH(QString, width);
    QFETCH(bool, confirm);
    QFETCH(double, factor);
    Designer d;
    d.c->unsaved = 0;
    const double before = d.page()->width;
    onDialog = [&](QDialog *dialog) {
        if (auto *colour = qobject_cast<CColorDialog *>(dialog)) {
            colour->slotSetColor(QColor(0, 80, 160));
            return colour->slotOk();
        }
        auto *frame = qobject_cast<CPaperSizeDlgWin *>(dialog);
        for (QPushButton *button : frame->findChildren<QPushButton *>()) {
            if (button->text() == "Set Background")
                button->click();
        }
        QLineEdit *edit = frame->content->m_WidthEdit;
        edit->setText(width == "double" ? QString::number(edit->text().toInt() * 2) : width);
        confirm ? frame->content->OnOk() : frame->content->OnCancel();
    };
    d.c->OnProperties();
    QVERIFY(qAbs(d.page()->width - before * factor) < before / 100);
    QCOMPARE(d.page()->pageBackground.color == QColor(0, 80, 160), confirm);
    QCOMPARE(d.c->isModified(), confirm);
}

void TestReportCreator::portraitPhotoStaysUpright_data()
{
    QTest::addColumn<bool>("background");
    QTest::newRow("picture on the page") << false;
    QTest::newRow("page background") << true;
}

// A phone's portrait photo picked as a picture or a page background, as
// kept on the page and as the chart draws it.
void TestReportCreator::portraitPhotoStaysUpright()
{
    QFETCH(bool, background);
    QTemporaryDir dir;
    imagePath = dir.filePath("phone.jpg");
    QFile file(imagePath);
    const QByteArray jpeg = OrientedPhoto::jpeg(6);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    file.close();
    const auto previous
        = CColorDialog::setOpenFileHandler([](QWidget *, const QString &) { return imagePath; });

    Designer d;
    QImage kept;
    if (background) {
        onDialog = [&](QDialog *dialog) {
            if (auto *colour = qobject_cast<CColorDialog *>(dialog)) {
                colour->m_AddImage->click();
                colour->m_FitSize->click();
                colour->slotLoadImage();
                return colour->slotOk();
            }
            auto *frame = qobject_cast<CPaperSizeDlgWin *>(dialog);
            for (QPushButton *button : frame->findChildren<QPushButton *>()) {
                if (button->text() == "Set Background")
                    button->click();
            }
            frame->content->OnOk();
        };
        d.c->OnProperties();
        kept = d.page()->pageBackground.image.toImage();
    } else {
        CREPageItem *item = d.add("Image", QPointF(50, 60));
        QVERIFY(item);
        kept = item->image.toImage();
    }
    CColorDialog::setOpenFileHandler(previous);
    QCOMPARE(kept.size(), QSize(94, 126));
    QVERIFY(OrientedPhoto::upright(kept));

    if (background) {
        // Stretched over the whole page, the red corner is its top right.
        const QImage chart = CManagerThumbnailDlg::slotPrintReport(0, &d.win, QSize(400, 400));
        const QColor corner = chart.pixelColor(chart.width() * 9 / 10, chart.height() / 10);
        QVERIFY2(corner.red() > 180 && corner.blue() < 80, qPrintable(corner.name()));
        const QColor left = chart.pixelColor(chart.width() / 10, chart.height() / 10);
        QVERIFY2(left.blue() > 150 && left.red() < 80, qPrintable(left.name()));
    }
}

// Names that would leave the folder, hide the file or upset a list; the
// file being edited counting as free is the natal chart's business.
void TestReportCreator::fileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("chosen"); // empty: none
    QTest::newRow("parent folder") << "../x" << QStringList() << "x.lnr";
    QTest::newRow("absolute") << "/etc/passwd" << QStringList() << "etc passwd.lnr";
    QTest::newRow("backslash") << "a\\b" << QStringList() << "a b.lnr";
    QTest::newRow("hidden") << ".profile" << QStringList() << "profile.lnr";
    QTest::newRow("control") << "Tab\there\nnow" << QStringList() << "Tab here now.lnr";
    QTest::newRow("empty") << QString() << QStringList() << "Untitled.lnr";
    QTest::newRow("only dots") << "..." << QStringList() << "Untitled.lnr";
    QTest::newRow("long") << QString(300, 'a') << QStringList() << QString(120, 'a') + ".lnr";
    QStringList all {"Natal chart.lnr"};
    for (int i = 0; i <= 9999; ++i)
        all.append(QString("Natal chart%1.lnr").arg(i));
    QTest::newRow("every name taken") << "Natal chart" << all << QString();
}

void TestReportCreator::fileName()
{
    QFETCH(QString, name);
    QFETCH(QStringList, existing);
    QFETCH(QString, chosen);
    const QString folder = getUserFolder() + QLatin1Char('/');
    for (const QString &file : existing)
        QVERIFY(QFile(folder + file).open(QIODevice::WriteOnly));
    QCOMPARE(CReportCreator::chooseFileName(folder, name, QString()),
             chosen.isEmpty() ? QString() : folder + chosen);
}

void TestReportCreator::close_data()
{
    QTest::addColumn<int>("how"); // 0 "Close", 1 the window frame, else a key
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("answer"); // 0 "Yes"
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("files");
    QTest::newRow("new window, Close, No") << 0 << false << -1 << true << true << 0;
    QTest::newRow("window frame, Yes saves") << 1 << false << 0 << true << true << 1;
    QTest::newRow("saved: no question") << 0 << true << -1 << true << true << 1;
    QTest::newRow("Yes, but the save fails") << 0 << false << 0 << false << false << 0;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false << 0 << true << false << 0;
    QTest::newRow("Return") << int(Qt::Key_Return) << false << 0 << true << false << 0;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << false << 0 << true << false << 0;
}

void TestReportCreator::close()
{
    QFETCH(int, how);
    QFETCH(bool, saved);
    QFETCH(bool, writable);
    QFETCH(bool, closes);
    QTemporaryDir elsewhere;
    const QString old = elsewhere.filePath("old.lnr");
    QVERIFY(QFile(old).open(QIODevice::WriteOnly));
    if (!writable) { // the template folder is a file
        QVERIFY(QDir(getUserFolder()).removeRecursively());
        QVERIFY(QFile(getUserFolder()).open(QIODevice::WriteOnly));
    }
    Designer d;
    d.c->loadedFile = old;
    if (saved)
        d.c->OnOk();
    QVERIFY(d.show());
    QFETCH(int, answer);
    askAnswer = answer;
    if (how == 0)
        d.c->closeButton->click();
    else if (how == 1)
        d.win.close();
    else
        QTest::keyClick(&d.win, Qt::Key(how));
    QCOMPARE(d.win.isVisible(), !closes);
    const bool asks = (closes || !writable) && !saved;
    QCOMPARE(asked, asks ? QStringList {"Warning|Save changes?"} : QStringList());
    QTEST(templateFiles().size(), "files");
    // The old file, and the work in the window, go only with a successful save.
    QCOMPARE(errors, writable ? QStringList() : QStringList {"Error|Can't save report!"});
    QCOMPARE(QFile::exists(old) && d.c->loadedFile == old, d.c->isModified());
}

void TestReportCreator::closeAfterOpening_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("edited");
    const QStringList shipped
        = QDir(getImagesPath() + "templates").entryList({"*.lnr"}, QDir::Files, QDir::Name);
    QVERIFY(!shipped.isEmpty());
    for (const QString &file : shipped)
        QTest::newRow(qPrintable(file)) << file << false;
    QTest::newRow("an item moved") << shipped.first() << true;
}

// A template just opened is the file it came from: "Close" asks nothing
// until something was changed.
void TestReportCreator::closeAfterOpening()
{
    QFETCH(QString, file);
    QFETCH(bool, edited);
    const QString path = getUserFolder() + QLatin1Char('/') + file;
    QVERIFY(QFile::copy(getImagesPath() + "templates/" + file, path));
    Designer d;
    QVERIFY(d.win.loadTemplate(path));
    QVERIFY(d.show());
    // A click selects an item and fills the grid; a drag moves it.
    QWidget *view = d.c->editor->viewport();
    const QPoint at = d.c->editor->calcDocViewTransform()
                          .map(d.page()->items.last()->getShapeBoundRect().center())
                          .toPoint();
    const QPoint to = at + QPoint(edited ? 30 : 0, 0);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    QList<CREPageItem *> selected;
    d.page()->getSelected(selected, false);
    QCOMPARE(selected.size(), 1);
    askAnswer = -1;
    d.c->closeButton->click();
    QVERIFY(!d.win.isVisible());
    QCOMPARE(asked, edited ? QStringList {"Warning|Save changes?"} : QStringList());
    QCOMPARE(templateFiles(), QStringList {file});
}

void TestReportCreator::openEditor_data()
{
    QTest::addColumn<bool>("viaClose"); // "Yes" of the close question, else Save
    QTest::newRow("Save") << false;
    QTest::newRow("close, Yes") << true;
}

// What is typed in the numerologist's Text row counts before the cell is
// left: Save, or "Yes" to the close question of a window saved before,
// stores it.
void TestReportCreator::openEditor()
{
    QFETCH(bool, viaClose);
    Designer d;
    CREPageItem *item = d.place(CREPageItem::Placeholder, "#numerologist");
    item->isVariable = true;
    d.c->OnOk();
    QVERIFY(d.show());
    d.select(item);
    QTableWidget *table = d.c->properties->table();
    const QModelIndex cell
        = table->model()->index(d.c->properties->rows().indexOf(d.row("Text")), 1);
    table->setCurrentIndex(cell);
    table->edit(cell);
    auto *typing = qobject_cast<QLineEdit *>(table->indexWidget(cell));
    QVERIFY(typing);
    typing->setText(QStringLiteral("Ada Quill"));
    if (viaClose)
        d.win.close();
    else
        d.c->OnOk();
    QCOMPARE(asked, viaClose ? QStringList {"Warning|Save changes?"} : QStringList());
    CReportDocument saved(nullptr, nullptr);
    QVERIFY(!d.c->isModified() && saved.loadFromFile(d.c->loadedFile));
    QCOMPARE(saved.currentPage->items.last()->inner->text, QStringLiteral("Ada Quill"));
}

namespace {

Edit deletePage(int pages, int answer, int left)
{
    return [=](Designer &d) {
        for (int i = 1; i < pages; ++i)
            d.c->OnAddPage();
        d.c->unsaved = 0;
        askAnswer = answer;
        d.c->OnDelPage();
        QCOMPARE(d.pages().size(), left);
        QVERIFY(d.pages().contains(d.page()));
    };
}

// A new 2 x 1 inch block dropped at a point of the editor showing the first
// page or the block itself; thenDelete deletes the block after the drop.
Edit dropBlock(bool ontoPage, QPoint at, int references, bool thenDelete = false)
{
    return [=](Designer &d) {
        confirmPaperSize([](CPaperSizeDlg *form) {
            form->m_WidthEdit->setText("2");
            form->m_HeightEdit->setText("1");
        });
        d.c->OnAddBlock();
        CREPage *block = d.page();
        QCOMPARE(d.c->editor->blocks, QList<CREPage *> {block});
        QVERIFY(d.c->isModified());
        CILItem *tile = d.c->pagesPanel->blocksList->getSelectedItem();
        if (ontoPage)
            d.c->OnPageSelected(d.c->pagesPanel->pagesList->containers.first()->items.first());
        CREPage *target = d.page();
        d.c->unsaved = 0;
        d.c->OnBlockItemDropped(tile, d.c->editor->mapToGlobal(at));
        QCOMPARE(target->items.size(), references);
        if (references)
            QCOMPARE(target->items.first()->inner->key, d.c->editor->blockKey(block));
        if (!thenDelete)
            return;
        // Deleting the block takes its references along.
        d.c->OnPageSelected(tile);
        d.c->unsaved = 0;
        d.c->OnDelBlock();
        QVERIFY(d.c->editor->blocks.isEmpty());
        QVERIFY(target->items.isEmpty());
    };
}

} // namespace

// Every edit marks the document changed; every refused one leaves it alone.
void TestReportCreator::edits_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("changes");
    QTest::newRow("move an item") << Edit([](Designer &d) {
        d.place(CREPageItem::Placeholder, "#text", 100);
        QWidget *view = d.c->editor->viewport();
        const QPoint at = d.c->editor->calcDocViewTransform().map(QPointF(120, 30)).toPoint();
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
        QMouseEvent move(QEvent::MouseMove, at + QPoint(30, 0), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
    }) << true;
    QTest::newRow("Delete key") << Edit([](Designer &d) {
        d.select(d.place(CREPageItem::Placeholder, "#text"));
        QTest::keyClick(d.c->editor, Qt::Key_Delete);
        QVERIFY(d.page()->items.isEmpty());
    }) << true;
    QTest::newRow("add a page") << Edit([](Designer &d) {
        d.c->OnAddPage();
        QCOMPARE(d.pages().size(), 2);
        QCOMPARE(d.page(), d.pages().at(1));
    }) << true;
    QTest::newRow("page properties") << Edit([](Designer &d) {
        confirmPaperSize([](CPaperSizeDlg *form) {
            form->m_TitleEdit->setText("Back");
            form->m_PagesCombo->setEditText("3");
        });
        d.c->OnPageProp();
        QCOMPARE(d.page()->name, QString("Back"));
        QCOMPARE(d.page()->repeatCount, 3);
        QCOMPARE(d.c->pagesPanel->pagesList->getSelectedItem()->counterText, QString("3"));
    }) << true;
    // The template keeps these three.
    for (const char *toggle : {"Show Grid", "Snap to Grid", "Boundaries"}) {
        QTest::newRow(toggle) << Edit([toggle](Designer &d) {
            for (QPushButton *button : d.c->findChildren<QPushButton *>())
                if (button->toolTip() == QLatin1String(toggle))
                    button->click();
        }) << true;
    }
    QTest::newRow("delete a page: No") << deletePage(2, -1, 2) << false;
    QTest::newRow("delete a page: Yes") << deletePage(2, 0, 1) << true;
    QTest::newRow("the last page stays") << deletePage(1, 0, 1) << false;
    QTest::newRow("strip drag reorders pages") << Edit([](Designer &d) {
        d.c->OnAddPage();
        d.c->OnAddPage();
        d.c->unsaved = 0;
        const QList<CREPage *> before = d.pages();
        CIconList *strip = d.c->pagesPanel->pagesList;
        CILContainer *column = strip->containers.first();
        CILItem *tile = column->items.first();
        QCursor::setPos(tile->mapToGlobal(tile->rect().center()));
        strip->OnStartDD(tile);
        const QPoint target = column->inner->mapToGlobal(QPoint(30, column->pitch * 2 + 40));
        QWidget *surface = d.c->pagesPanel->dragHost();
        strip->processItemsAt(surface, target, Qt::LeftButton);
        QVERIFY(strip->isDragging());
        strip->processItemsAt(surface, target, Qt::NoButton);
        QCOMPARE(d.pages(), (QList<CREPage *> {before.at(1), before.at(2), before.at(0)}));
    }) << true;
    QTest::newRow("block onto a page") << dropBlock(true, QPoint(200, 200), 1) << true;
    QTest::newRow("block onto itself") << dropBlock(false, QPoint(200, 200), 0) << false;
    QTest::newRow("block beside the editor") << dropBlock(true, QPoint(-20, 200), 0) << false;
    QTest::newRow("delete a block") << dropBlock(true, QPoint(200, 200), 1, true) << true;
}

void TestReportCreator::edits()
{
    QFETCH(Edit, edit);
    Designer d(0);
    QVERIFY(d.show());
    d.c->unsaved = 0;
    edit(d);
    if (!QTest::currentTestFailed())
        QTEST(d.c->isModified(), "changes");
}

// The window makes nothing the reader refuses: the bar code's Text row stops
// at its length, a page beyond the count is refused with a box, and a save
// of what a template cannot hold says why and writes nothing. Nothing is
// refused or put back for what it costs to draw.
void TestReportCreator::limits()
{
    Designer d;
    CREPageItem *symbol = d.add("Bar Codes", QPointF(100, 100));
    QVERIFY(symbol);
    d.select(symbol);
    const int text = d.c->properties->rows().indexOf(d.row("Text"));
    QVERIFY(text >= 0);
    d.c->properties->table()->item(text, 1)->setText(QString(4000, QLatin1Char('7')));
    QCOMPARE(symbol->text.size(), TemplateLimits::MaxSymbolText);

    while (d.c->editor->roomForPage())
        d.c->editor->addBlock(QSizeF(10, 10), "Block");
    const int pages = d.pages().size();
    d.c->OnAddPage();
    QCOMPARE(d.pages().size(), pages);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().startsWith("Warning|A chart template holds at most"));

    CREPageItem *picture = d.place(CREPageItem::Image, "#image");
    picture->outer->transform.scale(1, 178);
    d.c->OnOk();
    QVERIFY(d.c->loadedFile.isEmpty());
    QCOMPARE(templateFiles(), QStringList());
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith("Error|Can't save report!\r\nAn object on the page"),
             qPrintable(errors.first()));

    // However much a page draws, its properties take the size typed: what
    // drawing costs is for the trial of a shared template to judge.
    Designer card;
    CREPage *page = card.page();
    page->setPageSize(QSizeF(420, 594));
    for (int i = 0; i < 40; ++i) {
        CREPageItem *cover = HostileTemplates::place(page, CREPageItem::Path, 0, 0, 1680, 2376);
        cover->shape.addRect(0, 0, 1680, 2376);
        cover->color = QColor(40, 120, 200, 128);
        cover->penWidth = 0;
    }
    asked.clear();
    onDialog = [](QDialog *dialog) {
        auto *frame = qobject_cast<CPaperSizeDlgWin *>(dialog);
        for (QLineEdit *edit : {frame->content->m_WidthEdit, frame->content->m_HeightEdit})
            edit->setText(QString::number(edit->text().toDouble() * 2));
        frame->content->OnOk();
    };
    card.c->OnProperties();
    QVERIFY2(qAbs(page->width - 840) < 5 && qAbs(page->height - 1188) < 5,
             qPrintable(QStringLiteral("%1 x %2").arg(page->width).arg(page->height)));
    QCOMPARE(asked, QStringList());
}

QTEST_MAIN(TestReportCreator)
#include "tst_reportcreator.moc"
