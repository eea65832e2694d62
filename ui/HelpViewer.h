#pragma once

#include <QString>

#include <memory>

namespace orbeta {

// The viewer of the program's help file; the program names topics by help context numbers
// (helpcons.h).
class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    virtual void ShowContents() = 0;
    // Opens the keyword search with the keyword typed in; an empty keyword lists every keyword.
    virtual void SearchKeyword(const QString& keyword) = 0;
    // The viewer's own help: how to use it.
    virtual void ShowHelpOnHelp() = 0;
    virtual void ShowTopic(int helpContext) = 0;
};

class TFayuda;

// The help viewer of the program itself: one help window, opened at the first request.
class WindowHelpViewer final : public HelpViewer {
public:
    explicit WindowHelpViewer(QString helpFile);
    ~WindowHelpViewer() override;

    void ShowContents() override;
    void SearchKeyword(const QString& keyword) override;
    void ShowHelpOnHelp() override;
    void ShowTopic(int helpContext) override;

private:
    TFayuda& Window();

    QString m_helpFile;
    std::unique_ptr<TFayuda> m_window;
};

} // namespace orbeta
