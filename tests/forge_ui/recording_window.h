#pragma once

#include <filesystem>

// The builder's window with its dialog seam answered: every box is recorded,
// open and save dialogs are answered from queues (an empty queue answers as a
// cancel), and File > Exit only records its status.
#include "duvavaz_evedaz.h"
#include "height_table_model.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

struct Box {
    QString kind;
    bool hasParent;
    QString caption;
    QString text;
};

struct SaveQuestion {
    QString startName;
    QString filter;
    QString caption;
};

class RecordingWindow : public DuvavazEvedaz {
public:
    std::vector<Box> boxes;
    std::deque<QString> openAnswers;
    QStringList openFilters;
    std::deque<QString> saveAnswers;
    std::vector<SaveQuestion> saveQuestions;
    bool useRealSaveDialog = false;
    int exitStatus = -1;

    // What the entries held at the moment the last box was shown.
    QString minTextAtBox, contourTextAtBox;
    // The table's row count when the last box was shown.
    int tableRowsAtBox = -1;

    QStringList captions() const
    {
        QStringList list;
        for (const Box& b : boxes)
            list << b.caption;
        return list;
    }

protected:
    void record(const char* kind, QWidget* parent, const QString& caption, const QString& text)
    {
        minTextAtBox = MinElevationlineEdit->text();
        contourTextAtBox = ContourlineEdit->text();
        tableRowsAtBox = TableResultsModel ? TableResultsModel->rowCount() : -1;
        boxes.push_back({kind, parent != nullptr, caption, text});
    }
    void showInformation(QWidget* p, const QString& c, const QString& t) override { record("information", p, c, t); }
    void showWarning(QWidget* p, const QString& c, const QString& t) override { record("warning", p, c, t); }
    void showCritical(QWidget* p, const QString& c, const QString& t) override { record("critical", p, c, t); }
    void showAbout(const QString& c, const QString& t) override { record("about", this, c, t); }
    QString askOpenFileName(const QString& filter) override
    {
        openFilters << filter;
        if (openAnswers.empty())
            return {};
        QString answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    QString askSaveFileName(const QString& startName, const QString& filter, const QString& caption) override
    {
        saveQuestions.push_back({startName, filter, caption});
        if (useRealSaveDialog)
            return DuvavazEvedaz::askSaveFileName(startName, filter, caption);
        if (saveAnswers.empty())
            return {};
        QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    void endProcess(int status) override { exitStatus = status; }
};

// Copies the bundled sample map and its map data file into `folder`, then
// opens, confirms (system set, 100 m, 20 m) and builds it in `w`; the boxes of
// the build are dropped.
inline void buildBundledSample(RecordingWindow& w, const std::filesystem::path& folder)
{
    const std::filesystem::path examples = std::filesystem::path(QARN_SOURCE_DIR) / "examples";
    std::filesystem::copy_file(examples / "sample-map.bmp", folder / "sample-map.bmp");
    std::filesystem::copy_file(examples / "QarnSizer_MAP_Data.xdt", folder / "QarnSizer_MAP_Data.xdt");
    w.openAnswers.push_back(QString::fromStdString((folder / "sample-map.bmp").string()));
    w.fileOpen();
    w.SystemColourRB->click();
    w.MinElevationlineEdit->setText("100");
    w.ContourlineEdit->setText("20");
    w.ConfirmpushButton->click();
    w.ProcessPB_clicked();
    w.boxes.clear();
}
