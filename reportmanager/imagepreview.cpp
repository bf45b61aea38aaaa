#include "reportmanager/imagepreview.h"

#include "layouts/boundedread.h"
#include "layouts/reportsetting.h"
#include "reportmanager/layoutdialogs.h"
#include "style/appstyle.h"
#include "style/infodlg.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

const QSize previewSize(126, 126);

} // namespace

CImagePreview::CImagePreview(CAppStyle *style, QImage *image, int kind, QWidget *parent)
    : QDialog(parent)
    , style(style)
    , targetImage(image)
    , workImage(*image)
    , sectionKind(kind)
{
    const auto makeButton = [this](const QString &text, void (CImagePreview::*slot)()) {
        auto *button = new QPushButton(text, this);
        button->resize(80, 20);
        connect(button, &QPushButton::clicked, this, slot);
        if (this->style)
            this->style->setWidgetStyle(button, WTButton);
        return button;
    };
    okButton = makeButton(QStringLiteral("Ok"), &CImagePreview::OnOk);
    cancelButton = makeButton(QStringLiteral("Cancel"), &CImagePreview::OnCancel);
    defaultButton = makeButton(QStringLiteral("Default"), &CImagePreview::OnDefImage);
    openButton = makeButton(QStringLiteral("Open"), &CImagePreview::OnImage);
    previewLabel = new QLabel(QStringLiteral("Default"), this);
    previewLabel->resize(previewSize);
    previewLabel->setAlignment(Qt::AlignCenter);
    previewLabel->setStyleSheet(QStringLiteral("border: 1px solid white; font-size: 12px;"));
    if (style)
        style->setWidgetStyle(this, WTWindow);
    setWindowFlags(Qt::Tool);
    setFixedSize(400, 320);
    updateImage();
}

CImagePreview::~CImagePreview() = default;

QImage CImagePreview::fittedImage(const QImage &image, int kind)
{
    if (image.isNull())
        return image;
    using namespace LayoutLimits;
    if (kind != RKCelebrities)
        return image.scaled(QSize(SmallPictureSide, SmallPictureSide), Qt::KeepAspectRatio,
                            Qt::SmoothTransformation);
    if (image.width() > LargePictureSide || image.height() > LargePictureSide)
        return image.scaled(QSize(LargePictureSide, LargePictureSide), Qt::KeepAspectRatio,
                            Qt::SmoothTransformation);
    return image;
}

void CImagePreview::updateImage()
{
    if (workImage.isNull()) {
        previewLabel->setPixmap(QPixmap());
        previewLabel->setText(QStringLiteral("Default"));
        return;
    }
    previewLabel->setPixmap(QPixmap::fromImage(
        workImage.scaled(previewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void CImagePreview::OnOk()
{
    *targetImage = workImage;
    close();
}

void CImagePreview::OnCancel()
{
    close();
}

void CImagePreview::OnImage()
{
    const QString file = LayoutDialogs::getOpenFileName(
        this, QStringLiteral("Open File"),
        QStringLiteral("Image Files (*.png *.jpg *.jpeg *.tiff *.tif *.bmp)"));
    if (file.isEmpty())
        return;
    const QImage fitted = fittedImage(BoundedRead::readPictureFile(file), sectionKind);
    if (LayoutLimits::picturePixels(fitted) > pixelsLeft) {
        CInfoDlgWin::showInfoMessageBox(style, QStringLiteral("Error"),
                                        LayoutLimits::pictureRefusal(), this);
        return;
    }
    workImage = fitted;
    updateImage();
}

void CImagePreview::OnDefImage()
{
    workImage = QImage();
    updateImage();
}

void CImagePreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    previewLabel->move((w - previewLabel->width()) / 2, (h - previewLabel->height()) / 2 - 30);
    cancelButton->move(w / 2 - 140, h - 30);
    okButton->move(w / 2 - 40, h - 30);
    defaultButton->move(w / 2 + 60, h - 30);
    openButton->move(okButton->x(), previewLabel->geometry().bottom() + 1 + 20);
}
