#pragma once

#include <QString>

#include "app/window/ControlCatalogue.h"

class QWidget;

namespace tessaron::gui {

// Gives a form's widgets (object name = control name) what the catalogue
// says about the keyboard and screen readers, before the binding writes the
// captions: each label's buddy, the accessible names, masking with a "Show
// Password" action (Alt+F8) for secret fields, a note beside a field that
// has a hint, and the tab strip's mnemonics.
void describeForm(QWidget& form, const app::window::FormDesign& design);

// The caption as the widget shows it: with its mnemonic marked.
QString shownCaption(const app::window::ControlDesign& design, const std::string& caption);

}  // namespace tessaron::gui
