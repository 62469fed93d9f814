// The results table's model: labels, cell texts, kept edits, full-size fills.
#include "duvavaz_evedaz_form.h"
#include "height_table_model.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

class TableModelTest : public QObject {
    Q_OBJECT

private slots:
    void labelsCountMetresFromTheBottomLeft();
    void cellsShowTheIntegerAndOneBlank_data();
    void cellsShowTheIntegerAndOneBlank();
    void editsKeepTheTypedTextUntilTheNextFill();
    void editingThroughTheViewStoresTheText();
    void wrongSizedFillIsRefused();
    void fullSizeFillIsQuickAndColumnsFit();
};

void TableModelTest::labelsCountMetresFromTheBottomLeft()
{
    HeightTableModel model;
    QVERIFY(model.setHeights(3, 2, {1, 2, 3, 4, 5, 6}));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString("278.298"));
    QCOMPARE(model.headerData(1, Qt::Vertical).toString(), QString("185.532"));
    QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QString("92.766"));
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("92.766"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("185.532"));
    QVERIFY(!model.headerData(2, Qt::Horizontal).isValid());

    // Far rows keep the exact product, not a running sum.
    QVERIFY(model.setHeights(540, 1, std::vector<int>(540, 0)));
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString::number(540 * 92.7658712627587, 'f', 3));
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString("50093.570"));
}

void TableModelTest::cellsShowTheIntegerAndOneBlank_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("text");
    QTest::newRow("positive") << 439 << "439 ";
    QTest::newRow("negative") << -12 << "-12 ";
    QTest::newRow("zero") << 0 << "0 ";
}

void TableModelTest::cellsShowTheIntegerAndOneBlank()
{
    QFETCH(int, height);
    QFETCH(QString, text);
    HeightTableModel model;
    QVERIFY(model.setHeights(1, 2, {7, height}));
    QCOMPARE(model.data(model.index(0, 1)).toString(), text);
    QCOMPARE(model.data(model.index(0, 1), Qt::EditRole).toString(), text);
    QCOMPARE(model.cellText(0, 1), text);
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
}

void TableModelTest::editsKeepTheTypedTextUntilTheNextFill()
{
    HeightTableModel model;
    QVERIFY(model.setHeights(2, 3, {10, 20, 30, 40, 50, 60}));
    QVERIFY(model.setData(model.index(1, 2), QString(" 125 ")));
    QVERIFY(model.setData(model.index(0, 0), QString("12.5")));
    QVERIFY(model.setData(model.index(0, 1), QString()));
    QCOMPARE(model.editedCellCount(), 3);

    const std::vector<QString> texts = model.cellTexts();
    const std::vector<QString> expected = {"12.5", "", "30 ", "40 ", "50 ", " 125 "};
    QCOMPARE(texts, expected);

    QVERIFY(model.setHeights(1, 1, {5}));
    QCOMPARE(model.editedCellCount(), 0);
    QCOMPARE(model.cellText(0, 0), QString("5 "));
    QCOMPARE(model.cellText(3, 3), QString());
}

void TableModelTest::editingThroughTheViewStoresTheText()
{
    DuvavazEvedazForm form;
    form.show();
    form.ProcesstabWidget->setCurrentWidget(form.tab2);
    QVERIFY(form.TableResultsModel->setHeights(2, 2, {1, 2, 3, 4}));
    QTableView* view = form.TableResults;
    const QModelIndex cell = form.TableResultsModel->index(1, 0);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(editor->text(), QString("3 "));
    editor->setText("-3");
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits the editor's text on its next turn of the event loop.
    QTRY_COMPARE(form.TableResultsModel->cellText(1, 0), QString("-3"));
}

void TableModelTest::wrongSizedFillIsRefused()
{
    HeightTableModel model;
    QVERIFY(model.setHeights(1, 2, {1, 2}));
    QVERIFY(!model.setHeights(2, 2, {1, 2, 3}));
    QVERIFY(!model.setHeights(-1, 0, {}));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.cellText(0, 1), QString("2 "));
}

void TableModelTest::fullSizeFillIsQuickAndColumnsFit()
{
    DuvavazEvedazForm form;
    form.show();
    form.ProcesstabWidget->setCurrentWidget(form.tab2);
    const int n = 540;
    std::vector<int> heights(std::size_t(n) * n);
    for (std::size_t i = 0; i < heights.size(); ++i)
        heights[i] = int(i % 3000) - 100;
    heights[std::size_t(n) * 7 + 3] = -123456; // one wide value in column 3

    QElapsedTimer timer;
    timer.start();
    QVERIFY(form.TableResultsModel->setHeights(n, n, heights));
    form.fitTableColumns();
    QCoreApplication::processEvents();
    const qint64 millis = timer.elapsed();
    qInfo("540 x 540 fill and column fit: %lld ms", millis);

    QCOMPARE(form.TableResults->model()->rowCount(), n);
    QCOMPARE(form.TableResults->model()->columnCount(), n);
    QCOMPARE(form.TableResultsModel->cellText(n - 1, n - 1), QString::number(heights.back()) + " ");

    const QFontMetrics metrics(form.TableResults->font());
    QHeaderView* header = form.TableResults->horizontalHeader();
    for (int c : {0, 3, n - 1}) {
        QVERIFY(header->sectionSize(c) > metrics.horizontalAdvance(form.TableResultsModel->cellText(0, c)));
        QVERIFY(header->sectionSize(c) >=
                QFontMetrics(header->font()).horizontalAdvance(form.TableResultsModel->columnLabel(c)));
    }
    QVERIFY(header->sectionSize(3) > metrics.horizontalAdvance("-123456 "));
}

QTEST_MAIN(TableModelTest)
#include "table_model_test.moc"
