#include "designer/colordialog.h"
#include "designer/propertieswidget.h"
#include "designer/textdlg.h"
#include "testenvironment.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {

const CPropertiesWidget::ColorEditor realColorEditor = CPropertiesWidget::colorEditor;
const CPropertiesWidget::FontEditor realFontEditor = CPropertiesWidget::fontEditor;

// Runs action on the modal dialog of type T once it is open.
template<typename T, typename F> void whenOpen(F action)
{
    QTimer::singleShot(50, [action]() {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget()))
            action(dialog);
        else
            whenOpen<T>(action);
    });
}

// What the stand-in dialogs saw and answer.
struct DialogScript
{
    bool confirm = true;
    QColor color = QColor(10, 20, 30);
    QFont font = QFont(QStringLiteral("Courier"), 17);
    QString sample;
    int colorRuns = 0;
    int fontRuns = 0;
};
DialogScript script;

bool fakeColorEditor(QColor &color)
{
    ++script.colorRuns;
    if (script.confirm)
        color = script.color;
    return script.confirm;
}

bool fakeFontEditor(CAppStyle *, QWidget *, QFont &font, const QString &sample)
{
    ++script.fontRuns;
    script.sample = sample;
    if (script.confirm)
        font = script.font;
    return script.confirm;
}

CPWItem *alignmentRow(int alignment)
{
    auto *row = new CPWItem(QStringLiteral("Alignment"), int(CPWItem::Alignment));
    row->alignment = alignment;
    return row;
}

CPWItem *choiceRow(int kind, int index, const QString &text = QString())
{
    auto *row = new CPWItem(QStringLiteral("Choice"), kind);
    row->choices
        = QStringList {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};
    row->choiceIndex = index;
    row->valueText = text;
    return row;
}

} // namespace

class TestPropertiesWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void buildingEmitsNothing();
    void textRowEditedInPlace();
    void alignment_data();
    void alignment();
    void choiceShowsValidEntry_data();
    void choiceShowsValidEntry();
    void choicePicked();
    void editableChoice();
    void colourRow_data();
    void colourRow();
    void fontRow_data();
    void fontRow();
    void unknownKindHasNoEditor();
    void columnsFollowWidth();
    void rowsHandedInAgainSurvive();
    void realDialogs();
};

void TestPropertiesWidget::init()
{
    script = DialogScript();
    CPropertiesWidget::colorEditor = fakeColorEditor;
    CPropertiesWidget::fontEditor = fakeFontEditor;
}

