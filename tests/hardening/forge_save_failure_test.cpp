// Save As and Save through the builder's window where writing fails: a
// read-only folder, a full disk (for a new name and for the silent Save over a
// good file), a folder that is not there, names too long for the file system,
// and names with blanks and letters beyond ASCII, which must work. The box
// names the file and the reason; earlier files stay; no temporary is left.
#include "tests/forge_ui/recording_window.h"

#include "failure_places.h"

#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QTest>

#include <filesystem>
#include <memory>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using hardening::FailurePlace;
using hardening::Place;
using qarn_test::readFile;
using qarn_test::ScopedWorkingDir;
using qarn_test::TempDir;

Q_DECLARE_METATYPE(hardening::Place)

namespace {

const fs::path kExamples = fs::path(QARN_SOURCE_DIR) / "examples";

QString qpath(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

// The sample map built in a window whose working directory is a folder of its own.
struct BuiltSample {
    TempDir pictures;
    TempDir work;
    ScopedWorkingDir cd{work.path()};
    std::unique_ptr<RecordingWindow> window = std::make_unique<RecordingWindow>();

    BuiltSample()
    {
        buildBundledSample(*window, pictures.path());
    }
};

std::vector<std::string> temporariesIn(const fs::path& dir)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        const std::size_t dot = name.rfind('.');
        if (dot != std::string::npos && dot + 7 == name.size())
            found.push_back(name);
    }
    return found;
}

std::size_t lineCount(const std::string& text)
{
    return std::size_t(std::count(text.begin(), text.end(), '\n'));
}

const std::string kEarlierGrid = "earlier grid\n";
const std::string kEarlierReport = "earlier report\n";

} // namespace

class ForgeSaveFailureTest : public QObject {
    Q_OBJECT

private slots:
    void saveAsWhereWritingFails_data();
    void saveAsWhereWritingFails();
    void silentSaveOnAFullDiskKeepsTheGoodFile();
};

void ForgeSaveFailureTest::saveAsWhereWritingFails_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("failed"); // 0 none, 1 the grid file, 2 the report
    QTest::addColumn<QString>("reason"); // empty: the place's own reason

    QTest::newRow("read-only folder") << Place::ReadOnlyFolder << "map" << 1 << QString();
    QTest::newRow("full disk") << Place::FullDisk << "map" << 1 << QString();
    QTest::newRow("missing folder") << Place::MissingFolder << "map" << 1 << QString();
    QTest::newRow("name of 300 characters") << Place::Ordinary << QString(300, 'n') << 1 << "File name too long";
    // The grid file's 254 characters fit, the report's 265 do not.
    QTest::newRow("name of 250 characters") << Place::Ordinary << QString(250, 'm') << 2 << "File name too long";
    QTest::newRow("name of 240 characters") << Place::Ordinary << QString(240, 'k') << 0 << QString();
    QTest::newRow("blanks and non-ASCII")
        << Place::Ordinary << QString::fromUtf8("H\xc3\xb6he mit Leerzeichen \xe5\x9c\xb0\xe5\x9b\xb3") << 0
        << QString();
}

