#pragma once

#include "designer/repage.h"

#include <QDialog>
#include <QLabel>
#include <QList>
#include <QVector>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The geometry and colour arithmetic of the colour dialog: which hue,
// saturation and value a pixel of the colour field or the value strip
// stands for, where the markers go, and the pictures it draws.
namespace ColorDialogMath {

constexpr int FieldWidth = 190;
constexpr int FieldHeight = 187;
constexpr double HuePerPixel = 360.0 / FieldWidth;
constexpr double UnitsPerPixel = 256.0 / FieldHeight;

// The 48 basic colours, column by column (index 6 * column + row).
QVector<QRgb> basicColors();
QString swatchStyleSheet(QRgb color);

int hueAt(int x);
int saturationAt(int y);
// The value strip uses the same scale as the field's saturation.
int valueAt(int y);

QPoint fieldMarkerPos(int hue, int saturation);
int valueMarkerY(int value);

QImage fieldImage();
QImage valueMarker();
QImage fieldMarker();

// Mode of the result record from the image controls.
int backgroundMode(bool addImage, bool oneToOne);
// A loaded picture brought within 8 x 8 to 1024 x 1024 pixels, keeping its
// aspect ratio.
QImage limitImage(const QImage &image);

} // namespace ColorDialogMath

// A label that reports presses (and drags while pressed) by position and
// by its colour; the colour field, the value strip and every swatch.
class CModLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CModLabel(QWidget *parent);

    QRgb colorValue = 0;
    bool pressed = false;

Q_SIGNALS:
    void signalClick(QPoint pos);
    void signalClick(QColor &color);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The designer's colour picker; in its background form it also picks the
// page picture and how it is laid on the page. The outcome is m_Result,
// whose mode stays 255 unless the dialog is left with "OK".
class CColorDialog : public QDialog
{
    Q_OBJECT

public:
    CColorDialog(bool colourOnly, QWidget *parent);
    ~CColorDialog() override;

    background m_Result;
    QString m_StartFolder;
    bool m_ColourOnly = false;
    QList<CModLabel *> m_BasicColors;
    CModLabel *m_Spector = nullptr;
    CModLabel *m_SpectorLine = nullptr;
    QLabel *m_ColorPreview = nullptr;
    QImage *m_SpectorImage = nullptr;
    QImage *m_ValueMarker = nullptr;
    QImage *m_FieldMarker = nullptr;
    QLabel *m_HueLabel = nullptr;
    QLabel *m_SatLabel = nullptr;
    QLabel *m_ValLabel = nullptr;
    QLabel *m_RedLabel = nullptr;
    QLabel *m_GreenLabel = nullptr;
    QLabel *m_BlueLabel = nullptr;
    QLabel *m_BasicLabel = nullptr;
    QSpinBox *m_HueSpin = nullptr;
    QSpinBox *m_SatSpin = nullptr;
    QSpinBox *m_ValSpin = nullptr;
    QSpinBox *m_RedSpin = nullptr;
    QSpinBox *m_GreenSpin = nullptr;
    QSpinBox *m_BlueSpin = nullptr;
    QLabel *m_ImagePreview = nullptr;
    QLabel *m_PreviewCaption = nullptr;
    QCheckBox *m_AddImage = nullptr;
    QPushButton *m_OpenImage = nullptr;
    QRadioButton *m_OneToOne = nullptr;
    QRadioButton *m_FitSize = nullptr;
    int m_Hue = 179;
    int m_Sat = 127;
    int m_Val = 127;
    double m_HueScale = ColorDialogMath::HuePerPixel;
    double m_UnitScale = ColorDialogMath::UnitsPerPixel;
    QPushButton *m_OkButton = nullptr;
    QPushButton *m_CancelButton = nullptr;

    // Tests replace the file dialog of "Open Image": the function returns
    // the chosen file name or an empty string. nullptr restores the dialog.
    using OpenFileHandler = QString (*)(QWidget *parent, const QString &startFolder);
    static OpenFileHandler setOpenFileHandler(OpenFileHandler handler);

    void draw();
    void connectAll();
    void disconnectAll();

public Q_SLOTS:
    void slotSetColor(const QColor &color);
    void slotSetGround(background &ground);
    void slotUpdate();
    void slotOk();
    void slotCancel();
    void reject() override;

    void slotClickSpector(QPoint pos);
    void slotClickSpectorLine(QPoint pos);
    void slotSelBasicColor(QColor &color);
    void slotStRGB();
    void slotStHSV();
    void slotAddImage(bool isChecked);
    void slotLoadImage();
    void slotSetImage();
    void slotSetHue(int val);
    void slotSetSat(int val);
    void slotSetVal(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setImageControlsEnabled(bool enabled);
    QColor currentColor() const;
};
