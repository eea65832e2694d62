#include "ui/SpeedButton.h"

#include <QActionEvent>

namespace orbeta {

SpeedButton::SpeedButton(QAction& action, const QIcon& picture, const QString& hint,
                         QWidget* parent)
    : QToolButton(parent), m_picture(picture), m_hint(SplitHint(hint)) {
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setDefaultAction(&action);
    ShowOwnPictureAndHint();
}

// The button copies the action's picture and hints whenever the action changes.
void SpeedButton::actionEvent(QActionEvent* event) {
    QToolButton::actionEvent(event);
    ShowOwnPictureAndHint();
}

void SpeedButton::ShowOwnPictureAndHint() {
    setIcon(m_picture);
    setToolTip(m_hint.shortHint);
    setStatusTip(m_hint.longHint);
}

} // namespace orbeta
