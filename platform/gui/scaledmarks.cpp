// The marks of check boxes, radio buttons and check lists drawn at a scale of their own, for a
// form scaled to another resolution: the style draws them at one size for every form.
#include "platform/gui/controls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleFactory>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

class ScaledMarksStyle : public QProxyStyle {
public:
    explicit ScaledMarksStyle(double Factor)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), FFactor(Factor) {}

    int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
        const int value = QProxyStyle::pixelMetric(Metric, Option, Widget);
        switch (Metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return std::max(1, static_cast<int>(std::lround(value * FFactor)));
        default:
            return value;
        }
    }

private:
    double FFactor;
};

// One style for each scale, freed with the application.
QStyle* StyleScaledBy(double Factor) {
    static std::map<long, QStyle*> styles;
    const long key = std::lround(Factor * 1000);
    QStyle*& style = styles[key];
    if (!style) {
        style = new ScaledMarksStyle(Factor);
        style->setParent(qApp);
        QObject::connect(style, &QObject::destroyed, [key] { styles.erase(key); });
    }
    return style;
}

const char* const kMarkScale = "moltrenMarkScale";

void ScaleMarksOf(QWidget* Widget, int M, int D) {
    const QVariant held = Widget->property(kMarkScale);
    const double factor = (held.isValid() ? held.toDouble() : 1.0) * M / D;
    Widget->setProperty(kMarkScale, factor);
    Widget->setStyle(StyleScaledBy(factor));
}

} // namespace

void ScaleControlMarks(TControl* Control, int M, int D) {
    QWidget* root = Control ? Control->Widget() : nullptr;
    if (!root || M <= 0 || D <= 0 || M == D) return;
    const auto marked = [](QWidget* w) {
        return qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) ||
               qobject_cast<QAbstractItemView*>(w);
    };
    if (marked(root)) ScaleMarksOf(root, M, D);
    for (QWidget* w : root->findChildren<QWidget*>())
        if (marked(w)) ScaleMarksOf(w, M, D);
}
