#include "sizer/ui/sizer_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "sizer/get_results.h"
#include "sizer/sizer_texts.h"

namespace qarn::sizer {

namespace {

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

SizerWindow::SizerWindow(QWidget* parent, const char* name) : SizerWindowBase(parent, name)
{
    for (QLineEdit* field : {HeightIn, WidthIn})
        field->clear();
    for (QLabel* field : {RheightIn, RWidthIn, ResMapHeight, ResMapWidth, DisplayHeightOutLabel, DisplayWidthOutLabel,
                          DisplayHeightOutULabel, DisplayWidthOutULabel})
        field->clear();
}

SizerWindow::~SizerWindow() = default;

void SizerWindow::SysColourRB_clicked()
{
    colourSetChoice = ColourSet::System;
}

void SizerWindow::UserColourRB_clicked()
{
    colourSetChoice = ColourSet::User;
}

void SizerWindow::CalculateButton_clicked()
{
    using namespace sizer_text;
    lastHeightText = HeightIn->text();
    lastWidthText = WidthIn->text();
    // The echo shows what was typed, before any check.
    RheightIn->setText(lastHeightText);
    RWidthIn->setText(lastWidthText);

    const SizeCheck check =
        getResults(details, lastWidthText.toStdString(), lastHeightText.toStdString(), colourSetChoice);
    if (check != SizeCheck::Passed) {
        const SizeCheckMessage message = sizeCheckMessage(check);
        showMessage(MessageKind::Critical, formText(message.caption), formText(message.text));
        // Below the box, a line where its words mislead (12.5 "equal to ZERO").
        const std::string note = sizeCheckNote(check, lastWidthText.toStdString(), lastHeightText.toStdString());
        statusBar()->showMessage(note.empty() ? QString() : formText(note.c_str()));
        if (message.emptied & EMPTY_HEIGHT_ENTRY)
            HeightIn->clear();
        if (message.emptied & EMPTY_WIDTH_ENTRY)
            WidthIn->clear();
        if (message.emptied & EMPTY_HEIGHT_ECHO)
            RheightIn->clear();
        if (message.emptied & EMPTY_WIDTH_ECHO)
            RWidthIn->clear();
        return;
    }

    statusBar()->showMessage(formText(STATUS_PROCESSING));
    const MapSizeCalculation& calculation = details.calculation;
    ResMapHeight->setText(QString::number(calculation.approxHeightMetres));
    ResMapWidth->setText(QString::number(calculation.approxWidthMetres));
    DisplayHeightOutLabel->setText(QString::number(calculation.pixelHeight));
    DisplayWidthOutLabel->setText(QString::number(calculation.pixelWidth));
    if (colourSetChoice == ColourSet::System) {
        setTextColour(SizeNoteLabel_2, QColor(0, 0, 0));
        DisplayHeightOutULabel->clear();
        DisplayWidthOutULabel->clear();
    } else {
        setTextColour(SizeNoteLabel_2, QColor(255, 0, 0));
        DisplayHeightOutULabel->setText(QString::number(details.userPixelHeight));
        DisplayWidthOutULabel->setText(QString::number(details.userPixelWidth));
    }
    statusBar()->showMessage(formText(STATUS_RESULTS_READY), STATUS_TIMEOUT_MS);
}

void SizerWindow::fileExit()
{
    using namespace sizer_text;
    if (exitWritesFiles(details)) {
        statusBar()->showMessage(formText(STATUS_WRITING), STATUS_TIMEOUT_MS);
        const std::vector<ExitFileFailure> failures = writeExitFiles(details);
        const bool reportWritten = failures.empty() || failures.front().fileName != RUN_DETAILS_FILE_NAME;
        if (reportWritten)
            statusBar()->showMessage(formText(STATUS_WRITTEN), STATUS_TIMEOUT_MS);
        for (const ExitFileFailure& failure : failures)
            showMessage(MessageKind::Warning, formText(FILE_NOT_WRITTEN_CAPTION),
                        formText(FILE_NOT_WRITTEN_TEXT)
                            .arg(QString::fromStdString(failure.fileName).toHtmlEscaped(),
                                 QString::fromStdString(failure.reason).toHtmlEscaped()));
        showMessage(MessageKind::Information, formText(EXIT_FILES_CAPTION), formText(EXIT_FILES_TEXT));
    }
    // The files are already closed and renamed into place.
    dialogs().leave(0);
}

void SizerWindow::helpAbout()
{
    // The program version comes from the build, after the translated text.
    showMessage(MessageKind::About, formText(sizer_text::ABOUT_CAPTION),
                formText(sizer_text::ABOUT_TEXT) + QStringLiteral("\n\nVersion " QARN_VERSION));
}

void SizerWindow::showMessage(MessageKind kind, const QString& caption, const QString& text)
{
    dialogs().message(kind == MessageKind::Critical ? nullptr : this, kind, caption, text);
}

} // namespace qarn::sizer
