#include "stylesheets.h"

#include <QStringList>

// Colours that follow the scheme are written "#rrggbb" so that re-tinting
// finds them; the cream text colour is written rgb(237,219,178) on purpose,
// so that text keeps its colour in every scheme.

namespace StyleSheets {

namespace {

const QString separator = QStringLiteral("\t\t");

QString joined(const QStringList &rules)
{
    return rules.join(separator);
}

QString scrollBarBlock(const QString &folder)
{
    return joined({
        QStringLiteral("QScrollBar { background-color: #2c2420; }"),
        QStringLiteral("QScrollBar:horizontal { border: 0px; border-top: 1px solid #403935; "
                       "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #2c2420, "
                       "stop: 0.5 #352b27, stop: 1 #312824); }"),
        QStringLiteral("QScrollBar::handle:horizontal { background: qlineargradient(x1: 0, y1: 0, "
                       "x2: 1, y2: 1, stop: 0 #44372f, stop: 1 #4b3d34); border: none; "
                       "min-width: 20px; border-radius: 4px; margin: 3px 3px 3px 3px; }"),
        QStringLiteral("QScrollBar::handle:horizontal:hover { background: qlineargradient(x1: 0, "
                       "y1: 0, x2: 1, y2: 1, stop: 0 #5b4a3f, stop: 1 #5e4c41); }"),
        QStringLiteral("QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { "
                       "border: none; background: transparent; height: 0px; width: 0px; "
                       "subcontrol-position: top; subcontrol-origin: margin; }"),
        QStringLiteral("QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { "
                       "background: none; }"),
        QStringLiteral("QScrollBar:vertical { border: 0px; border-left: 1px solid #403935; "
                       "background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0, stop: 0 #2c2420, "
                       "stop: 0.5 #352b27, stop: 1 #312824); margin: 0px 0px 0px 0px; }"),
        QStringLiteral("QScrollBar::handle:vertical { background: qlineargradient(x1: 0, y1: 0, "
                       "x2: 1, y2: 1, stop: 0 #44372f, stop: 1 #4b3d34); border: none; "
                       "min-height: 20px; border-radius: 4px; margin: 3px 3px 3px 3px; }"),
        QStringLiteral("QScrollBar::handle:vertical:hover { background: qlineargradient(x1: 0, "
                       "y1: 0, x2: 1, y2: 1, stop: 0 #5b4a3f, stop: 1 #5e4c41); }"),
        QStringLiteral("QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { "
                       "border: none; background: transparent; height: 0px; width: 0px; "
                       "subcontrol-position: top; subcontrol-origin: margin; }"),
        QStringLiteral("QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { "
                       "background: none; }"),
        QStringLiteral("QCheckBox { background: none; color: rgb(237,219,178); border: none; }"),
        QStringLiteral("QCheckBox::indicator:unchecked { background: #2c2420; border: 1px solid "
                       "#594f49; width: 12px; height: 12px; }"),
        QStringLiteral("QCheckBox::indicator:checked { image: url(") + folder
            + QStringLiteral("/cbc.png); background: #2c2420; border: 1px solid #594f49; "
                             "width: 12px; height: 12px; }"),
    });
}

QString editBlock()
{
    return joined({
        QStringLiteral(
            "QLineEdit { background-color: #2c2420; border: 1px solid #5c524c; color: #eddbb2; }"),
        QStringLiteral("QLineEdit[isMassEdit=\"true\"], QPlainTextEdit[isMassEdit=\"true\"] { "
                       "color: black; padding-left: 5px; padding-right: 5px; background: #C0C0C0; "
                       "border: 1px solid #B0B0B0; border-radius: 4px; /*STYLE_MOD*/ }"),
        QStringLiteral("QLineEdit:disabled, QLineEdit:read-only { background: #DDDDDD; "
                       "border: 1px solid #B0B0B0; border-radius: 4px; }"),
        QStringLiteral("QLineEdit:disabled[isMassEdit=\"true\"], "
                       "QLineEdit:read-only[isMassEdit=\"true\"] { background: #C0C0C0; "
                       "border: 1px solid #B0B0B0; border-radius: 4px; }"),
        QStringLiteral("QTextEdit, QPlainTextEdit { padding-left: 5px; padding-right: 2px; "
                       "background: white; border: 1px solid #5c524c; border-radius: 0px; "
                       "/*STYLE_MOD*/ }"),
        QStringLiteral("QTextEdit:disabled, QTextEdit:read-only, QPlainTextEdit:disabled, "
                       "QPlainTextEdit:read-only { background: #DDDDDD; border: 1px solid #B0B0B0; "
                       "border-radius: 4px; }"),
    });
}

QString comboBlock(const QString &folder)
{
    return joined({
        QStringLiteral("QDateEdit QWidget { background-color: #2c2420; border: 1px solid #5c524c; "
                       "color: #eddbb2; selection-background-color: #54443a; }"),
        QStringLiteral("QComboBox, QDateEdit { background-color: #2c2420; border: 1px solid "
                       "#5c524c; color: rgb(237,219,178); padding-left: 10px; border-radius: 0px; "
                       "font-size: 12px; }"),
        QStringLiteral("QComboBox::drop-down, QDateEdit::drop-down { border: none; }"),
        QStringLiteral("QComboBox::down-arrow, QDateEdit::down-arrow { image: url(") + folder
            + QStringLiteral("/darr.png); }"),
        QStringLiteral("QComboBox::down-arrow:hover, QDateEdit::down-arrow:hover { image: url(")
            + folder + QStringLiteral("/darrh.png); }"),
        QStringLiteral("QComboBox QAbstractItemView { background: #44372f; border: 1px solid "
                       "#5c524c; color: #eddbb2; selection-background-color: #54443a; "
                       "padding: 0px 0px 0px 0px; margin: 0px 0px 0px 0px; }"),
    });
}

QString tableBlock()
{
    return joined({
        QStringLiteral("QTableWidget { margin: 0px; padding: 0px; color: rgb(237,219,178); "
                       "background: #2c2420; border: 1px solid #403935; "
                       "selection-color: rgb(237,219,178); selection-background-color: #2c2420; "
                       "alternate-background-color: #e6f0fe; /*FONT_SCALE_12PX*/ }"),
        QStringLiteral("QHeaderView { border-radius: 0px; background: #2c2420; border: 0px; }"),
        QStringLiteral("QHeaderView::section, QTableCornerButton::section, QTableCornerButton { "
                       "border-radius: 0px; border: 0px solid #5c524c; border-right-width: 0px; "
                       "color: rgb(237,219,178); background: #44372f; min-height: 25px; }"),
        QStringLiteral("QHeaderView::down-arrow { subcontrol-origin: margin; "
                       "subcontrol-position: top right; margin-right: 10px; margin-top: 1px; "
                       "width: 10px; height: 10px; }"),
        QStringLiteral("QHeaderView::up-arrow { subcontrol-origin: margin; "
                       "subcontrol-position: top right; margin-right: 10px; margin-top: 1px; "
                       "width: 10px; height: 10px; }"),
        QStringLiteral("QTableWidget::item { border-radius: 0px; border: 1px solid transparent; }"),
    });
}

QString lightListBlock()
{
    return joined({
        QStringLiteral("QListWidget, QListView { color: black; background: #ffffff; "
                       "border: 0px solid #403935; border-radius: 4px; /*STYLE_MOD*/ }"),
        QStringLiteral("QListWidget[isMassEdit=\"true\"] { color: black; background: #C0C0C0; "
                       "border: 0px solid #403935; border-radius: 4px; /*STYLE_MOD*/ }"),
        QStringLiteral("QListWidget::corner { background: none; border: none; }"),
        QStringLiteral("QListWidget QLineEdit { border: 1px solid #000000; }"),
    });
}

// Written for QListWidget; the tree sheet uses it with QTreeWidget.
QString itemBlock(const QString &widget)
{
    QString block = joined({
        QStringLiteral("QListWidget::item { color: rgb(237,219,178); height: 22px; "
                       "/*TREE_ITEM_HEIGHT_22PX*/ border: 0px solid #d9d9d9; "
                       "border-top-color: transparent; border-bottom-color: transparent; }"),
        QStringLiteral("QListWidget::item:hover { background: #44372f; border: 1px solid #44372f; "
                       "color: rgb(237,219,178); }"),
        QStringLiteral("QListWidget::item:selected { border: 0px solid #8fbae7; "
                       "background: #44372f; color: rgb(237,219,178); }"),
        QStringLiteral("QListWidget::item:selected:active { background: #44372f; "
                       "color: rgb(237,219,178); }"),
        QStringLiteral("QListWidget::item::has-children { margin: 2px 2px 2px 2px; "
                       "color: rgb(237,219,178); background: #44372f; border: 0px solid #BBBBBB; "
                       "border-radius: 0px; }"),
    });
    block.replace(QStringLiteral("QListWidget"), widget);
    return block;
}

QString commonPart(const QString &folder)
{
    return joined({scrollBarBlock(folder), editBlock(), comboBlock(folder), tableBlock()});
}

QString sheet0(const QString &folder)
{
    const QString rect = QStringLiteral("QToolButton%1[isRectButton=\"true\"], "
                                        "QPushButton%1[isRectButton=\"true\"]");
    return joined({
        QStringLiteral("QWidget { color: black; background: #ffffff; border: 1px solid #403935; "
                       "border-radius: 0px; /*STYLE_MOD*/ }"),
        QStringLiteral("QWidget[isPLayout=\"true\"] { color: black; background: #ffffff; "
                       "border: 0px solid #99C701; border-radius: 0px; /*STYLE_MOD*/ }"),
        QStringLiteral("QWidget[isMassEdit=\"true\"] { color: black; background: #C0C0C0; "
                       "border: 1px solid #403935; border-radius: 0px; }"),
        rect.arg(QString())
            + QStringLiteral(" { color: #111111; /*FONT_SCALE_12PX*/ background: "
                             "qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #eeeeee, "
                             "stop: 0.5 #dddddd, stop: 1.0 #bbbbbb); border: 0px solid #888888; "
                             "border-radius: 0px; }"),
        rect.arg(QStringLiteral(":hover"))
            + QStringLiteral(" { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
                             "stop: 0 #ffffff, stop: 0.5 #eeeeee, stop: 1.0 #cccccc); "
                             "border-radius: 0px; }"),
        rect.arg(QStringLiteral(":pressed")) + QStringLiteral(" { background: #bbbbbb; }"),
        rect.arg(QStringLiteral(":disabled"))
            + QStringLiteral(" { color: #dddddd; background: qlineargradient(x1: 0, y1: 0, "
                             "x2: 0, y2: 1, stop: 0 #dddddd, stop: 0.5 #cccccc, "
                             "stop: 1.0 #aaaaaa); border-radius: 0px; }"),
        QStringLiteral("QPushButton,QToolButton { background: #44372f; border: 0px; "
                       "border-radius: 6px; color: rgb(237,219,178); font-size: 12px; }"),
        QStringLiteral("QPushButton:hover, QToolButton:hover { background: #54443a; }"),
        QStringLiteral("QPushButton:pressed, QToolButton:pressed { background: #2d241f; }"),
        QStringLiteral("QPushButton:disabled, QToolButton:disabled { color: black; "
                       "background: #312722; border: 0px; border-radius: 6px; }"),
        commonPart(folder),
        lightListBlock(),
    });
}

QString sheet1(const QString &folder)
{
    return joined({
        QStringLiteral("QWidget { background-color: #1e1917; }"),
        QStringLiteral("QToolTip { background-color: #1e1917; color: #9cb62d; font: bold 9px; "
                       "/*color:black; background: #9f9f9f; border: 0px solid #403935;*/ }"),
        QStringLiteral("QScrollArea { background: #2c2420; border: 1px solid #403935; }"),
        QStringLiteral("QLabel { color: rgb(237,219,178); background: transparent; border: none; "
                       "font-size: 10px; }"),
        QStringLiteral("QMenu { background: #2c2420; border: 1px solid #5c524c; color: #eddbb2; "
                       "selection-background-color: #54443a; }"),
        commonPart(folder),
    });
}

QString sheet3(const QString &folder)
{
    return joined({
        QStringLiteral("QWidget { color: rgb(237,219,178); font-size: 12px; "
                       "background: transparent; border: none; }"),
        QStringLiteral("QTreeWidget, QListWidget, QListView { color: rgb(237,219,178); "
                       "background: #2c2420; border: 1px solid #3e3733; border-radius: 0px; "
                       "/*STYLE_MOD*/ }"),
        QStringLiteral("QListWidget::corner, QTreeWidget::corner { background: none; "
                       "border: none; }"),
        QStringLiteral("QTreeView::branch:has-children:!has-siblings:closed, "
                       "QTreeView::branch:closed:has-children:has-siblings { border-image: none; "
                       "image: url(")
            + folder + QStringLiteral("/node_close.png); }"),
        QStringLiteral("QTreeView::branch:open:has-children:!has-siblings, "
                       "QTreeView::branch:open:has-children:has-siblings { border-image: none; "
                       "image: url(")
            + folder + QStringLiteral("/node_open.png); }"),
        itemBlock(QStringLiteral("QListWidget")),
        QStringLiteral("QMessageBox { background: #ffffff; }"),
        QStringLiteral("QWebView, QGraphicsView { color: black; background: #ffffff; "
                       "border: 0px solid #99C701; border-radius: 0px; }"),
        commonPart(folder),
    });
}

QString darkButtonSheet()
{
    return joined({
        QStringLiteral("QPushButton { background: #44372f; border: 0px; border-radius: 6px; "
                       "color: #eddbb2; font-size: 12px; }"),
        QStringLiteral("QPushButton:hover, QToolButton:hover { background: #54443a; }"),
        QStringLiteral("QPushButton:pressed, QToolButton:pressed { background: #2d241f; }"),
        QStringLiteral("QPushButton:disabled, QToolButton:disabled { color: #eddbb2; "
                       "background: #1d140f; border: 0px; border-radius: 6px; }"),
    });
}

QString sheet6()
{
    return joined({
        QStringLiteral("QTreeWidget { show-decoration-selected: 1; "
                       "selection-background-color: transparent; border-radius: 0px; "
                       "/*FONT_SCALE_12PX*/ }"),
        itemBlock(QStringLiteral("QTreeWidget")),
    });
}

} // namespace

QString progressBarSheet()
{
    return joined({
        QStringLiteral("QProgressBar { color: white; text-align: center; border-radius: 5px; }"),
        QStringLiteral("QProgressBar:horizontal { border: 1px solid #173749; "
                       "background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 1, stop: 0 #76a5ba, "
                       "stop: 1 #a3c9da); border-radius: 5px; }"),
        QStringLiteral("QProgressBar::chunk:horizontal { background: qlineargradient(x1: 0, "
                       "y1: 0, x2: 1, y2: 1, stop: 0 #40a4cc, stop: 0.40 #6dd4fa, "
                       "stop: 0.5 #6dd4fa, stop: 0.9 #1f9acd, stop: 1 #24abd6); "
                       "border-radius: 5px; }"),
    });
}

QString chocolateSheet(int index, const QString &folder)
{
    switch (index) {
    case 0:
        return sheet0(folder);
    case 1:
        return sheet1(folder);
    case 2:
        return QStringLiteral("QWidget { background: transparent; border: none; "
                              "font-size: 12px; }");
    case 3:
        return sheet3(folder);
    case 4:
    case 5:
        return darkButtonSheet();
    case 6:
        return sheet6();
    case 8:
        return QStringLiteral("QWidget { color: rgb(237,219,178)/*#eddbb2*/; font-size: 12px; "
                              "background: transparent; border: none; text-align: left; "
                              "margin: 5px 5px 5px 10px; }");
    case 9:
        return QStringLiteral("QPushButton, QPushButton:pressed { background: #44372f; "
                              "border: 0px; border-radius: 6px; border-image: url(")
            + folder
            + QStringLiteral("/pselbut.png); color: rgb(237,219,178); padding-right:50px; "
                             "font-size: 14px; }")
            + separator
            + QStringLiteral("QPushButton:hover { background: #54443a; border-image: url(") + folder
            + QStringLiteral("/pselbuth.png); }");
    case 10:
        return QStringLiteral("QLabel { background: #44372f; border: none; }");
    case 11:
        return QStringLiteral("background-color: #1e1917; border: 1px solid #5c524c;");
    case 12:
        return QStringLiteral("QWidget { background: #2c2420; border: 1px solid #3e3733; }");
    case 13:
        return QStringLiteral("QPushButton {background-color: #2c2420; border: 1px solid #5c524c; "
                              "color: #eddbb2; image:url(")
            + folder + QStringLiteral("IMAGE_S);}") + separator
            + QStringLiteral("QPushButton:hover { image:url(") + folder
            + QStringLiteral("IMAGE_H);}") + separator
            + QStringLiteral("QPushButton:pressed { image:url(") + folder
            + QStringLiteral("IMAGE_P);}");
    default:
        return QString();
    }
}

} // namespace StyleSheets
