#include "common/readable_colour.h"

#include <algorithm>
#include <cmath>

namespace ostrac::ui {

namespace {

constexpr double text_contrast = 4.5;

double luminance(const QColor& colour) {
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

}  // namespace

double contrast_ratio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readable_on(const QColor& wanted, const QColor& background) {
    if (contrast_ratio(wanted, background) >= text_contrast) return wanted;
    const QColor hsl = wanted.toHsl();
    // Away from the background's lightness, one step at a time.
    const int step = luminance(background) < 0.18 ? 1 : -1;
    QColor shade = wanted;
    for (int lightness = hsl.lightness(); lightness >= 0 && lightness <= 255; lightness += step) {
        shade = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
        if (contrast_ratio(shade, background) >= text_contrast) break;
    }
    return shade.toRgb();
}

}  // namespace ostrac::ui
