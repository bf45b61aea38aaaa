#pragma once

#include <QColor>
#include <QImage>

#include <array>

class CAppStyle;

// The designer's drawing style: the outline colour of unframed items and the
// handle and placeholder pictures, tinted to the current colour scheme.
class CStyle
{
public:
    // Indexes of images, in the order the style engine keeps them.
    enum Image {
        ScaleHandle = 0,
        RotateHandle,
        MoveHandle,
        ScaleItem,
        ScaleResItem,
        DataField,
        DataFieldTitle,
        RepImage,
        ImageCount
    };

    // Copies the designer pictures of appStyle; without one the pictures stay
    // null and draw nothing.
    explicit CStyle(const CAppStyle *appStyle = nullptr);

    QColor outlineColor = QColor(180, 180, 180, 255);
    std::array<QImage, ImageCount> images;
};

// The flags of one draw pass: editor (both pass flags off), page thumbnail or
// output with real data.
class CDrawMode
{
public:
    bool thumbnailMode = false;
    bool outputMode = false;
    bool showBoundaries = true;
    // Page units between grid lines; no grid unless both are above 1.
    double gridStepX = 0;
    double gridStepY = 0;
};

// Rounds half up to digits decimals (a negative count rounds to tens, ...).
double cround(double x, int digits);

// The scale that fits a w x h rectangle into a boxW x boxH box keeping its
// aspect, with the truncated half of the space left over in each direction.
// An empty rectangle gets the scale 0 and the offsets 0.
double calcFitScale(int w, int h, int boxW, int boxH, int &offX, int &offY);
