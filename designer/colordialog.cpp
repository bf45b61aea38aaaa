#include "colordialog.h"

#include "layouts/boundedread.h"
#include "style/dialogsupport.h"
#include "style/infodlg.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace ColorDialogMath {

QVector<QRgb> basicColors()
{
    // Rows as they appear on screen; the list is column by column.
    static const QRgb rows[6][8] = {
        {0xFF8080, 0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x0080FF, 0xFF80C0, 0xFF80FF},
        {0xFF0000, 0xFFFF00, 0x80FF00, 0x00FF40, 0x00FFFF, 0x0080C0, 0x8080C0, 0xFF00FF},
        {0x804040, 0xFF8040, 0x00FF00, 0x008080, 0x004080, 0x8080FF, 0x800040, 0xFF0080},
        {0x800000, 0xFF8000, 0x008000, 0x008040, 0x0000FF, 0x0000A0, 0x800080, 0x8000FF},
        {0x400000, 0x804000, 0x004000, 0x004040, 0x000080, 0x000040, 0x400040, 0x400080},
        {0x000000, 0x808000, 0x808040, 0x808080, 0x408080, 0xC0C0C0, 0x400040, 0xFFFFFF},
    };
    QVector<QRgb> colors;
    colors.reserve(48);
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 6; ++r)
            colors.append(rows[r][c] | 0xFF000000u);
    }
    return colors;
}

QString swatchStyleSheet(QRgb color)
{
    return QStringLiteral("background-color : rgb(%1, %2, %3); border-width: 1px; border-style: "
                          "solid; border-color: #000000;")
        .arg(qRed(color))
        .arg(qGreen(color))
        .arg(qBlue(color));
}

int hueAt(int x)
{
    return qBound(0, int(x * HuePerPixel), 359);
}

int saturationAt(int y)
{
    return qBound(0, int(255 - y * UnitsPerPixel), 255);
}

int valueAt(int y)
{
    return saturationAt(y);
}

QPoint fieldMarkerPos(int hue, int saturation)
{
    return QPoint(int(hue * FieldWidth / 360.0) - 9,
                  int((255 - saturation) * FieldHeight / 256.0) - 9);
}

int valueMarkerY(int value)
{
    return int((255 - value) * FieldHeight / 256.0) - 10;
}

QImage fieldImage()
{
    QImage image(FieldWidth, FieldHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int h = 0; h < 360; ++h) {
        for (int k = 0; k < 256; ++k) {
            const QColor c = QColor::fromHsv(h, 255 - k, 255 - k / 2);
            image.setPixel(int(h / HuePerPixel), int(k / UnitsPerPixel), c.rgb());
        }
    }
    return image;
}

QImage valueMarker()
{
    QImage image(10, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 20; ++y) {
            if (10 - x < y && y < 10 + x)
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
        }
    }
    return image;
}

QImage fieldMarker()
{
    QImage image(19, 19, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    auto inCentre = [](int i) {
        return i >= 5 && i <= 13;
    };
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 19; ++x) {
            const bool onCross = (y >= 8 && y <= 10) || (x >= 8 && x <= 10);
            if (onCross && !(inCentre(x) && inCentre(y)))
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
        }
    }
    return image;
}

int backgroundMode(bool addImage, bool oneToOne)
{
    if (addImage)
        return oneToOne ? 1 : 2;
    return oneToOne ? 3 : 4;
}

QImage limitImage(const QImage &image)
{
    if (image.isNull())
        return image;
    QSize size = image.size();
    if (size.width() > 1024 || size.height() > 1024)
        size = size.scaled(1024, 1024, Qt::KeepAspectRatio);
    if (size.width() < 8 || size.height() < 8)
        size = size.scaled(8, 8, Qt::KeepAspectRatio);
    // A very thin picture would otherwise collapse to no pixels at all.
    size = size.expandedTo(QSize(1, 1));
    if (size == image.size())
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace ColorDialogMath

using namespace ColorDialogMath;

CModLabel::CModLabel(QWidget *parent)
    : QLabel(parent)
{
}

void CModLabel::mousePressEvent(QMouseEvent *event)
{
    pressed = true;
    emit signalClick(event->localPos().toPoint());
    QColor color(QRgb(colorValue | 0xFF000000u));
    emit signalClick(color);
}

void CModLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (pressed)
        emit signalClick(event->localPos().toPoint());
}

void CModLabel::mouseReleaseEvent(QMouseEvent *)
{
    pressed = false;
}

