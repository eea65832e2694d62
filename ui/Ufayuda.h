#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace orbeta {

// The help window: the pages of the program's help, with their contents, a keyword index and
// the pages' links; Back and Forward as in a browser.
class TFayuda final : public QWidget {
    Q_OBJECT

public:
    explicit TFayuda(const QString& helpFile);

    // Shows a page of the help, "page.html" or "page.html#place".
    void ShowPage(const QString& page);
    // Shows the keyword index with the keyword typed into its search field.
    void ShowIndex(const QString& keyword);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SelectFirstMatch(const QString& typed);
    void ShowSelectedKeyword();
    void Present();

    QString m_helpFolder;
    QLineEdit* m_search = nullptr;
    QLabel* m_noMatch = nullptr;
    QListWidget* m_index = nullptr;
    QTextBrowser* m_page = nullptr;
};

} // namespace orbeta
