#include "settingsdlg.h"

#include "dialogsupport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

namespace Ui {

void CSettingsDlg::setupUi(QDialog *dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("CSettingsDlg"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->resize(400, 310);
    dialog->setMinimumSize(QSize(400, 370));
    dialog->setMaximumSize(QSize(400, 370));

    const auto checkBox = [dialog](const char *name, const QRect &geometry) {
        auto box = new QCheckBox(dialog);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(geometry);
        return box;
    };
    const auto label = [dialog](const char *name, const QRect &geometry) {
        auto l = new QLabel(dialog);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(geometry);
        return l;
    };

    buttonBox = new QDialogButtonBox(dialog);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->setGeometry(QRect(50, 330, 341, 32));
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
    defaultSettingsBut = new QPushButton(dialog);
    defaultSettingsBut->setObjectName(QStringLiteral("defaultSettingsBut"));
    defaultSettingsBut->setGeometry(QRect(10, 330, 191, 32));
    checkBoxLP1 = checkBox("checkBoxLP1", QRect(30, 40, 241, 20));
    this->label = label("label", QRect(20, 20, 241, 16));
    checkBoxLP2 = checkBox("checkBoxLP2", QRect(30, 60, 241, 20));
    checkBoxLP3 = checkBox("checkBoxLP3", QRect(30, 80, 241, 20));
    label_2 = label("label_2", QRect(20, 120, 241, 16));
    checkBoxNameWD = checkBox("checkBoxNameWD", QRect(30, 140, 301, 20));
    checkBoxNameDD = checkBox("checkBoxNameDD", QRect(30, 160, 301, 20));
    label_3 = label("label_3", QRect(20, 200, 241, 16));
    checkBoxNameWD2 = checkBox("checkBoxNameWD", QRect(30, 220, 301, 20));
    checkBoxNameEMM = checkBox("checkBoxNameEMM", QRect(30, 240, 301, 20));
    label_4 = label("label_4", QRect(20, 280, 241, 16));
    checkBoxDateFormat = checkBox("checkBoxDateFormat", QRect(30, 300, 301, 20));

    retranslateUi(dialog);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QMetaObject::connectSlotsByName(dialog);
}

void CSettingsDlg::retranslateUi(QDialog *dialog)
{
    dialog->setWindowTitle(QStringLiteral("Dialog"));
    defaultSettingsBut->setText(QStringLiteral("Restore Default Settings"));
    checkBoxLP1->setText(QStringLiteral("= DIG(DIG(Y) + DIG(M) + DIG(D))"));
    label->setText(QStringLiteral("Life Path Master Number Calculation:"));
    checkBoxLP2->setText(QStringLiteral("= DIG(Y +M + D)"));
    checkBoxLP3->setText(QStringLiteral("= Sum of all digits"));
    label_2->setText(QStringLiteral("Name calculation:"));
    checkBoxNameWD->setText(QStringLiteral("Down to digit every word"));
    checkBoxNameDD->setText(QStringLiteral("Reduce Master Numbers to Digit"));
    label_3->setText(QStringLiteral("Additional:"));
    checkBoxNameWD2->setText(QStringLiteral("Don't generate missed transits"));
    checkBoxNameEMM->setText(QStringLiteral("Calculate 11,22...99 Master numbers"));
    label_4->setText(QStringLiteral("Format:"));
    checkBoxDateFormat->setText(QStringLiteral("Date Input - DD/MM/YYYY"));
}

} // namespace Ui

CSettingsDlg::CSettingsDlg(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CSettingsDlg)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowMinimizeButtonHint);
    setStyleSheet(qsGlobalDlgStyle);
    setWindowTitle(QStringLiteral("Settings"));
}

CSettingsDlg::~CSettingsDlg()
{
    delete ui;
}

void CSettingsDlg::setValues(const unsigned char *flags, int masterNumbersOption, bool dayFirst)
{
    if (flags) {
        ui->checkBoxLP1->setChecked(flags[0]);
        ui->checkBoxLP2->setChecked(flags[1]);
        ui->checkBoxLP3->setChecked(flags[2]);
        ui->checkBoxNameWD->setChecked(flags[3]);
        ui->checkBoxNameDD->setChecked(flags[4]);
        ui->checkBoxNameWD2->setChecked(flags[5]);
    }
    ui->checkBoxDateFormat->setChecked(dayFirst);
    if (masterNumbersOption == 1)
        ui->checkBoxNameEMM->setChecked(true);
}

void CSettingsDlg::values(unsigned char *flags, int *masterNumbersOption, bool *dayFirst) const
{
    if (flags) {
        flags[0] = ui->checkBoxLP1->isChecked() ? 1 : 0;
        flags[1] = ui->checkBoxLP2->isChecked() ? 1 : 0;
        flags[2] = ui->checkBoxLP3->isChecked() ? 1 : 0;
        flags[3] = ui->checkBoxNameWD->isChecked() ? 1 : 0;
        flags[4] = ui->checkBoxNameDD->isChecked() ? 1 : 0;
        flags[5] = ui->checkBoxNameWD2->isChecked() ? 1 : 0;
    }
    if (masterNumbersOption)
        *masterNumbersOption = ui->checkBoxNameEMM->isChecked() ? 1 : 0;
    if (dayFirst)
        *dayFirst = ui->checkBoxDateFormat->isChecked();
}

void CSettingsDlg::on_defaultSettingsBut_clicked()
{
    ui->checkBoxLP1->setChecked(true);
    ui->checkBoxLP2->setChecked(false);
    ui->checkBoxLP3->setChecked(false);
    ui->checkBoxNameDD->setChecked(true);
    ui->checkBoxNameWD->setChecked(true);
    ui->checkBoxNameWD2->setChecked(false);
    ui->checkBoxNameEMM->setChecked(false);
    ui->checkBoxDateFormat->setChecked(false);
}