namespace {

CColorDialog::OpenFileHandler openFileHandler = nullptr;

const char *const borderSheet = "border-width: 1px; border-style: solid; border-color: #000000;";

QLabel *rightLabel(const QString &text, int x, int y, QWidget *parent)
{
    auto label = new QLabel(text, parent);
    label->setGeometry(x, y, 50, 25);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QSpinBox *spinBox(int x, int y, int maximum, QWidget *parent)
{
    auto spin = new QSpinBox(parent);
    spin->setGeometry(x, y, 57, 25);
    spin->setRange(0, maximum);
    return spin;
}

} // namespace

CColorDialog::CColorDialog(bool colourOnly, QWidget *parent)
    : QDialog(parent)
    , m_ColourOnly(colourOnly)
{
    m_Result.color = QColor();
    m_Result.image = QImage();
    m_Result.mode = 255;

    setWindowFlags(Qt::Tool);
    resize(465, 325);
    setMinimumSize(465, 325);
    setMaximumSize(465, 325);
    setWindowTitle(colourOnly ? QStringLiteral("Select Color") : QStringLiteral("Background"));
    if (!qsGlobalDlgStyle.isEmpty())
        setStyleSheet(qsGlobalDlgStyle);

    m_BasicLabel = new QLabel(QStringLiteral("Basic colors"), this);
    m_BasicLabel->setGeometry(10, 2, 160, 20);
    const QVector<QRgb> colors = basicColors();
    for (int i = 0; i < colors.size(); ++i) {
        const int column = i / 6;
        const int row = i % 6;
        auto swatch = new CModLabel(this);
        swatch->setGeometry(9 + 26 * column, 25 + 22 * row, 19, 16);
        swatch->colorValue = colors.at(i);
        swatch->setStyleSheet(swatchStyleSheet(colors.at(i)));
        connect(swatch, qOverload<QColor &>(&CModLabel::signalClick), this,
                &CColorDialog::slotSelBasicColor);
        m_BasicColors.append(swatch);
    }

    m_Spector = new CModLabel(this);
    m_Spector->setGeometry(229, 8, FieldWidth, FieldHeight);
    m_SpectorLine = new CModLabel(this);
    m_SpectorLine->setGeometry(435, 8, 22, FieldHeight);
    m_ColorPreview = new QLabel(this);
    m_ColorPreview->setGeometry(229, 202, 28, 83);
    m_ColorPreview->setStyleSheet(QString::fromLatin1(borderSheet));

    m_HueLabel = rightLabel(QStringLiteral("Hue:"), 240, 207, this);
    m_SatLabel = rightLabel(QStringLiteral("Sat:"), 240, 237, this);
    m_ValLabel = rightLabel(QStringLiteral("Val:"), 240, 269, this);
    m_RedLabel = rightLabel(QStringLiteral("Red:"), 347, 207, this);
    m_GreenLabel = rightLabel(QStringLiteral("Green:"), 347, 237, this);
    m_BlueLabel = rightLabel(QStringLiteral("Blue:"), 347, 269, this);
    m_HueSpin = spinBox(295, 202, 359, this);
    m_SatSpin = spinBox(295, 232, 255, this);
    m_ValSpin = spinBox(295, 262, 255, this);
    m_RedSpin = spinBox(402, 202, 255, this);
    m_GreenSpin = spinBox(402, 232, 255, this);
    m_BlueSpin = spinBox(402, 262, 255, this);

    m_OkButton = new QPushButton(QStringLiteral("OK"), this);
    m_OkButton->setGeometry(290, 295, 74, 21);
    connect(m_OkButton, &QPushButton::clicked, this, &CColorDialog::slotOk);
    m_CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_CancelButton->setGeometry(374, 295, 74, 21);
    connect(m_CancelButton, &QPushButton::clicked, this, &CColorDialog::slotCancel);

    m_SpectorImage = new QImage(fieldImage());
    m_ValueMarker = new QImage(valueMarker());
    m_FieldMarker = new QImage(fieldMarker());

    m_PreviewCaption = new QLabel(QStringLiteral("Preview"), this);
    m_PreviewCaption->setGeometry(10, 160, 100, 110);
    m_PreviewCaption->setAlignment(Qt::AlignCenter);
    m_ImagePreview = new QLabel(this);
    m_ImagePreview->setGeometry(10, 160, 100, 110);
    m_ImagePreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ImagePreview->setStyleSheet(QString::fromLatin1(borderSheet));
    m_AddImage = new QCheckBox(QStringLiteral("Add Image"), this);
    m_AddImage->setGeometry(120, 170, 110, 20);
    connect(m_AddImage, &QCheckBox::clicked, this, &CColorDialog::slotAddImage);
    m_OpenImage = new QPushButton(QStringLiteral("Open Image"), this);
    m_OpenImage->setGeometry(120, 195, 100, 21);
    connect(m_OpenImage, &QPushButton::clicked, this, &CColorDialog::slotLoadImage);
    m_OneToOne = new QRadioButton(QStringLiteral("1:1"), this);
    m_OneToOne->setGeometry(120, 223, 110, 20);
    connect(m_OneToOne, &QRadioButton::clicked, this, &CColorDialog::slotSetImage);
    m_FitSize = new QRadioButton(QStringLiteral("Fit Size"), this);
    m_FitSize->setGeometry(120, 248, 110, 20);
    connect(m_FitSize, &QRadioButton::clicked, this, &CColorDialog::slotSetImage);
    m_FitSize->setChecked(true);
    if (colourOnly) {
        for (QWidget *w : std::initializer_list<QWidget *> {
                 m_PreviewCaption, m_ImagePreview, m_AddImage, m_OpenImage, m_OneToOne, m_FitSize})
            w->hide();
    }
    setImageControlsEnabled(false);

    slotUpdate();
}

CColorDialog::~CColorDialog()
{
    delete m_SpectorImage;
    delete m_ValueMarker;
    delete m_FieldMarker;
}

CColorDialog::OpenFileHandler CColorDialog::setOpenFileHandler(OpenFileHandler handler)
{
    const OpenFileHandler previous = openFileHandler;
    openFileHandler = handler;
    return previous;
}

void CColorDialog::setImageControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *> {m_PreviewCaption, m_ImagePreview,
                                                        m_OpenImage, m_OneToOne, m_FitSize})
        w->setEnabled(enabled);
}

