#pragma once

#include <QLineEdit>

#include <algorithm>

namespace orbeta {

// A text field whose length limit holds for typing only: a longer text that the program puts in
// (a method name read from a file) is shown whole, and typing may refill it to that length but
// never beyond.
class LimitedField final : public QLineEdit {
public:
    LimitedField(int limit, QWidget* parent) : QLineEdit(parent), m_limit(limit) {
        setMaxLength(limit);
    }

    void ShowText(const QString& text) {
        setMaxLength(std::max(m_limit, static_cast<int>(text.size())));
        setText(text);
    }

private:
    int m_limit;
};

} // namespace orbeta
