#pragma once

#include "ui/Hint.h"

#include <QToolButton>

namespace orbeta {

// A tool-bar button that carries out its menu item's action, sharing the action's availability,
// but keeps a picture and a hint of its own.
class SpeedButton final : public QToolButton {
    Q_OBJECT

public:
    SpeedButton(QAction& action, const QIcon& picture, const QString& hint, QWidget* parent);

protected:
    void actionEvent(QActionEvent* event) override;

private:
    void ShowOwnPictureAndHint();

    QIcon m_picture;
    Hint m_hint;
};

} // namespace orbeta
