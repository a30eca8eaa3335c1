#include "gui/FormGeometry.h"

#include <QCheckBox>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocument>
#include <QWidget>
#include <cmath>

namespace tessaron::gui {

double screenScale(const QWidget& widget) {
    const int dpi = widget.logicalDpiY();
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

int twipsToPixels(int twips, double scale) {
    return static_cast<int>(std::lround(twips * scale / 15.0));
}

int pixelsToTwips(int pixels, double scale) {
    return static_cast<int>(std::lround(pixels * 15.0 / scale));
}

QRect twipsToPixels(const app::window::Twips& place, double scale) {
    return QRect(twipsToPixels(place.left, scale), twipsToPixels(place.top, scale),
                 twipsToPixels(place.width, scale), twipsToPixels(place.height, scale));
}

namespace {

const char* const kDesignedWidth = "designedWidth";

// A single-line label or a check box lower than its font needs grows
// around its middle, so that it stays level with the box beside it.
QRect tallEnough(const QWidget& widget, QRect place) {
    int needed = 0;
    if (const auto* label = qobject_cast<const QLabel*>(&widget); label && !label->wordWrap()) {
        needed = label->fontMetrics().height();
    } else if (const auto* check = qobject_cast<const QCheckBox*>(&widget)) {
        needed = check->sizeHint().height();
    }
    if (place.height() >= needed) return place;
    const int grow = needed - place.height();
    return QRect(place.left(), place.top() - grow / 2, place.width(), needed);
}

void setDesigned(QWidget& widget, const QRect& designed) {
    const QRect place = tallEnough(widget, designed);
    widget.setGeometry(place);
    widget.setProperty(kDesignedWidth, place.width());
    growLabelToFit(widget);
}

}  // namespace

void growLabelToFit(QWidget& widget) {
    auto* label = qobject_cast<QLabel*>(&widget);
    if (!label || label->wordWrap()) return;
    const QVariant designed = label->property(kDesignedWidth);
    if (!designed.isValid()) return;
    const int width = std::max(designed.toInt(), label->sizeHint().width());
    if (width != label->width()) label->resize(width, label->height());
}

FormPlacer::FormPlacer(QWidget& form, const app::window::FormDesign& design, double scale)
    : QObject(&form), form_(form), design_(design), scale_(scale) {
    for (const auto& control : design_.controls) {
        if (control.kind != app::window::ControlKind::TabControl) continue;
        auto* tabs = form_.findChild<QTabWidget*>(QString::fromStdString(control.name));
        if (!tabs) continue;
        if (auto* pages = tabs->findChild<QStackedWidget*>()) pages->installEventFilter(this);
    }
    place();
}

void FormPlacer::place() {
    form_.resize(twipsToPixels(design_.clientWidth, scale_),
                 twipsToPixels(design_.clientHeight, scale_));
    for (const auto& control : design_.controls) {
        if (control.tab >= 0 || control.kind == app::window::ControlKind::FileDialog) continue;
        if (auto* widget = form_.findChild<QWidget*>(QString::fromStdString(control.name))) {
            setDesigned(*widget, twipsToPixels(control.place, scale_));
        }
    }
    placeTabs();
}

void FormPlacer::placeTabs() {
    for (const auto& control : design_.controls) {
        if (control.tab < 0 || control.kind == app::window::ControlKind::FileDialog) continue;
        auto* widget = form_.findChild<QWidget*>(QString::fromStdString(control.name));
        if (!widget || !widget->parentWidget()) continue;
        auto* tabs = qobject_cast<QTabWidget*>(widget->parentWidget());
        for (QWidget* up = widget->parentWidget(); up && !tabs; up = up->parentWidget()) {
            tabs = qobject_cast<QTabWidget*>(up);
        }
        if (!tabs) continue;
        const QPoint pageOrigin = widget->parentWidget()->mapTo(tabs, QPoint(0, 0));
        setDesigned(*widget, twipsToPixels(control.place, scale_).translated(-pageOrigin));
    }
}

bool FormPlacer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) placeTabs();
    return QObject::eventFilter(watched, event);
}

}  // namespace tessaron::gui

namespace tessaron::gui {

void useFormFont(QWidget& form) {
    QFont font = form.font();
    // A condensed face where the system has one: the places were designed
    // for a narrow 8 point face.
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
                      font.family()});
    font.setPointSizeF(7.5);
    form.setFont(font);
    useWrappingToolTips(form);
}

void useWrappingToolTips(QWidget& form) {
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        const QString tip = widget->toolTip();
        if (tip.isEmpty() || Qt::mightBeRichText(tip)) continue;
        // Rich text wraps; pre-wrap keeps the text's own spaces.
        widget->setToolTip(QStringLiteral("<p style=\"white-space:pre-wrap\">") +
                           tip.toHtmlEscaped() + QStringLiteral("</p>"));
    }
}

}  // namespace tessaron::gui