void ForgeSaveFailureTest::saveAsWhereWritingFails()
{
    QFETCH(Place, place);
    QFETCH(QString, chosen);
    QFETCH(int, failed);
    QFETCH(QString, reason);

    BuiltSample s;
    RecordingWindow& w = *s.window;
    FailurePlace where(place);
    const std::string grid = chosen.toStdString() + ".asc";
    const std::string report = chosen.toStdString() + "-Build_Data.txt";
    if (place != Place::MissingFolder) {
        if (grid.size() <= 255)
            where.keep(grid, kEarlierGrid);
        if (report.size() <= 255)
            where.keep(report, kEarlierReport);
    }
    if (const std::string why = where.setup(); !why.empty())
        QSKIP(qPrintable(QString(placeName(place)) + ": " + QString::fromStdString(why)));
    w.saveAnswers.push_back(qpath(where.folder()) + "/" + chosen);
    w.fileSave();
    where.lift();

    const bool gridWritten = failed != 1;
    const bool reportWritten = failed == 0;
    if (failed) {
        QCOMPARE(w.boxes.size(), std::size_t(1));
        const Box& b = w.boxes[0];
        QCOMPARE(b.caption, QString("Can not save file"));
        const std::string file = where.file(failed == 1 ? grid : report);
        QVERIFY2(b.text.contains(QString::fromStdString("Cannot save " + file + ": ").toHtmlEscaped()),
                 qPrintable(b.text));
        const QString why = reason.isEmpty() ? QString::fromStdString(where.reason()) : reason;
        QVERIFY2(b.text.contains(why), qPrintable(b.text));
        QCOMPARE(w.savedOnce, 0); // the next Save asks again
    } else {
        QVERIFY2(w.boxes.empty(), qPrintable(w.boxes.empty() ? QString() : w.boxes[0].text));
        QCOMPARE(w.statusBar()->currentMessage(), "Data Saved to " + QString::fromStdString(where.file(grid)));
        QCOMPARE(w.savedOnce, 1);
    }
    if (place == Place::MissingFolder)
        return;
    const std::string gridNow = readFile(where.file(grid)), reportNow = readFile(where.file(report));
    if (gridWritten)
        QCOMPARE(lineCount(gridNow), std::size_t(1207));
    else if (grid.size() <= 255)
        QCOMPARE(gridNow, kEarlierGrid);
    if (reportWritten)
        QVERIFY(reportNow.find("Map Width in 10\x92s m  :     600") != std::string::npos);
    else if (report.size() <= 255)
        QCOMPARE(reportNow, kEarlierReport);
    QCOMPARE(temporariesIn(where.folder()), std::vector<std::string>{});
    QVERIFY(fs::is_empty(s.work.path()));
}

void ForgeSaveFailureTest::silentSaveOnAFullDiskKeepsTheGoodFile()
{
    BuiltSample s;
    RecordingWindow& w = *s.window;
    if (!hardening::privateMounts())
        QSKIP("needs a small tmpfs (root and a mount namespace) big enough for one grid file");
    // Room for a grid file (2.9 MB) and the temporary that replaces it; then the disk fills up.
    TempDir base;
    const fs::path disk = base.path() / "disk";
    fs::create_directory(disk);
    QCOMPARE(::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=8m"), 0);
    struct Unmount {
        fs::path p;
        ~Unmount() { ::umount2(p.c_str(), MNT_DETACH); }
    } unmount{disk};

    w.saveAnswers.push_back(qpath(disk / "map"));
    w.fileSave();
    QVERIFY2(w.boxes.empty(), qPrintable(w.boxes.empty() ? QString() : w.boxes[0].text));
    const std::string good = readFile(disk / "map.asc");
    QCOMPARE(lineCount(good), std::size_t(1207));

    // Fill the rest, edit, and Save again without a dialog.
    {
        std::FILE* filler = std::fopen((disk / "filler").c_str(), "wb");
        QVERIFY(filler);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        std::fclose(filler);
    }
    w.TableResultsModel->setData(w.TableResultsModel->index(0, 0), "999");
    w.fileSave();
    QCOMPARE(w.saveQuestions.size(), std::size_t(1));
    QCOMPARE(w.boxes.size(), std::size_t(1));
    QVERIFY2(w.boxes[0].text.contains(qpath(disk / "map.asc")), qPrintable(w.boxes[0].text));
    QVERIFY2(w.boxes[0].text.contains("No space left on device"), qPrintable(w.boxes[0].text));
    QVERIFY(readFile(disk / "map.asc") == good);
    QCOMPARE(temporariesIn(disk), std::vector<std::string>{});

    // With room again the same Save writes the edit.
    fs::remove(disk / "filler");
    w.fileSave();
    QCOMPARE(w.boxes.size(), std::size_t(1));
    QVERIFY(readFile(disk / "map.asc") != good);
}

int main(int argc, char** argv)
{
    // Mount namespaces can only be entered while the process has one thread.
    hardening::privateMounts();
    QApplication app(argc, argv);
    ForgeSaveFailureTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "forge_save_failure_test.moc"
