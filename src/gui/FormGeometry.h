#pragma once

#include <QObject>
#include <QRect>

#include "app/window/ControlCatalogue.h"

class QWidget;

namespace tessaron::gui {

// Twips to pixels: 15 twips to a pixel at 96 DPI, scaled with the screen's
// logical DPI (scale 1.0 at 96 DPI).
double screenScale(const QWidget& widget);
int twipsToPixels(int twips, double scale);
int pixelsToTwips(int pixels, double scale);
QRect twipsToPixels(const app::window::Twips& place, double scale);

// Puts every control of a form built from its .ui at its catalogue place,
// scaled, and sizes the form's client area. A label or check box lower than
// its font's line height grows to it. Controls on a tab are placed
// relative to the tab control's whole area (tab strip included), as the
// catalogue measures them; the placer follows the tab control's page area
// whenever the style moves or resizes it.
class FormPlacer : public QObject {
public:
    FormPlacer(QWidget& form, const app::window::FormDesign& design, double scale);

    // Places everything again (also done on every move or resize of a tab
    // control's page area).
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeTabs();

    QWidget& form_;
    const app::window::FormDesign& design_;
    double scale_;
};

}  // namespace tessaron::gui

namespace tessaron::gui {

// The forms' font: small enough for the designed places (7.5 point); the
// tooltips become rich text, which wraps instead of running past the screen.
void useFormFont(QWidget& form);
void useWrappingToolTips(QWidget& form);

// A single-line label grows to the right until its whole caption shows (the
// load step writes captions longer than the designed "Label1"); it never
// shrinks below its designed width.
void growLabelToFit(QWidget& label);

}  // namespace tessaron::gui
