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
        QWidget* central = window_->centralWidget();
        const bool across = orientation == Qt::Horizontal;
        const int whole = across ? window_->width() : window_->height();
        const int have = across ? central->width() : central->height();
        // The docks at the central widget's sides; each area is as wide as its widest dock and can give up what
        // lies above the largest of its docks' minimum sizes.
        QList<QDockWidget*> docks;
        QList<int> sizes;
        struct Area {
            int extent = 0, least = 0;
        };
        std::map<Qt::DockWidgetArea, Area> areas;
        for (QDockWidget* dock : window_->findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
            const Qt::DockWidgetArea area = window_->dockWidgetArea(dock);
            const bool side = across ? (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea)
                                     : (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea);
            if (!side || dock->isFloating() || !dock->isVisible())
                continue;
            const QSize least = dock->minimumSize().expandedTo(dock->minimumSizeHint());
            docks.append(dock);
            sizes.append(across ? dock->width() : dock->height());
            areas[area].extent = std::max(areas[area].extent, sizes.back());
            areas[area].least = std::max(areas[area].least, across ? least.width() : least.height());
        }
        int slack = 0;
        for (const auto& [where, area] : areas)
            slack += std::max(0, area.extent - area.least);
        // At least what all else takes with the docks at their least: the window cannot be made so small that
        // the docks' minimum sizes squeeze the central widget.
        const int others = std::max(0, whole - have - slack);
        if (across)
            central->setMinimumWidth(others);
        else
            central->setMinimumHeight(others);
        const int deficit = whole / 2 - have;
        if (deficit <= 0 || slack <= 0)
            return;
        // Each area gives up its part of the deficit in proportion to what it can give.
        for (qsizetype k = 0; k < docks.size(); ++k) {
            const Area& area = areas[window_->dockWidgetArea(docks[k])];
            const int give = std::min(slack, deficit) * std::max(0, area.extent - area.least) / slack;
            sizes[k] = std::max(1, sizes[k] - give - 1);
        }
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
