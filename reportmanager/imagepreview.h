#pragma once

#include "layouts/layoutlimits.h"

#include <QDialog>
#include <QImage>

class CAppStyle;
class QLabel;
class QPushButton;

// Chooses the picture of one image slot of a section: a file's picture or
// none (the report's standard picture). Writes the slot only on "Ok".
class CImagePreview : public QDialog
{
    Q_OBJECT

public:
    CImagePreview(CAppStyle *style, QImage *image, int kind, QWidget *parent);
    ~CImagePreview() override;

    // A loaded picture as a section keeps it: Celebrities pictures only
    // shrink to fit 460 x 460, all others are fitted into 126 x 126.
    static QImage fittedImage(const QImage &image, int kind);

    void updateImage();

    CAppStyle *style = nullptr;
    QImage *targetImage = nullptr;
    QImage workImage;
    int sectionKind = 0;
    // The pixels a new picture may take; a larger one is refused when opened.
    qint64 pixelsLeft = LayoutLimits::MaxPicturePixels;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QPushButton *defaultButton = nullptr;
    QPushButton *openButton = nullptr;
    QLabel *previewLabel = nullptr;

public Q_SLOTS:
    void OnOk();
    void OnCancel();
    void OnImage();
    void OnDefImage();

protected:
    void resizeEvent(QResizeEvent *event) override;
};
