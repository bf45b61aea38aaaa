#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <QComboBox>
class QLabel;
#include <QPushButton>
class QTableWidget;
class QTableWidgetItem;
class CAppStyle;

// One row of the property grid. The designer builds the rows of the selected
// item, and reads the edited values back from them after dataChanged().
class CPWItem : public QObject
{
    Q_OBJECT

public:
    enum Kind { Text = 0, Color = 1, Font = 2, Alignment = 3, Choice = 5, EditableChoice = 6 };

    CPWItem(const QString &name, const QString &text);
    CPWItem(const QString &name, const QColor &color);
    CPWItem(const QString &name, const QFont &font);
    CPWItem(const QString &name, int kind);

    QColor color;
    QString valueText;
    QFont font;
    // Qt horizontal alignment: 1 left, 4 centred, 2 right.
    int alignment = 1;
    int kind = Text;
    // The most characters a text row takes (what is typed or pasted beyond
    // is cut off); 0 for no limit.
    int maxLength = 0;
    QString name;
    int choiceIndex = 0;
    QStringList choices;
    // The editor the grid made for the row; owned by the grid's table.
    QPointer<QPushButton> button;
    QPointer<QComboBox> combo;

signals:
    void itemButtonClicked(CPWItem *item);

public slots:
    void OnItemButton();
    void OnItemCombo(int index);
};

// The designer's two-column grid of properties: name on the left, an editor
// on the right (text cell, "..." button for colour and font, drop-down list).
class CPropertiesWidget : public QWidget
{
    Q_OBJECT

public:
    // The dialogs a colour or font row opens. Each edits the value in place and
    // answers whether the user confirmed; a cancelled dialog leaves it alone.
    // By default the program's colour dialog and text-and-font dialog;
    // replaceable so that the grid can run without a modal loop.
    using ColorEditor = bool (*)(QColor &color);
    using FontEditor
        = bool (*)(CAppStyle *style, QWidget *parent, QFont &font, const QString &sample);
    static ColorEditor colorEditor;
    static FontEditor fontEditor;

    explicit CPropertiesWidget(CAppStyle *style, QWidget *parent = nullptr);
    ~CPropertiesWidget() override;

    void clear();
    // Shows rows (the grid owns them from now on). Building emits nothing.
    void setList(const QVector<CPWItem *> &rows);
    void updateFixScroll();
    // Writes a text cell that is still being edited into its row, as leaving
    // the cell does (dataChanged() follows), and closes its editor.
    void commitEdit();

    const QVector<CPWItem *> &rows() const { return m_rows; }
    QTableWidget *table() const { return m_table; }
    QLabel *lineLabel() const { return m_lineLabel; }

    // The alignment for a drop-down entry (0 Left, 1 Center, 2 Right) and back.
    static int alignmentForEntry(int entry);
    static int entryForAlignment(int alignment);

public slots:
    void OnItemsActions(CPWItem *row);
    void OnItemsChanged(QTableWidgetItem *item);

signals:
    void dataChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QVector<CPWItem *> m_rows;
    QTableWidget *m_table;
    QString m_imagesFolder;
    QLabel *m_lineLabel;
    CAppStyle *m_style;
};
