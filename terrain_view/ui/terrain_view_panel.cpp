#include "terrain_view_panel.h"

#include "opengl_probe.h"
#include "terrain_gl_view.h"

#include "forge/output/relief_preview.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace qarn {

TerrainViewPanel::TerrainViewPanel(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* controls = new QGridLayout;
    azimuthLabel_ = new QLabel(this);
    azimuth_ = new QSpinBox(this);
    azimuth_->setObjectName(QStringLiteral("sunAzimuth"));
    azimuth_->setRange(0, 359);
    azimuth_->setWrapping(true);
    azimuth_->setValue(static_cast<int>(PREVIEW_LIGHT_AZIMUTH_DEGREES));
    elevationLabel_ = new QLabel(this);
    elevation_ = new QSpinBox(this);
    elevation_->setObjectName(QStringLiteral("sunElevation"));
    elevation_->setRange(5, 90);
    elevation_->setValue(static_cast<int>(PREVIEW_LIGHT_ALTITUDE_DEGREES));
    exaggerationLabel_ = new QLabel(this);
    exaggeration_ = new QDoubleSpinBox(this);
    exaggeration_->setObjectName(QStringLiteral("exaggeration"));
    exaggeration_->setRange(1.0, 10.0);
    exaggeration_->setSingleStep(0.5);
    exaggeration_->setDecimals(1);
    exaggeration_->setValue(1.0);
    resetButton_ = new QPushButton(this);
    resetButton_->setObjectName(QStringLiteral("resetView"));
    topButton_ = new QPushButton(this);
    topButton_->setObjectName(QStringLiteral("topView"));
    exportButton_ = new QPushButton(this);
    exportButton_->setObjectName(QStringLiteral("exportPng"));
    // Three short rows, so the panel fits a dock as narrow as the preview's.
    const std::pair<QLabel*, QWidget*> rows[] = {
        {azimuthLabel_, azimuth_}, {elevationLabel_, elevation_}, {exaggerationLabel_, exaggeration_}};
    QPushButton* const buttons[] = {resetButton_, topButton_, exportButton_};
    for (int i = 0; i < 3; ++i) {
        controls->addWidget(rows[i].first, i, 0);
        controls->addWidget(rows[i].second, i, 1);
        controls->addWidget(buttons[i], i, 3);
    }
    controls->setColumnStretch(2, 1);
    layout->addLayout(controls);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("viewStatus"));
    status_->hide();
    layout->addWidget(status_);

    fallbackReason_ = openGlProblem();
    if (fallbackReason_.isEmpty()) {
        view_ = new TerrainGlView(this);
        layout->addWidget(view_, 1);
        connect(view_, &TerrainGlView::glFailed, this, &TerrainViewPanel::showFallback, Qt::QueuedConnection);
        connect(view_, &TerrainGlView::meshShown, this, &TerrainViewPanel::terrainShown);
        connect(resetButton_, &QPushButton::clicked, view_, &TerrainGlView::resetView);
        connect(topButton_, &QPushButton::clicked, view_, &TerrainGlView::topView);
        connect(exportButton_, &QPushButton::clicked, this, &TerrainViewPanel::exportRequested);
        connect(azimuth_, &QSpinBox::valueChanged, this, &TerrainViewPanel::applyControls);
        connect(elevation_, &QSpinBox::valueChanged, this, &TerrainViewPanel::applyControls);
        connect(exaggeration_, &QDoubleSpinBox::valueChanged, this, &TerrainViewPanel::applyControls);
        applyControls();
    }
    fallback_ = new QLabel(this);
    fallback_->setObjectName(QStringLiteral("viewFallback"));
    fallback_->setWordWrap(true);
    fallback_->setAlignment(Qt::AlignCenter);
    layout->addWidget(fallback_, 1);
    connect(&watcher_, &QFutureWatcher<std::shared_ptr<const TerrainMesh>>::finished, this,
            &TerrainViewPanel::buildFinished);
    retranslate();
    if (!fallbackReason_.isEmpty())
        showFallback(fallbackReason_);
    else
        fallback_->hide();
}

