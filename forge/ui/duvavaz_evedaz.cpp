#include "duvavaz_evedaz.h"

#include <QAction>
#include <QColor>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QStatusBar>

#include <cstdlib>

namespace {

const int kStatusMillis = 2000;

const char* const kNoFileCaption = "No File Loaded";
const char* const kNoFileText = "<p>No file has been selected yet</p><p>Select a BMP file to continue</p>";
const char* const kColourSetCaption = "Elevation Colour Set";
const char* const kColourSetText =
    "<p><b>The Elevation Colour Set</b> to be used has not been selected.</p>"
    "<p> Make the appropiate selection to continue</p>";
const char* const kMinElevationCaption = "Minimum Elevation Height";
const char* const kMinElevationUnset =
    "<p>The Minimum Elevation Height has not been set.<br> It must be a positiive number equal to or "
    "greater than ZERO</p><p> Make the appropiate selection to continue</p>";
const char* const kMinElevationError = "<p>The Minimum Elevation Height has an error.</p>";
const char* const kMinElevationNegative = "<p>The Minimum Elevation Height is negative.</p>";
const char* const kContourCaption = "Contour Interval";
const char* const kContourUnset =
    "<p>Contour Interval has not been set.<br> It must be a positiive number equal to or greater than "
    "ZERO</p><p> Make the appropiate selection to continue</p>";
const char* const kContourError = "<p>Contour Interval has an error.</p>";
const char* const kContourNegative = "<p>The Contour Interval is negative.</p>";

const char* const kAboutCaption = "About Qarn Forge";

void paintRed(QWidget* w)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    pal.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    w->setPalette(pal);
}

} // namespace

