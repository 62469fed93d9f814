#pragma once

#include <QMainWindow>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextBrowser;
class QWidget;

// A text of the calculator's windows through Qt's translation lookup, in the
// form's context "SizerWindowBase".
QString formText(const char* text);

// The calculator's form: every widget at its fixed place, the menus and
// actions, all texts set in languageChange(), and the signals wired to
// virtual slots that do nothing here (SizerWindow gives them their work).
// Widgets belong to the window; nothing here can fail.
class SizerWindowBase : public QMainWindow {
    Q_OBJECT

public:
    explicit SizerWindowBase(QWidget* parent = nullptr, const char* name = nullptr);
    ~SizerWindowBase() override;

    QTabWidget* tabWidgetbase;
    QWidget* DetailTab;
    QGroupBox* ColourSelect;
    QButtonGroup* ColourSelectGroup; // keeps the two radio buttons exclusive
    QRadioButton* SysColourRB;
    QRadioButton* UserColourRB;
    QLineEdit* WidthIn;
    QLabel* hsize;
    QLabel* wsize;
    QLabel* HeightLabel;
    QLabel* WidthLable;
    QPushButton* CalculateButton;
    QLineEdit* HeightIn;
    QTextBrowser* getResultsNote;
    QTextBrowser* HeightWidthNote;
    QTextBrowser* ColourNote;
    QWidget* ResultsTab;
    QLabel* RWidthInLabel;
    QLabel* RWidthIn;
    QLabel* DisplayHeightOutLabel;
    QTextBrowser* textBrowser5;
    QLabel* DisplayHeightOutULabel;
    QLabel* PixelHeightOutLabel;
    QLabel* DisplayWidthOutLabel;
    QLabel* PixelHeightOutUColLabel;
    QLabel* PixelWidthOutUColLabel;
    QLabel* DisplayWidthOutULabel;
    QLabel* SizeNoteLabel;
    QTextBrowser* HeightWidthOutNote;
    QLabel* SizeNoteLabel_2;
    QLabel* PixelWidthLabel;
    QLabel* RHeightinLabel;
    QLabel* RheightIn;
    QLabel* textLabel1;
    QLabel* textLabel2_2;
    QGroupBox* groupBox1;
    QLabel* textLabel4;
    QLabel* textLabel2;
    QLabel* ResMapHeight;
    QLabel* ResMapWidth;
    QLabel* textLabel4_2;
    QLabel* textLabel3;
    QMenuBar* MenuBar;
    QMenu* fileMenu;
    QMenu* helpMenu;
    QAction* fileExitAction;
    QAction* helpAboutAction;

public slots:
    virtual void fileExit();
    virtual void helpAbout();
    virtual void SysColourRB_clicked();
    virtual void UserColourRB_clicked();
    virtual void CalculateButton_clicked();

protected slots:
    virtual void languageChange();
};