TerrainViewPanel::~TerrainViewPanel()
{
    // The build holds its own copy of the heights; wait so its end finds no panel gone.
    watcher_.waitForFinished();
}

void TerrainViewPanel::showFallback(const QString& reason)
{
    fallbackReason_ = reason;
    if (view_) {
        view_->hide();
        view_->deleteLater();
        view_ = nullptr;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{azimuth_, elevation_, exaggeration_, resetButton_, topButton_,
                                                      exportButton_})
        w->setEnabled(false);
    retranslate();
    fallback_->show();
}

QString TerrainViewPanel::fallbackText() const
{
    return fallbackReason_.isEmpty() ? QString() : fallback_->text();
}

void TerrainViewPanel::applyControls()
{
    if (!view_)
        return;
    view_->setSun(azimuth_->value(), elevation_->value());
    view_->setExaggeration(exaggeration_->value());
}

void TerrainViewPanel::showTerrain(TerrainHeights terrain, double cellSize)
{
    if (!view_)
        return;
    cleared_ = false;
    waiting_ = std::make_unique<TerrainHeights>(std::move(terrain));
    waitingCellSize_ = cellSize;
    if (!watcher_.isRunning())
        startBuild();
}

void TerrainViewPanel::clear()
{
    waiting_.reset();
    cleared_ = true;
    if (view_)
        view_->setMesh(nullptr);
}

void TerrainViewPanel::startBuild()
{
    std::shared_ptr<TerrainHeights> terrain(waiting_.release());
    watcher_.setFuture(QtConcurrent::run([terrain, cellSize = waitingCellSize_] {
        return std::shared_ptr<const TerrainMesh>(std::make_shared<TerrainMesh>(buildTerrainMesh(*terrain, cellSize)));
    }));
}

void TerrainViewPanel::buildFinished()
{
    const std::shared_ptr<const TerrainMesh> mesh = watcher_.result();
    if (waiting_) {
        startBuild(); // newer heights came: this mesh is already out of date
        return;
    }
    if (!view_ || cleared_)
        return;
    if (mesh->result != MeshResult::Ok) {
        status_->setText(QCoreApplication::translate("TerrainViewPanel", describe(mesh->result)));
        status_->show();
        view_->setMesh(nullptr);
        return;
    }
    status_->hide();
    view_->setMesh(mesh);
}

QImage TerrainViewPanel::picture()
{
    return view_ ? view_->grabFramebuffer() : QImage();
}

bool TerrainViewPanel::exportPng(const QString& path, QString& error)
{
    const QImage shot = picture().convertToFormat(QImage::Format_RGB888);
    PreviewImage image;
    image.width = shot.width();
    image.height = shot.height();
    image.rgb.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    for (int y = 0; y < image.height; ++y)
        std::copy_n(shot.constScanLine(y), static_cast<std::size_t>(image.width) * 3,
                    image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3);
    std::string why;
    if (writePreviewPng(image, QFile::encodeName(path).toStdString(), why) != OutputResult::Ok) {
        error = QString::fromLocal8Bit(why.c_str());
        return false;
    }
    return true;
}

void TerrainViewPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void TerrainViewPanel::retranslate()
{
    azimuthLabel_->setText(tr("Sun azimuth"));
    azimuth_->setSuffix(tr("\u00b0"));
    elevationLabel_->setText(tr("Sun elevation"));
    elevation_->setSuffix(tr("\u00b0"));
    exaggerationLabel_->setText(tr("Exaggeration"));
    exaggeration_->setSuffix(tr(" x"));
    resetButton_->setText(tr("Reset View"));
    topButton_->setText(tr("Top View"));
    exportButton_->setText(tr("Export PNG..."));
    fallback_->setText(tr("The 3D view cannot be shown: %1. Everything else works as usual.").arg(fallbackReason_));
}

} // namespace qarn