void TestPropertiesWidget::buildingEmitsNothing()
{
    CPropertiesWidget grid(nullptr);
    QCOMPARE(grid.table()->rowCount(), 0);
    QCOMPARE(grid.table()->columnCount(), 2);
    QCOMPARE(grid.table()->horizontalHeaderItem(0)->text(), QStringLiteral("Property"));
    QCOMPARE(grid.table()->horizontalHeaderItem(1)->text(), QStringLiteral("Value"));
    QVERIFY(!grid.table()->verticalHeader()->isVisible());
    QVERIFY(!grid.table()->showGrid());

    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    grid.setList({new CPWItem(QStringLiteral("Text"), QStringLiteral("Hello")),
                  new CPWItem(QStringLiteral("Colour"), QColor(Qt::red)),
                  new CPWItem(QStringLiteral("Font"), QFont()), alignmentRow(4),
                  choiceRow(CPWItem::Choice, 1), choiceRow(CPWItem::EditableChoice, 2, "x")});
    QCOMPARE(changed.count(), 0);
    QCOMPARE(grid.table()->rowCount(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(grid.table()->rowHeight(i), 22);
        QVERIFY(!(grid.table()->item(i, 0)->flags() & Qt::ItemIsEditable));
    }
    QCOMPARE(grid.table()->item(0, 0)->text(), QStringLiteral("Text"));
    QCOMPARE(grid.table()->item(0, 1)->text(), QStringLiteral("Hello"));
    QVERIFY(grid.table()->item(0, 1)->flags() & Qt::ItemIsEditable);
    QCOMPARE(qobject_cast<QPushButton *>(grid.table()->cellWidget(1, 1))->text(),
             QStringLiteral("..."));
    QCOMPARE(grid.rows().at(1)->button.data(), grid.table()->cellWidget(1, 1));
    QCOMPARE(grid.rows().at(3)->combo.data(), grid.table()->cellWidget(3, 1));
}

void TestPropertiesWidget::textRowEditedInPlace()
{
    CPropertiesWidget grid(nullptr);
    grid.setList({new CPWItem(QStringLiteral("Name"), QStringLiteral("old")),
                  new CPWItem(QStringLiteral("Key"), QStringLiteral("#name"))});
    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    grid.table()->item(0, 1)->setText(QStringLiteral("new"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(grid.rows().at(0)->valueText, QStringLiteral("new"));
    QCOMPARE(grid.rows().at(1)->valueText, QStringLiteral("#name"));
    grid.table()->item(1, 1)->setText(QStringLiteral("#date"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(grid.rows().at(1)->valueText, QStringLiteral("#date"));
}

void TestPropertiesWidget::alignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("pick");
    QTest::addColumn<int>("stored");
    QTest::newRow("centred to right") << 4 << "Center" << 2 << 2;
    QTest::newRow("right to left") << 2 << "Right" << 0 << 1;
    QTest::newRow("left to centre") << 1 << "Left" << 1 << 4;
    QTest::newRow("unknown shows left") << 33 << "Left" << 1 << 4;
}

void TestPropertiesWidget::alignment()
{
    QFETCH(int, alignment);
    QFETCH(QString, shown);
    QFETCH(int, pick);
    QFETCH(int, stored);
    CPropertiesWidget grid(nullptr);
    grid.setList({alignmentRow(alignment)});
    QComboBox *combo = grid.rows().first()->combo;
    QVERIFY(combo);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), shown);
    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    combo->setCurrentIndex(pick);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(grid.rows().first()->alignment, stored);
}

void TestPropertiesWidget::choiceShowsValidEntry_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("shown");
    QTest::newRow("in range") << 2 << 2;
    QTest::newRow("past the end") << 7 << 0;
    QTest::newRow("negative") << -1 << 0;
}

void TestPropertiesWidget::choiceShowsValidEntry()
{
    QFETCH(int, index);
    QFETCH(int, shown);
    CPropertiesWidget grid(nullptr);
    grid.setList({choiceRow(CPWItem::Choice, index)});
    QComboBox *combo = grid.rows().first()->combo;
    QCOMPARE(combo->currentIndex(), shown);
    QVERIFY(!combo->isEditable());
}

void TestPropertiesWidget::choicePicked()
{
    CPropertiesWidget grid(nullptr);
    grid.setList({choiceRow(CPWItem::Choice, 0)});
    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    grid.rows().first()->combo->setCurrentIndex(2);
    QCOMPARE(grid.rows().first()->choiceIndex, 2);
    QCOMPARE(changed.count(), 1);
}

void TestPropertiesWidget::editableChoice()
{
    CPropertiesWidget grid(nullptr);
    grid.setList({choiceRow(CPWItem::EditableChoice, 0, QStringLiteral("Not listed"))});
    QComboBox *combo = grid.rows().first()->combo;
    QVERIFY(combo->isEditable());
    QCOMPARE(combo->currentText(), QStringLiteral("Not listed"));
    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    combo->setCurrentIndex(1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(grid.rows().first()->valueText, QStringLiteral("Two"));
}

void TestPropertiesWidget::colourRow_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true;
    QTest::newRow("cancelled") << false;
}

void TestPropertiesWidget::colourRow()
{
    QFETCH(bool, confirm);
    script.confirm = confirm;
    CPropertiesWidget grid(nullptr);
    grid.setList({new CPWItem(QStringLiteral("Colour"), QColor(Qt::red))});
    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    grid.rows().first()->button->click();
    QCOMPARE(script.colorRuns, 1);
    QCOMPARE(changed.count(), 1); // also when cancelled
    QCOMPARE(grid.rows().first()->color, confirm ? script.color : QColor(Qt::red));
}

void TestPropertiesWidget::fontRow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("sample");
    QTest::newRow("empty sample") << QString() << true << "Text";
    QTest::newRow("own sample") << "John Smith" << true << "John Smith";
    QTest::newRow("cancelled") << QString() << false << "Text";
}

void TestPropertiesWidget::fontRow()
{
    QFETCH(QString, text);
    QFETCH(bool, confirm);
    QFETCH(QString, sample);
    script.confirm = confirm;
    CPropertiesWidget grid(nullptr);
    const QFont original(QStringLiteral("Arial"), 9);
    auto *row = new CPWItem(QStringLiteral("Font"), original);
    row->valueText = text;
    grid.setList({row});
    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    row->button->click();
    QCOMPARE(script.fontRuns, 1);
    QCOMPARE(script.sample, sample);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(row->font, confirm ? script.font : original);
    QCOMPARE(row->valueText, text); // the sample text is not read back
}

