#include "portraitcards.h"

#include "docart.h"

#include <QLinearGradient>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>

namespace {

// Warm tones the cards cycle through, so that neighbouring entries differ.
const QColor cardTones[] = {
    QColor(0xa6, 0x4b, 0x2a), QColor(0x7e, 0x2f, 0x3f), QColor(0x94, 0x6a, 0x24),
    QColor(0x8c, 0x3b, 0x2e), QColor(0x9a, 0x3e, 0x4e), QColor(0x6e, 0x4a, 0x2c),
};

// Head and shoulders, very faint, so the card reads as a portrait.
QPainterPath bustPath()
{
    QPainterPath bust;
    bust.addEllipse(QPointF(60, 58), 21, 25);
    QPainterPath shoulders;
    shoulders.moveTo(14, 150);
    shoulders.cubicTo(16, 112, 36, 96, 60, 96);
    shoulders.cubicTo(84, 96, 104, 112, 106, 150);
    shoulders.closeSubpath();
    return bust.united(shoulders);
}

} // namespace

QVector<CelebrityCard> parseCelebrityCards(const QString &source)
{
    static const QRegularExpression header(QStringLiteral("^#6([01])1(\\d\\d)"));
    QMap<int, CelebrityCard> bySlot;
    int slot = -1;
    QStringList fields;
    const QStringList lines = source.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('#')) && line.size() >= 6) {
            const QRegularExpressionMatch m = header.match(line);
            slot = m.hasMatch() ? m.captured(1).toInt() * 100 + m.captured(2).toInt() : -1;
            fields.clear();
            continue;
        }
        if (slot < 0 || fields.size() >= 6)
            continue;
        fields << line;
        if (fields.size() == 6) {
            CelebrityCard card;
            card.slot = slot;
            card.name = fields.at(3);
            const QStringList date = fields.at(5).split(QLatin1Char('.'));
            if (date.size() == 3)
                card.birthYear = date.at(2).toInt();
            bySlot.insert(slot, card);
        }
    }
    return bySlot.values().toVector();
}

QString initialsOf(const QString &name)
{
    QString initials;
    const QStringList words = QString(name)
                                  .replace(QLatin1Char('.'), QLatin1Char(' '))
                                  .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        const QChar first = word.at(0);
        if (first.isLetter() && first.isUpper())
            initials += first;
    }
    if (initials.isEmpty() && !words.isEmpty())
        initials = words.first().left(1).toUpper();
    if (initials.size() > 3)
        initials = QString(initials.front()) + initials.back();
    return initials;
}

QString portraitFileName(int slot)
{
    return QStringLiteral("%1.jpg").arg(slot, 3, 10, QLatin1Char('0'));
}

QImage renderPortraitCard(const CelebrityCard &card)
{
    const QColor tone = cardTones[qMax(0, card.slot) % int(sizeof(cardTones) / sizeof(QColor))];
    QImage image = DocArt::cardImage(QSize(kPortraitWidth, kPortraitHeight), tone, 12);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath inner;
        inner.addRoundedRect(QRectF(5, 5, kPortraitWidth - 10, kPortraitHeight - 10), 7, 7);
        p.setClipPath(inner);
        QColor ghost = DocArt::Palette::cream;
        ghost.setAlpha(26);
        p.setPen(Qt::NoPen);
        p.setBrush(ghost);
        p.drawPath(bustPath());
        // A darker foot, so that the year stands out.
        QLinearGradient foot(0, kPortraitHeight * 0.55, 0, kPortraitHeight);
        foot.setColorAt(0.0, QColor(20, 8, 4, 0));
        foot.setColorAt(1.0, QColor(20, 8, 4, 140));
        QPainterPath card;
        card.addRoundedRect(QRectF(0.5, 0.5, kPortraitWidth - 1, kPortraitHeight - 1), 12, 12);
        p.setClipPath(card);
        p.fillRect(QRect(0, 0, kPortraitWidth, kPortraitHeight), foot);
    }

    const QString initials = initialsOf(card.name);
    const qreal size = initials.size() >= 3 ? 30 : 40;
    DocArt::Emblem emblem;
    // The emblem grid is 100 x 100; the card's box below maps it to 120 x 120.
    emblem.body = DocArt::textPath(initials, QPointF(50, 46), size);
    QPainterPath rule;
    rule.moveTo(30, 72);
    rule.lineTo(70, 72);
    emblem.body = emblem.body.united(DocArt::strokeOf(rule, 1.4))
                      .united(DocArt::starPath(QPointF(50, 72), 3.4, 1.4, 4, 0));
    DocArt::drawEmblem(image, emblem, QRectF(0, 10, 120, 120), tone);
    if (card.birthYear > 0) {
        // Its own gradient, so that the small figures stay light.
        DocArt::Emblem year;
        year.body = DocArt::textPath(QString::number(card.birthYear), QPointF(50, 86), 11, false);
        DocArt::drawEmblem(image, year, QRectF(0, 10, 120, 120), tone);
    }
    return image;
}
