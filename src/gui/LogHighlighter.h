#pragma once

#include <QSyntaxHighlighter>

namespace tessaron::gui {

// Colours the progress log's failure lines (ERROR and the configuration
// file's unprefixed ones) red and its WARNING lines amber,
// both bold; the text itself stays as logged.
class LogHighlighter : public QSyntaxHighlighter {
public:
    explicit LogHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

protected:
    void highlightBlock(const QString& text) override;
};

}  // namespace tessaron::gui
