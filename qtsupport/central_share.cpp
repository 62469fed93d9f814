#include "central_share.h"

#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>

#include <algorithm>
#include <map>

namespace qarn {

namespace {

// Watches the central widget's size and narrows the docks once the layout has settled.
class CentralShare : public QObject {
public:
    explicit CentralShare(QMainWindow* window) : QObject(window), window_(window)
    {
        if (window->centralWidget())
            window->centralWidget()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        // The docks are resized outside the layout pass that resized the central widget.
        if (event->type() == QEvent::Resize && !pending_) {
            pending_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    pending_ = false;
                    share(Qt::Horizontal);
                    share(Qt::Vertical);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    void share(Qt::Orientation orientation)
    {
        const QWidget* central = window_->centralWidget();
        const bool across = orientation == Qt::Horizontal;
        const int have = across ? central->width() : central->height();
        const int deficit = (across ? window_->width() : window_->height()) / 2 - have;
        if (deficit <= 0)
            return;
        // The docks at the central widget's sides, each area as wide as its widest dock.
        QList<QDockWidget*> docks;
        QList<int> sizes;
        std::map<Qt::DockWidgetArea, int> areas;
        for (QDockWidget* dock : window_->findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
            const Qt::DockWidgetArea area = window_->dockWidgetArea(dock);
            const bool side = across ? (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea)
                                     : (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea);
            if (!side || dock->isFloating() || !dock->isVisible())
                continue;
            const int size = across ? dock->width() : dock->height();
            docks.append(dock);
            sizes.append(size);
            areas[area] = std::max(areas[area], size);
        }
        int extent = 0;
        for (const auto& [area, size] : areas)
            extent += size;
        if (extent <= 0)
            return;
        // Every area narrowed by the same part, so together they give up the deficit.
        const double keep = std::max(0.0, double(extent - deficit) / extent);
        for (int& size : sizes)
            size = static_cast<int>(size * keep);
        window_->resizeDocks(docks, sizes, orientation);
    }

    QMainWindow* window_;
    bool pending_ = false;
};

} // namespace

void keepCentralShare(QMainWindow* window)
{
    new CentralShare(window);
}

} // namespace qarn
