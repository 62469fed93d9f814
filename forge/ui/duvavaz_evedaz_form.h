#pragma once

#include <QMainWindow>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QTextBrowser;
class QWidget;
class HeightTableModel;

// The builder's window as laid out by hand: every widget at a fixed place, the
// texts set in languageChange(), the actions and buttons wired to virtual
// slots that do nothing here; DuvavazEvedaz gives the slots their work.
// Errors: none; the widgets belong to their parents, the actions and the table
// model to the window.
class DuvavazEvedazForm : public QMainWindow {
    Q_OBJECT

public:
    explicit DuvavazEvedazForm(QWidget* parent = nullptr, const char* name = nullptr,
                               Qt::WindowFlags fl = Qt::WindowFlags());

    QWidget* qt_central_widget;
    QTabWidget* ProcesstabWidget;
    QWidget* tab1;
    QGroupBox* ColourSetBGp;
    QButtonGroup* ColourSetButtons; // keeps the two radio buttons exclusive
    QRadioButton* SystemColourRB;
    QRadioButton* UserColourRB;
    QLineEdit* MinElevationlineEdit;
    QLabel* ElevationColSettextLabel;
    QLabel* contourtextLabel;
    QLabel* MInElevHttextLabel;
    QLineEdit* ContourlineEdit;
    QLabel* ConfirnDatatextLabel;
    QPushButton* ConfirmpushButton;
    QLabel* ProcessIttextLabel;
    QPushButton* ProcessPB;
    QTextBrowser* NotestxBrowser;
    QWidget* tab2;
    QTableView* TableResults;
    HeightTableModel* TableResultsModel;
    QWidget* Tab3;
    QLabel* textLabel1;
    QGroupBox* groupBox2;
    QLabel* WidthLabelOut_2;
    QLabel* HeightLabelOut_2;
    QLabel* textLabel8_2;
    QLabel* textLabel6_2;
    QGroupBox* groupBox3;
    QLabel* textLabel9;
    QLabel* AlphaLabelOut;
    QLabel* textLabel11;
    QLabel* msLabelOut;
    QGroupBox* groupBox1;
    QLabel* LongLabelOut_2;
    QLabel* textLabel4_2;
    QLabel* textLabel2_2;
    QLabel* LatLabelOut_2;
    QTextBrowser* textBrowser2;
    QMenu* fileMenu;
    QMenu* helpMenu;
    QAction* fileOpenAction;
    QAction* fileSaveAction;
    QAction* fileSaveAsAction;
    QAction* fileExitAction;
    QAction* helpAboutAction;

    // Fits every column of the results table to its widest text.
    void fitTableColumns();

public slots:
    virtual void fileOpen();
    virtual void fileSave();
    virtual void fileSaveAs();
    virtual void fileExit();
    virtual void helpAbout();
    virtual void ProcessPB_clicked();
    virtual void ConfirmpushButton_clicked();
    virtual void SystemColourRB_clicked();
    virtual void UserColourRB_clicked();

protected slots:
    virtual void languageChange();
};
