#pragma once

#include <QDialog>
#include <QString>
#include <QVector>
#include <QWidget>

class CAppStyle;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// One row of the paper combo. Rows without a size ("Custom" and the empty
// separator rows) only switch the size fields back to free editing.
struct PaperSize
{
    QString name;
    double width = 0;
    double height = 0;
    int units = 0; // 0 inches, 1 millimetres
    bool noSize = true;
};

// The arithmetic of the page size dialog, kept apart from the widgets.
namespace PaperSizeMath {

enum Units { Inches = 0, Millimetres = 1 };
enum Orientation { Vertical = 0, Horizontal = 1 };

QVector<PaperSize> standardPapers();

double toInches(double value, int units);
// A size written in one unit rewritten in the other.
double convertUnits(double value, int fromUnits, int toUnits);
// The edits show sizes with two decimals.
QString formatSize(double value);
// An accepted size in inches: 0.1 to 50.
double limitSize(double inches);
// The repeat count typed into the pages combo: 0 ("All") to 100000.
int parsePageCount(const QString &text);
// True when the size does not have the shape of the orientation and the two
// values have to change places.
bool needsSwap(int orientation, double width, double height);

// The paper row whose size (inches) is within 0.02 of the given one, upright
// first, then turned; row -1 when none matches. orientation tells how the
// size lies: Horizontal when it is wider than high.
struct PaperMatch
{
    int row = -1;
    int orientation = Vertical;
};
PaperMatch matchPaper(const QVector<PaperSize> &papers, double widthInches, double heightInches);

} // namespace PaperSizeMath

// The content of the name-and-size dialog of the designer: document
// properties (card size or paper size), block properties and page
// properties. The caller fills the controls, runs the frame and reads the
// public members afterwards.
class CPaperSizeDlg : public QWidget
{
    Q_OBJECT

public:
    CPaperSizeDlg(CAppStyle *style, QWidget *parent, bool sizeOnly, int mode);

    void selPaperCombo();
    void addSeqCombo();

    QString m_Title;
    CAppStyle *m_Style = nullptr;
    int m_Mode = -5;

    QPushButton *m_OkButton = nullptr;
    QPushButton *m_CancelButton = nullptr;
    QLineEdit *m_TitleEdit = nullptr;
    QComboBox *m_PaperCombo = nullptr;
    QComboBox *m_OrientationCombo = nullptr;
    QLineEdit *m_WidthEdit = nullptr;
    QLineEdit *m_HeightEdit = nullptr;
    QComboBox *m_UnitsCombo = nullptr;
    QComboBox *m_PagesCombo = nullptr;
    QLabel *m_TitleLabel = nullptr;
    QLabel *m_SizeLabel = nullptr;
    QLabel *m_XLabel = nullptr;

    // -1 until "Ok" was pressed, then 0.
    int m_Result = -1;
    int m_Units = PaperSizeMath::Inches;
    QVector<PaperSize> m_Papers;
    // After "Ok": the accepted size in inches.
    double m_Width = 8.5;
    double m_Height = 11;
    // Page repeat count, 0 for "All".
    int m_Pages = 0;

public Q_SLOTS:
    void OnExit();
    void OnOk();
    void OnCancel();
    void OnPSCombo(int index);
    void OnOrientationCombo(int index);
    void OnUnitsCombo(int index);
    void OnTextChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void connectControls();
    void disconnectControls();
    void orientEdits();
    void closeFrame();
};

class CPaperSizeDlgWin : public QDialog
{
    Q_OBJECT

public:
    CPaperSizeDlgWin(CAppStyle *style, QWidget *parent, bool sizeOnly, int mode);

    CPaperSizeDlg *content = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