QColor CColorDialog::currentColor() const
{
    return QColor::fromHsv(m_Hue, m_Sat, m_Val);
}

void CColorDialog::paintEvent(QPaintEvent *) { }

void CColorDialog::connectAll()
{
    connect(m_Spector, qOverload<QPoint>(&CModLabel::signalClick), this,
            &CColorDialog::slotClickSpector, Qt::UniqueConnection);
    connect(m_SpectorLine, qOverload<QPoint>(&CModLabel::signalClick), this,
            &CColorDialog::slotClickSpectorLine, Qt::UniqueConnection);
    for (QSpinBox *spin : {m_HueSpin, m_SatSpin, m_ValSpin})
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, &CColorDialog::slotStHSV,
                Qt::UniqueConnection);
    for (QSpinBox *spin : {m_RedSpin, m_GreenSpin, m_BlueSpin})
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, &CColorDialog::slotStRGB,
                Qt::UniqueConnection);
}

void CColorDialog::disconnectAll()
{
    disconnect(m_Spector, qOverload<QPoint>(&CModLabel::signalClick), this,
               &CColorDialog::slotClickSpector);
    disconnect(m_SpectorLine, qOverload<QPoint>(&CModLabel::signalClick), this,
               &CColorDialog::slotClickSpectorLine);
    for (QSpinBox *spin : {m_HueSpin, m_SatSpin, m_ValSpin})
        disconnect(spin, qOverload<int>(&QSpinBox::valueChanged), this, &CColorDialog::slotStHSV);
    for (QSpinBox *spin : {m_RedSpin, m_GreenSpin, m_BlueSpin})
        disconnect(spin, qOverload<int>(&QSpinBox::valueChanged), this, &CColorDialog::slotStRGB);
}