void TestPropertiesWidget::unknownKindHasNoEditor()
{
    CPropertiesWidget grid(nullptr);
    grid.setList({new CPWItem(QStringLiteral("Nothing"), 4),
                  new CPWItem(QStringLiteral("Text"), QStringLiteral("t"))});
    QCOMPARE(grid.table()->item(0, 0)->text(), QStringLiteral("Nothing"));
    QVERIFY(!grid.table()->item(0, 1));
    QVERIFY(!grid.table()->cellWidget(0, 1));
    // Editing the other row still works around it.
    QSignalSpy changed(&grid, &CPropertiesWidget::dataChanged);
    grid.table()->item(1, 1)->setText(QStringLiteral("u"));
    QCOMPARE(grid.rows().at(1)->valueText, QStringLiteral("u"));
    QCOMPARE(changed.count(), 1);
    // A row the grid does not hold only re-reads and reports.
    CPWItem stranger(QStringLiteral("Colour"), QColor(Qt::blue));
    grid.OnItemsActions(&stranger);
    QCOMPARE(script.colorRuns, 0);
    QCOMPARE(changed.count(), 2);
}

void TestPropertiesWidget::columnsFollowWidth()
{
    QWidget window;
    auto *grid = new CPropertiesWidget(nullptr, &window);
    grid->setGeometry(0, 0, 300, 240);
    grid->setList({new CPWItem(QStringLiteral("Name"), QStringLiteral("John Smith")),
                   new CPWItem(QStringLiteral("Colour"), QColor(Qt::red)),
                   new CPWItem(QStringLiteral("Font"), QFont()), alignmentRow(4),
                   choiceRow(CPWItem::Choice, 1),
                   choiceRow(CPWItem::EditableChoice, 0, QStringLiteral("Free"))});
    window.resize(320, 260);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, TestEnvironment::WaitMs));
    QCOMPARE(grid->table()->geometry(), QRect(3, 2, 295, 236));
    QCOMPARE(grid->table()->columnWidth(0), 115);
    QCOMPARE(grid->table()->columnWidth(1), 162);
    QCOMPARE(grid->lineLabel()->geometry(), QRect(262, 237, 35, 1));
    if (!qEnvironmentVariableIsEmpty("LUMARO_SHOTS"))
        window.grab().save(qEnvironmentVariable("LUMARO_SHOTS")
                           + QStringLiteral("/propertieswidget.png"));
}

// The designer may hand a row object in again when it rebuilds: it must
// stay alive rather than be deleted with the old set.
void TestPropertiesWidget::rowsHandedInAgainSurvive()
{
    CPropertiesWidget grid(nullptr);
    auto *kept = new CPWItem(QStringLiteral("Kept"), QStringLiteral("k"));
    auto *dropped = new CPWItem(QStringLiteral("Dropped"), QColor(Qt::red));
    QPointer<CPWItem> watchKept(kept);
    QPointer<CPWItem> watchDropped(dropped);
    grid.setList({kept, dropped});
    grid.setList({kept, kept, alignmentRow(2)});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(watchKept);
    QVERIFY(!watchDropped);
    QCOMPARE(grid.rows().size(), 2);
    QCOMPARE(grid.table()->rowCount(), 2);
    QCOMPARE(grid.table()->item(0, 1)->text(), QStringLiteral("k"));
    grid.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watchKept);
    QCOMPARE(grid.table()->rowCount(), 0);
}

// The production editors: the program's colour dialog, the text dialog.
void TestPropertiesWidget::realDialogs()
{
    CPropertiesWidget::colorEditor = realColorEditor;
    CPropertiesWidget::fontEditor = realFontEditor;
    QWidget window;
    auto *grid = new CPropertiesWidget(nullptr, &window);
    auto *colour = new CPWItem(QStringLiteral("Colour"), QColor(200, 10, 10));
    auto *font = new CPWItem(QStringLiteral("Font"), QFont(QStringLiteral("Arial"), 9));
    grid->setList({colour, font});
    QSignalSpy changed(grid, &CPropertiesWidget::dataChanged);

    QColor shown;
    whenOpen<CColorDialog>([&shown](CColorDialog *dialog) {
        shown = QColor(dialog->m_RedSpin->value(), dialog->m_GreenSpin->value(),
                       dialog->m_BlueSpin->value());
        dialog->slotSetColor(QColor(0, 0, 255));
        dialog->slotOk();
    });
    colour->button->click();
    QCOMPARE(shown, QColor(200, 10, 10));
    QCOMPARE(colour->color, QColor(0, 0, 255));

    whenOpen<CColorDialog>([](CColorDialog *dialog) { dialog->slotCancel(); });
    colour->button->click();
    QCOMPARE(colour->color, QColor(0, 0, 255));

    QString sample;
    whenOpen<CTextDlgWin>([&sample](CTextDlgWin *dialog) {
        sample = dialog->content->text;
        dialog->content->OnCancel();
    });
    font->button->click();
    QCOMPARE(sample, QStringLiteral("Text"));
    QCOMPARE(font->font.family(), QStringLiteral("Arial"));
    QCOMPARE(changed.count(), 3);
}

QTEST_MAIN(TestPropertiesWidget)
#include "tst_propertieswidget.moc"
