#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

class CAppStyle;

// The picture area of the Graphic Chart page: paints one image fitted into
// the widget and centred, smoothly scaled. Without an image it shows the
// message, when there is one (a chart layout that cannot be read), else
// nothing.
class CPainterBoard : public QWidget
{
    Q_OBJECT

public:
    explicit CPainterBoard(QWidget *parent = nullptr);

    QImage m_Image;
    QString m_Message;
    // The message takes the text colour of this style's active scheme.
    CAppStyle *m_Style = nullptr;

    // The colour of the message: the scheme's text colour, or the palette's
    // without a style.
    QColor messageColor() const;

    // Where an image of the given size is drawn in a widget of the given
    // size: fitted keeping its aspect, centred, one pixel larger on every side.
    static QRect targetRect(const QSize &image, const QSize &widget);

protected:
    void paintEvent(QPaintEvent *event) override;
};
