#include "relief_preview_page.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "forge/output/relief_preview.h"

namespace qarn::forge {

ReliefPreviewPage::ReliefPreviewPage(QWidget* parent) : QWidget(parent), view_(new QLabel(this))
{
    setObjectName(QStringLiteral("PreviewPage"));
    // Filled with the tab widget's colour, as the form's own pages are.
    setAutoFillBackground(true);
    view_->setObjectName(QStringLiteral("PreviewLabel"));
    view_->setAlignment(Qt::AlignCenter);
    view_->setMinimumSize(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(view_);
}

void ReliefPreviewPage::showTerrain(int rows, int cols, const std::vector<float>& heights,
                                    const std::vector<std::uint8_t>& flatMask)
{
    const PreviewImage image = renderReliefPreview(rows, cols, heights.data(),
                                                   flatMask.empty() ? nullptr : flatMask.data(),
                                                   previewPixelsPerCell(rows, cols));
    showPicture(image);
}

void ReliefPreviewPage::showPicture(const PreviewImage& image)
{
    if (image.empty()) {
        clear();
        return;
    }
    // Deep copy: the QImage must not point into the renderer's buffer.
    picture_ = QImage(image.rgb.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888).copy();
    fitPicture();
}

void ReliefPreviewPage::clear()
{
    picture_ = QImage();
    view_->clear();
}

void ReliefPreviewPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitPicture();
}

void ReliefPreviewPage::fitPicture()
{
    if (picture_.isNull())
        return;
    view_->setPixmap(QPixmap::fromImage(
        picture_.scaled(view_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

} // namespace qarn::forge
