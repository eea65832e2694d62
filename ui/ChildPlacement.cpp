#include "ui/ChildPlacement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <vector>

namespace orbeta {

namespace {

QSize AreaSize(const QMdiSubWindow& frame) {
    return frame.mdiArea()->viewport()->size();
}

QSize SmallestFrameSize(const QMdiSubWindow& frame) {
    return frame.minimumSize().expandedTo(frame.minimumSizeHint());
}

// How far each window of a cascade stands from the one before: a title bar's height.
int TitleBarStep(const QMdiSubWindow& frame) {
    return std::max(1, frame.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &frame));
}

} // namespace

QSize ClientSizeOf(const QWidget& window, QSize outerSize) {
    if (const auto* frame = qobject_cast<const QMdiSubWindow*>(window.parentWidget())) {
        return outerSize - (frame->size() - window.size());
    }
    return outerSize;
}

void TileInArea(QMdiArea& area) {
    const QList<QMdiSubWindow*> frames = area.subWindowList(QMdiArea::CreationOrder);
    const auto count = static_cast<int>(frames.size());
    if (count == 0) {
        return;
    }
    const QSize space = area.viewport()->size();
    const auto cellFor = [&](int columns) {
        const int rows = (count + columns - 1) / columns;
        return QSize(space.width() / columns, space.height() / rows);
    };
    const auto fits = [&](int columns) {
        const QSize cell = cellFor(columns);
        return std::all_of(frames.cbegin(), frames.cend(), [&](const QMdiSubWindow* frame) {
            const QSize smallest = SmallestFrameSize(*frame);
            return smallest.width() <= cell.width() && smallest.height() <= cell.height();
        });
    };
    // As many columns as a square arrangement has, or fewer where the windows need it; more
    // only when fewer do not fit either.
    const int square = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    std::vector<int> choices;
    for (int columns = square; columns >= 1; --columns) {
        choices.push_back(columns);
    }
    for (int columns = square + 1; columns <= count; ++columns) {
        choices.push_back(columns);
    }
    const auto fitting = std::find_if(choices.cbegin(), choices.cend(), fits);
    const int columns = fitting != choices.cend() ? *fitting : square;
    const QSize cell = cellFor(columns);
    for (int index = 0; index < count; ++index) {
        QMdiSubWindow& frame = *frames[index];
        if (frame.isMinimized() || frame.isMaximized()) {
            frame.showNormal();
        }
        const QPoint corner((index % columns) * cell.width(), (index / columns) * cell.height());
        frame.setGeometry(QRect(corner, cell.boundedTo(frame.maximumSize())));
    }
}

void CentreInArea(QMdiSubWindow& frame) {
    const QSize free = AreaSize(frame) - frame.size();
    frame.move(std::max(0, free.width() / 2), std::max(0, free.height() / 2));
}

void FitAndCentreInArea(QMdiSubWindow& frame, QSize designed) {
    frame.resize(designed.boundedTo(AreaSize(frame)).expandedTo(SmallestFrameSize(frame)));
    CentreInArea(frame);
}

void GiveDefaultPlaceAndSize(QMdiSubWindow& frame) {
    const QSize area = AreaSize(frame);
    const int step = TitleBarStep(frame);
    const int steps = std::max(1, area.height() / (3 * step));
    const int others = static_cast<int>(frame.mdiArea()->subWindowList().size()) - 1;
    const int offset = step * (others % (steps + 1));
    frame.setGeometry(offset, offset, area.width() - step * steps, area.height() - step * steps);
}

void CascadeInArea(QMdiArea& area) {
    const QSize space = area.viewport()->size();
    QPoint corner(0, 0);
    for (QMdiSubWindow* frame : area.subWindowList(QMdiArea::CreationOrder)) {
        if (frame->isMinimized() || frame->isMaximized()) {
            frame->showNormal();
        }
        const QSize size = frame->sizeHint()
                               .boundedTo(space)
                               .expandedTo(SmallestFrameSize(*frame))
                               .boundedTo(frame->maximumSize());
        const bool leavesArea = corner.x() + size.width() > space.width() ||
                                corner.y() + size.height() > space.height();
        if (leavesArea) {
            corner = QPoint(0, 0);
        }
        frame->setGeometry(QRect(corner, size));
        frame->raise();
        const int step = TitleBarStep(*frame);
        corner += QPoint(step, step);
    }
}

} // namespace orbeta
