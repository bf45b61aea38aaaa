#include "layouts/reportsetting.h"
#include "reportmanager/imagepreview.h"
#include "reportmanager/layoutdialogs.h"
#include "testenvironment.h"
#include "tests/support/orientedphoto.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString pickedFile;
QString pick(QWidget *, const QString &, const QString &)
{
    return pickedFile;
}

} // namespace

// The picture a section keeps, picked with the preview's Open button.
class TestImagePreview : public QObject
{
    Q_OBJECT

private slots:
    void portraitPhotoStaysUpright_data();
    void portraitPhotoStaysUpright();
};

void TestImagePreview::portraitPhotoStaysUpright_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("kept");

    // Other sections fit their picture into a small square, celebrities
    // keep one this size as it is.
    QTest::newRow("numerology section") << int(RKNumerology) << QSize(94, 126);
    QTest::newRow("celebrities section") << int(RKCelebrities) << QSize(94, 126);
}

void TestImagePreview::portraitPhotoStaysUpright()
{
    QFETCH(int, kind);
    QFETCH(QSize, kept);

    QTemporaryDir dir;
    pickedFile = dir.filePath(QStringLiteral("phone.jpg"));
    QFile file(pickedFile);
    const QByteArray jpeg = OrientedPhoto::jpeg(6);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    file.close();
    const auto before = LayoutDialogs::setOpenFileHandler(pick);

    QImage section;
    CImagePreview preview(nullptr, &section, kind, nullptr);
    preview.openButton->click();
    preview.okButton->click();
    LayoutDialogs::setOpenFileHandler(before);

    QCOMPARE(section.size(), kept);
    QVERIFY(OrientedPhoto::upright(section));
}

QTEST_MAIN(TestImagePreview)
#include "tst_imagepreview.moc"
