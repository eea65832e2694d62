#pragma once

#include <QDialog>

namespace orbeta {

class HelpViewer;

// The about window: the program's name and picture. It does not block the main window; each
// one is destroyed when closed.
class TAboutBox final : public QDialog {
    Q_OBJECT

public:
    TAboutBox(HelpViewer& help, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    HelpViewer& m_help;
};

} // namespace orbeta
