#pragma once

#include "layouts/sectiontext.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QTextTable>

// How a stored section text looks in the editor: its blocks with their layout
// and every run of text with its character format, one line each, so that
// two texts that look the same give the same lines.
inline QStringList textLook(const QString &stored)
{
    QTextDocument document;
    document.setHtml(customTextForEditor(stored));
    QStringList look;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        QTextCursor cursor(block);
        const QTextTable *table = cursor.currentTable();
        const QTextList *list = block.textList();
        look << QStringLiteral("block align %1 margins %2 %3 %4 %5 indent %6 %7 heading %8 list "
                               "%9 cell %10")
                    .arg(int(format.alignment()))
                    .arg(format.topMargin())
                    .arg(format.bottomMargin())
                    .arg(format.leftMargin())
                    .arg(format.rightMargin())
                    .arg(format.indent())
                    .arg(format.textIndent())
                    .arg(format.headingLevel())
                    .arg(list ? int(list->format().style()) : 0)
                    .arg(table ? QStringLiteral("%1,%2")
                                     .arg(table->cellAt(cursor).row())
                                     .arg(table->cellAt(cursor).column())
                               : QStringLiteral("-"));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat character = fragment.charFormat();
            look << QStringLiteral("  %1 | %2 %3 %4 %5 %6 %7 %8 %9")
                        .arg(fragment.text(), character.fontFamily())
                        .arg(character.fontPointSize())
                        .arg(character.fontWeight())
                        .arg(character.fontItalic())
                        .arg(character.fontUnderline())
                        .arg(character.foreground().color().name(QColor::HexArgb))
                        .arg(character.background().color().name(QColor::HexArgb))
                        .arg(character.anchorHref() + QLatin1Char(' ')
                             + QString::number(int(character.verticalAlignment()))
                             + QLatin1Char(' ')
                             + (character.isImageFormat() ? character.toImageFormat().name()
                                                          : QString()));
        }
    }
    return look;
}
