#include "gui/LogHighlighter.h"

#include "app/wiring/RunSummary.h"

namespace tessaron::gui {

void LogHighlighter::highlightBlock(const QString& text) {
    const std::string line = text.toStdString();
    QColor colour;
    if (app::wiring::isFailureLine(line)) {
        colour = QColor(0xB0, 0x00, 0x20);
    } else if (app::wiring::isWarningLine(line)) {
        colour = QColor(0x9A, 0x5B, 0x00);
    } else {
        return;
    }
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(QFont::Bold);
    setFormat(0, static_cast<int>(text.size()), format);
}

}  // namespace tessaron::gui