void CColorDialog::draw()
{
    QImage field(m_Spector->size(), QImage::Format_RGB32);
    {
        QPainter painter(&field);
        painter.drawImage(0, 0, *m_SpectorImage);
        painter.drawImage(fieldMarkerPos(m_Hue, m_Sat), *m_FieldMarker);
    }
    m_Spector->setPixmap(QPixmap::fromImage(field));

    QImage strip(m_SpectorLine->size(), QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    {
        QPainter painter(&strip);
        for (int i = 0; i < 256; ++i) {
            const int y = int(i * FieldHeight / 256.0);
            painter.setPen(QColor::fromHsv(m_Hue, m_Sat, 255 - i));
            painter.drawLine(0, y, 10, y);
        }
        painter.drawImage(12, valueMarkerY(m_Val), *m_ValueMarker);
    }
    m_SpectorLine->setPixmap(QPixmap::fromImage(strip));

    QImage swatch(m_ColorPreview->size(), QImage::Format_RGB32);
    swatch.fill(currentColor());
    m_ColorPreview->setPixmap(QPixmap::fromImage(swatch));
}

void CColorDialog::slotSetColor(const QColor &color)
{
    // An unset colour keeps the dialog's own start colour.
    if (color.isValid())
        color.getHsv(&m_Hue, &m_Sat, &m_Val);
    draw();
}

void CColorDialog::slotUpdate()
{
    disconnectAll();
    const QColor color = currentColor();
    m_HueSpin->setValue(m_Hue);
    m_SatSpin->setValue(m_Sat);
    m_ValSpin->setValue(m_Val);
    m_RedSpin->setValue(color.red());
    m_GreenSpin->setValue(color.green());
    m_BlueSpin->setValue(color.blue());
    connectAll();
    draw();
}

void CColorDialog::slotClickSpector(QPoint pos)
{
    m_Hue = hueAt(pos.x());
    slotUpdate();
    m_Sat = saturationAt(pos.y());
    slotUpdate();
}

void CColorDialog::slotClickSpectorLine(QPoint pos)
{
    m_Val = valueAt(pos.y());
    slotUpdate();
}

void CColorDialog::slotSelBasicColor(QColor &color)
{
    color.getHsv(&m_Hue, &m_Sat, &m_Val);
    slotUpdate();
}

void CColorDialog::slotStHSV()
{
    // The fields are taken as they are: a grey keeps the hue typed for it.
    m_Hue = m_HueSpin->value();
    m_Sat = m_SatSpin->value();
    m_Val = m_ValSpin->value();
    draw();
    disconnectAll();
    const QColor color = currentColor();
    m_RedSpin->setValue(color.red());
    m_GreenSpin->setValue(color.green());
    m_BlueSpin->setValue(color.blue());
    connectAll();
    draw();
}

void CColorDialog::slotStRGB()
{
    QColor(m_RedSpin->value(), m_GreenSpin->value(), m_BlueSpin->value())
        .getHsv(&m_Hue, &m_Sat, &m_Val);
    draw();
    disconnectAll();
    m_HueSpin->setValue(m_Hue);
    m_SatSpin->setValue(m_Sat);
    m_ValSpin->setValue(m_Val);
    connectAll();
    draw();
}

void CColorDialog::slotSetHue(int val)
{
    m_Hue = qBound(0, val, 359);
    slotUpdate();
}

void CColorDialog::slotSetSat(int val)
{
    m_Sat = qBound(0, val, 255);
    slotUpdate();
}

void CColorDialog::slotSetVal(int value)
{
    m_Val = qBound(0, value, 255);
    slotUpdate();
}

void CColorDialog::slotAddImage(bool isChecked)
{
    setImageControlsEnabled(isChecked);
}

void CColorDialog::slotLoadImage()
{
    const QString fileName = openFileHandler
        ? openFileHandler(this, m_StartFolder)
        : QFileDialog::getOpenFileName(
            this, QStringLiteral("Open File"), m_StartFolder,
            QStringLiteral("Image Files (*.png *.jpg *.jpeg *.tiff *.tif *.bmp)"));
    if (fileName.isEmpty())
        return;
    const QImage loaded = BoundedRead::readPictureFile(fileName);
    // A file that is no picture does not throw away the one already chosen.
    if (loaded.isNull())
        return;
    m_Result.image = limitImage(loaded);
    slotSetImage();
}

void CColorDialog::slotSetImage()
{
    if (m_Result.image.isNull())
        return;
    if (m_OneToOne->isChecked()) {
        m_ImagePreview->setPixmap(QPixmap::fromImage(m_Result.image.toImage()));
    } else if (m_FitSize->isChecked()) {
        m_ImagePreview->setPixmap(QPixmap::fromImage(m_Result.image.toImage().scaled(
            m_ImagePreview->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
}

void CColorDialog::slotSetGround(background &ground)
{
    m_Result.color = ground.color;
    m_Result.image = ground.image;
    m_Result.mode = ground.mode;
    if (ground.color.isValid())
        ground.color.getHsv(&m_Hue, &m_Sat, &m_Val);
    draw();
    if (!ground.image.isNull()) {
        if (ground.mode == 1 || ground.mode == 2) {
            m_AddImage->setChecked(true);
            setImageControlsEnabled(true);
        }
        if (ground.mode == 1 || ground.mode == 3)
            m_OneToOne->setChecked(true);
        else if (ground.mode == 2 || ground.mode == 4)
            m_FitSize->setChecked(true);
        slotSetImage();
    }
    slotUpdate();
}

void CColorDialog::slotOk()
{
    // Callers store and compare the colour as RGB.
    m_Result.color = currentColor().toRgb();
    m_Result.color.setAlpha(255);
    if (m_AddImage->isChecked() && m_Result.image.isNull()) {
        CInfoDlgWin::showInfoMessageBox(nullptr, QStringLiteral("Warning"),
                                        QStringLiteral("Image no selected"), this);
        return;
    }
    m_Result.mode = quint8(backgroundMode(m_AddImage->isChecked(), m_OneToOne->isChecked()));
    accept();
}

void CColorDialog::slotCancel()
{
    reject();
}

void CColorDialog::reject()
{
    // Whatever way the dialog is left without "OK", callers see "nothing
    // chosen" and keep their own values.
    m_Result.mode = 255;
    QDialog::reject();
}
