#pragma once

#include <QDialog>
#include <QString>

#include "gui/ImageChoosers.h"

class QPlainTextEdit;
class QPushButton;
class QHBoxLayout;

namespace tessaron::gui {

// A resizable window showing a report or a log as the progress window shows
// its log (ERROR, failure and WARNING lines highlighted, long lines wrapped),
// with "Save..." on the left and Close (Enter, Escape) on the right; a
// window may add buttons of its own before Close.
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(const QString& title, const QString& saveName, QWidget* parent);

    void setText(const QString& text);
    QString text() const;
    // A button before Close.
    QPushButton* addButton(const char* name, const QString& caption);

    // The save dialog of "Save..." (tests answer it themselves).
    void setSaveDialogRunner(DialogRunner runner) { saveRunner_ = std::move(runner); }
    // Writes the text; false (with a message box) when it cannot be written.
    bool save(const QString& path);

private:
    void chooseFile();

    QPlainTextEdit* view_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QPushButton* close_ = nullptr;
    QString saveName_;
    DialogRunner saveRunner_;
};

}  // namespace tessaron::gui
