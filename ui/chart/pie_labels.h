// The labels of a pie: each slice's share in percent, drawn outside the
// pie at the end of an arm. Small slices lie close together, so their
// labels would overlap; only labels that overlap none of the labels of
// larger slices are shown.
#pragma once

#include <QRectF>
#include <QString>
#include <vector>

class QPieSeries;

namespace ostrac::ui {

struct PieLabel {
    QRectF rect;  // where the chart draws the label, in chart coordinates
    bool shown;
};

// The label text of a slice with this share (0 to 1): "25%", "58.3%".
QString pie_label_text(double share);

// Where the chart draws the labels of `pie` (slices in order) on a plot
// area of this place and size, the way the chart lays them out: the arm
// starts beside the slice's middle, runs outwards, and the text sits on
// its end, to the right on the right half and to the left on the left.
std::vector<PieLabel> place_pie_labels(const QPieSeries& pie, const QRectF& plot_area);

}  // namespace ostrac::ui