DuvavazEvedaz::DuvavazEvedaz(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : DuvavazEvedazForm(parent, name, fl)
{
    MinElevationlineEdit->setText(QString());
    ContourlineEdit->setText(QString());
    for (QLabel* box : {LongLabelOut_2, LatLabelOut_2, AlphaLabelOut, msLabelOut, WidthLabelOut_2, HeightLabelOut_2})
        box->setText(QString());
    setBuildAvailable(false);
    setSavingAvailable(false);
}

bool DuvavazEvedaz::buildAvailable() const
{
    return !ProcessPB->isHidden() && ProcessPB->isEnabled();
}

void DuvavazEvedaz::setBuildAvailable(bool available)
{
    ProcessIttextLabel->setVisible(available);
    ProcessPB->setVisible(available);
    ProcessPB->setEnabled(available);
}

void DuvavazEvedaz::setSavingAvailable(bool available)
{
    fileSaveAction->setEnabled(available);
    fileSaveAsAction->setEnabled(available);
}

QString DuvavazEvedaz::refusalTail()
{
    return QStringLiteral("<p> It must be a positiive number "
                          "equal to or greater than ZERO<br>"
                          "There should be no spaces added to the value after the last digit.</p>"
                          "<p> Make the appropiate selection to continue</p>");
}

void DuvavazEvedaz::fileOpen()
{
    savedOnce = 0;
    const QString name = askOpenFileName(QStringLiteral("Images (*.bmp)"));
    if (name.isEmpty()) {
        showStatus(QStringLiteral("Loading aborted"));
        return;
    }
    mapDataPath = name;
    bmpPath = name;
    // The core opens the picture through the C runtime, so it gets the bytes
    // the file system expects.
    bmpFilePath = QFile::encodeName(bmpPath).toStdString();
    proposedSaveName = QString(name).remove(QStringLiteral(".bmp"), Qt::CaseInsensitive) +
                       QStringLiteral("-arcinfo-ascii.asc");
    showStatus(QStringLiteral("Loaded BMP details for ") + bmpPath);
    fileOpenAction->setEnabled(false);
}

// Not wired yet: the grid and the file writers join the window later.
void DuvavazEvedaz::fileSave()
{
    showStatus(QStringLiteral("Saving is not available"));
}

void DuvavazEvedaz::fileSaveAs()
{
    showStatus(QStringLiteral("Saving is not available"));
}

void DuvavazEvedaz::ProcessPB_clicked()
{
    showStatus(QStringLiteral("Building is not available"));
}

void DuvavazEvedaz::fileExit()
{
    colourHeights.clear();
    endProcess(0);
}

void DuvavazEvedaz::helpAbout()
{
    showAbout(QString::fromLatin1(kAboutCaption),
              QStringLiteral("<HTML><p><b>Qarn Forge</b></p><p>This program reads a BMP coloured layer "
                             "graphic and converts it into an 'arcinfo ascii' format.</p><p>The program uses "
                             "data from the application 'Qarn Sizer' the Map Size Calculator.</p>"
                             "<p>Version " QARN_VERSION "</p></HTML>"));
}

void DuvavazEvedaz::SystemColourRB_clicked()
{
    colourSetChoice = FORGE_COLOUR_SET_SYSTEM;
}

void DuvavazEvedaz::UserColourRB_clicked()
{
    colourSetChoice = FORGE_COLOUR_SET_USER;
}

void DuvavazEvedaz::ConfirmpushButton_clicked()
{
    // A refusal also withdraws "Build It", so no build runs on a refused value.
    auto refuse = [this](const char* caption, const QString& text, QLineEdit* entry) {
        setBuildAvailable(false);
        showCritical(nullptr, QString::fromLatin1(caption), text);
        if (entry)
            entry->setText(QString());
    };

    if (bmpPath.isEmpty()) {
        refuse(kNoFileCaption, QString::fromLatin1(kNoFileText), nullptr);
        return;
    }
    if (colourSetChoice != FORGE_COLOUR_SET_SYSTEM && colourSetChoice != FORGE_COLOUR_SET_USER) {
        refuse(kColourSetCaption, QString::fromLatin1(kColourSetText), nullptr);
        return;
    }

    bool ok = false;
    const QString minText = MinElevationlineEdit->text();
    if (minText.isEmpty()) {
        refuse(kMinElevationCaption, QString::fromLatin1(kMinElevationUnset), MinElevationlineEdit);
        return;
    }
    minElevation = minText.toInt(&ok, 10);
    if (!ok) {
        refuse(kMinElevationCaption, QString::fromLatin1(kMinElevationError) + refusalTail(), MinElevationlineEdit);
        return;
    }
    if (minElevation < 0) {
        refuse(kMinElevationCaption, QString::fromLatin1(kMinElevationNegative) + refusalTail(),
               MinElevationlineEdit);
        return;
    }

    const QString contourText = ContourlineEdit->text();
    if (contourText.isEmpty()) {
        refuse(kContourCaption, QString::fromLatin1(kContourUnset), ContourlineEdit);
        return;
    }
    contourInterval = contourText.toInt(&ok, 10);
    if (!ok) {
        refuse(kContourCaption, QString::fromLatin1(kContourError) + refusalTail(), ContourlineEdit);
        return;
    }
    if (contourInterval <= 0) {
        refuse(kContourCaption, QString::fromLatin1(kContourNegative) + refusalTail(), ContourlineEdit);
        return;
    }

    paintRed(ProcessIttextLabel);
    paintRed(ProcessPB);
    setBuildAvailable(true);
}

void DuvavazEvedaz::showStatus(const QString& text)
{
    statusBar()->showMessage(text, kStatusMillis);
}

void DuvavazEvedaz::showInformation(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

void DuvavazEvedaz::showWarning(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
}

void DuvavazEvedaz::showCritical(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
}

void DuvavazEvedaz::showAbout(const QString& caption, const QString& text)
{
    QMessageBox::about(this, caption, text);
}

QString DuvavazEvedaz::askOpenFileName(const QString& filter)
{
    return QFileDialog::getOpenFileName(this, QString(), QString(), filter);
}

QString DuvavazEvedaz::askSaveFileName(const QString& startName, const QString& filter, const QString& caption)
{
    return QFileDialog::getSaveFileName(this, caption, startName, filter);
}

void DuvavazEvedaz::endProcess(int status)
{
    std::exit(status);
}
