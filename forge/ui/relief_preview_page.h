#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;

namespace qarn {
struct PreviewImage;
}

namespace qarn::forge {

// The "Preview" page: the last build's terrain as a shaded relief, drawn by
// the core renderer and scaled to fit the page, or another picture of the core
// (the outlined colour errors of a failed build). Plain widget; no errors (a
// picture the renderer refuses leaves the page empty).
class ReliefPreviewPage : public QWidget {
    Q_OBJECT

public:
    explicit ReliefPreviewPage(QWidget* parent = nullptr);

    // Draws heights (rows x cols, row 0 at the top) with the flat-area mask.
    void showTerrain(int rows, int cols, const std::vector<float>& heights, const std::vector<std::uint8_t>& flatMask);
    // Shows a picture the core drew (an empty one clears the page).
    void showPicture(const PreviewImage& image);
    void clear();
    // The drawn picture at full size (empty before a build).
    const QImage& picture() const { return picture_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitPicture();

    QLabel* view_;
    QImage picture_;
};

} // namespace qarn::forge
