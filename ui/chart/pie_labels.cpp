#include "chart/pie_labels.h"

#include <QFontMetricsF>
#include <QPieSeries>
#include <QPieSlice>
#include <QtMath>
#include <algorithm>
#include <numeric>

namespace ostrac::ui {

namespace {

// The gap the chart leaves between a slice and the start of its arm.
constexpr double arm_gap = 5.0;
// Labels this close count as touching.
constexpr double label_gap = 2.0;

// A point `length` away in the direction `angle` (degrees clockwise from
// twelve o'clock), as the chart measures slice angles.
QPointF offset(double angle, double length) {
    return {length * std::sin(qDegreesToRadians(angle)), -length * std::cos(qDegreesToRadians(angle))};
}

}  // namespace

QString pie_label_text(double share) { return QString::number(share * 100.0, 'g', 3) + QLatin1Char('%'); }

std::vector<PieLabel> place_pie_labels(const QPieSeries& pie, const QRectF& plot_area) {
    const QList<QPieSlice*> slices = pie.slices();
    const QPointF centre(plot_area.left() + plot_area.width() * pie.horizontalPosition(),
                         plot_area.top() + plot_area.height() * pie.verticalPosition());
    const double radius = std::min(plot_area.width(), plot_area.height()) / 2.0 * pie.pieSize();
    std::vector<PieLabel> labels;
    for (const QPieSlice* slice : slices) {
        double angle = std::fmod(slice->startAngle() + slice->angleSpan() / 2.0, 360.0);
        if (angle < 0) angle += 360.0;
        // The chart turns arms that would point straight down aside.
        if (angle > 170.0 && angle < 180.0) angle = 170.0;
        if (angle > 180.0 && angle < 190.0) angle = 190.0;
        const QPointF arm_end = centre + offset(angle, radius + arm_gap) +
                                offset(angle, radius * slice->labelArmLengthFactor());
        const QFontMetricsF metrics(slice->labelFont());
        const QSizeF size(metrics.horizontalAdvance(slice->label()), metrics.height());
        QRectF rect(QPointF(), size);
        rect.moveBottomLeft(angle < 180.0 ? arm_end : arm_end - QPointF(size.width(), 0));
        labels.push_back({rect, false});
    }
    // Larger slices first; a label is kept when it stays clear of those kept.
    std::vector<std::size_t> order(labels.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&slices](std::size_t a, std::size_t b) {
        return slices[static_cast<qsizetype>(a)]->value() > slices[static_cast<qsizetype>(b)]->value();
    });
    for (const std::size_t i : order) {
        if (slices[static_cast<qsizetype>(i)]->value() <= 0) continue;
        const QRectF clearance = labels[i].rect.adjusted(-label_gap, -label_gap, label_gap, label_gap);
        labels[i].shown = std::none_of(labels.begin(), labels.end(), [&](const PieLabel& other) {
            return other.shown && other.rect.intersects(clearance);
        });
    }
    return labels;
}

}  // namespace ostrac::ui
