#pragma once

#include <QPainterPath>
#include <QString>

// Pictograms of the skin, each a filled outline on a 24 x 24 design grid; the
// painter scales them to the picture that shows them.
namespace Glyphs {

enum Glyph {
    Numerology,
    Matrix,
    Love,
    Star,
    Paw,
    Book,
    Chart,
    Advisor,
    Forecast,
    Menu,
    Reset,
    Info,
    Export,
    Print,
    Floppy,
    Folder,
    NewDocument,
    Layouts,
    Person,
    Bold,
    Italic,
    Underline,
    ZoomNormal,
    ZoomIn,
    ZoomOut,
    Grid,
    Snap,
    Bounds,
    Properties,
    Trash,
    BringFront,
    SendBack,
    Move,
    ScaleDiagonal,
    Rotate,
    ScaleContent,
    ScaleContentReset,
    DataField,
    Variable,
    Objects,
    Check,
    ArrowDown,
    BranchClosed,
    BranchOpen,
    Heart,
};

QPainterPath path(Glyph glyph);

// Outline of a stroked line, for composing glyphs out of strokes and fills.
QPainterPath stroked(const QPainterPath &line, qreal width, Qt::PenCapStyle cap = Qt::RoundCap);

// Outline of a text in the given family, centred on a point of the design grid.
QPainterPath textPath(const QString &text, const QString &family, qreal pixelSize, bool bold,
                      bool italic, QPointF centre);

} // namespace Glyphs
