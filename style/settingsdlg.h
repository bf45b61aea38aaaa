#pragma once

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;

namespace Ui {

// The widgets of the settings dialog, built in code the way a form would be.
class CSettingsDlg
{
public:
    void setupUi(QDialog *dialog);
    void retranslateUi(QDialog *dialog);

    QDialogButtonBox *buttonBox = nullptr;
    QPushButton *defaultSettingsBut = nullptr;
    QCheckBox *checkBoxLP1 = nullptr;
    QLabel *label = nullptr;
    QCheckBox *checkBoxLP2 = nullptr;
    QCheckBox *checkBoxLP3 = nullptr;
    QLabel *label_2 = nullptr;
    // "Down to digit every word".
    QCheckBox *checkBoxNameWD = nullptr;
    QCheckBox *checkBoxNameDD = nullptr;
    QLabel *label_3 = nullptr;
    // "Don't generate missed transits"; its object name is "checkBoxNameWD"
    // as well.
    QCheckBox *checkBoxNameWD2 = nullptr;
    QCheckBox *checkBoxNameEMM = nullptr;
    QLabel *label_4 = nullptr;
    QCheckBox *checkBoxDateFormat = nullptr;
};

} // namespace Ui

// The "Calculator Settings" dialog: the six calculator flags, the
// master-numbers option and the date order as check boxes. It stores
// nothing itself: the caller copies its values in before exec() and, after
// "OK", back out (setValues / values), so the dialog needs no access to the
// program's globals.
class CSettingsDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int FlagCount = 6;

    explicit CSettingsDlg(QWidget *parent = nullptr);
    ~CSettingsDlg() override;

    // flags points to the six calculator flag bytes (0 or 1 each, in the
    // order life-path method 1, 2, 3, every word to a digit, master numbers
    // to a digit, no missed transits); masterNumbersOption is 1 for master
    // numbers 11 to 99 and 0 for 11, 22 and 33 only.
    void setValues(const unsigned char *flags, int masterNumbersOption, bool dayFirst);
    void values(unsigned char *flags, int *masterNumbersOption, bool *dayFirst) const;

    Ui::CSettingsDlg *ui;

public Q_SLOTS:
    void on_defaultSettingsBut_clicked();
};
