#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <array>

class QWidget;

// Picks the style sheet a widget gets from the active colour scheme. Values
// missing from the list (13, 15, 17 to 20, 22, above 25, negative) fall back
// to the default sheet 0.
enum WidgetType {
    WTWindow = 0,
    WTButton = 1,
    WTPageButton = 2,
    WTNone = 3,
    WTEditorView = 4,
    WTPersonButton = 5,
    WTBandLabel = 6,
    WTFramedPanel = 7,
    WTPanel = 8,
    WTTransparent = 9,
    WTLineEdit = 10,
    WTCheckBox = 11,
    WTImageButton = 12,
    WTInput = 14,
    WTListPanel = 16,
    WTPropertiesPanel = 21,
    WTOkButton = 23,
    WTCancelButton = 24,
    WTTree = 25
};

// One colour scheme: fourteen style sheets and the tint they were made with.
struct StyleScheme
{
    static constexpr int SheetCount = 14;

    std::array<QString, SheetCount> sheets;
    // Every colour of the scheme takes this colour's hue and saturation.
    QColor tint = QColor(255, 255, 255, 255);
    // Brightness scale in percent; 0 leaves the brightness as it is.
    int percent = 0;
    // True for the hand-written scheme whose colours are used as written.
    bool untinted = false;
};

// The one object that gives the whole interface its look: the colour
// schemes, the sheets of the active one, and the skin pictures that painted
// widgets use. Created once by the main window and handed to every window.
class CAppStyle
{
public:
    // Sheets of the active scheme that no WidgetType reaches; callers read
    // currentSheets directly for them.
    enum SheetIndex {
        SheetDarkButton = 4,
        SheetDarkButton2 = 5,
        SheetProgressBar = 7,
        SheetImageButton = 13
    };

    // Indexes of designerImages.
    enum DesignerImage {
        DesignerScaleHandle = 0,
        DesignerRotateHandle,
        DesignerMoveHandle,
        DesignerScaleItem,
        DesignerScaleResItem,
        DesignerDataField,
        DesignerDataFieldTitle,
        DesignerRepImage
    };

    // Indexes of repageImages.
    enum RepageImage {
        RepageLeft = 0,
        RepageRight,
        RepageTop,
        RepageBottom,
        RepageLeftTop,
        RepageRightTop,
        RepageLeftBottom,
        RepageRightBottom
    };

    // imagesFolder ends with a path separator; file names are appended to it.
    explicit CAppStyle(const QString &imagesFolder);
    CAppStyle(const CAppStyle &) = delete;
    CAppStyle &operator=(const CAppStyle &) = delete;
    ~CAppStyle();

    // The sheet with every "#rrggbb" colour moved to the tint's hue and
    // saturation at the colour's own grey level.
    static QString genStyle(const QString &sheet, const QColor &tint, int percent);

    // Makes scheme index the active one (an index out of range selects 0).
    void setGlobalStyle(int index);
    void setWidgetStyle(QWidget *widget, WidgetType type);

    // Colour, sheet and picture re-tinted to the active scheme.
    QColor updateColor(const QColor &color) const;
    QString updateColor(const QString &sheet) const;
    QImage updateImage(const QImage &image) const;

    static QImage drawRectToImage(QImage image, int x, int y, int w, int h, int penWidth,
                                  const QColor &color);

    // The index into currentSheets that a widget type selects, -1 for WTNone.
    static int sheetIndexForType(int type);

    std::array<QImage, 8> repageImages;
    std::array<QColor, 5> repageColors;
    std::array<QImage, 8> designerImages;
    QString imagesFolder;
    std::array<QString, StyleScheme::SheetCount> currentSheets;
    QList<StyleScheme *> schemes;
    QIcon iconBold;
    QIcon iconItalic;
    QIcon iconUnderline;
    QPixmap lmItemPixmap;
    QImage expandImage;
    int currentScheme = 0;
    QStringList schemeNames;
    // The psycho-matrix background "psq.png", as loaded and re-tinted to the
    // active scheme (refreshed by setGlobalStyle).
    QImage psqSourceImage;
    QImage psqImage;

private:
    void buildBaseScheme();
    void addDerivedScheme(const QString &name, const QColor &tint);
    QImage loadImage(const char *fileName) const;
    QIcon loadIcon(const char *fileName) const;
};
