#include "ui/ChildPlacement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

namespace orbeta {

namespace {

QSize AreaSize(const QMdiSubWindow& frame) {
    return frame.mdiArea()->viewport()->size();
}

} // namespace

void CentreInArea(QMdiSubWindow& frame) {
    const QSize free = AreaSize(frame) - frame.size();
    frame.move(std::max(0, free.width() / 2), std::max(0, free.height() / 2));
}

void GiveDefaultPlaceAndSize(QMdiSubWindow& frame) {
    const QSize area = AreaSize(frame);
    const int step =
        std::max(1, frame.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &frame));
    const int steps = std::max(1, area.height() / (3 * step));
    const int others = static_cast<int>(frame.mdiArea()->subWindowList().size()) - 1;
    const int offset = step * (others % (steps + 1));
    frame.setGeometry(offset, offset, area.width() - step * steps, area.height() - step * steps);
}

} // namespace orbeta
