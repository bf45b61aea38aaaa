#pragma once

#include <QDialog>

class QImage;
class QPushButton;

// The About box: the logo, the version and the product title, with a button
// that leads to the product page. exec() returns Accepted only through
// "Visit Lumaro"; the caller then opens MakerInfo::productPage.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    // Neither image is owned; logo is painted, second is kept only.
    CAboutDlg(QImage *logo, QImage *second, QWidget *parent = nullptr);

    QImage *logoImage = nullptr;
    QImage *secondImage = nullptr;
    QPushButton *visitButton = nullptr;
    QPushButton *closeButton = nullptr;

public Q_SLOTS:
    void OnOk();
    void OnVisit();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
