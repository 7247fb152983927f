// The graph window: the chart that the graph commands draw (Chart1) and a
// Print button (PButton). Always on top of the other windows and sizeable;
// closing it only hides it.
//
// The engine's graph commands run on the worker thread, but the chart may be
// changed on this window's thread only. The worker side therefore hands over
// copies: showSeries and setTitles are slots meant to be reached through a
// queued connection or QMetaObject::invokeMethod(..., Qt::QueuedConnection),
// with the series table passed by value as a registered meta type.
#pragma once

#include <QMetaType>
#include <QString>
#include <QWidget>

#include "chart/qt_chart.h"
#include "graph/series_table.h"

class QChartView;
class QPrinter;
class QPushButton;

Q_DECLARE_METATYPE(ostrac::graph::SeriesTable)

namespace ostrac::ui {

class TFGraph : public QWidget {
    Q_OBJECT

public:
    explicit TFGraph(QWidget* parent = nullptr);

    // Prints the chart as one page, scaled to fit the printable area of the
    // page and centred on it. Returns false when the printer cannot be used.
    bool print_chart(QPrinter& printer);

    // The chart as a picture, as the chart's context menu offers it.
    bool save_png(const QString& path) const;
    bool save_svg(const QString& path) const;

    QChartView* chart_view() const { return Chart1; }
    // The chart component as the redraw sees it.
    const QtChart& chart() const { return chart_; }

public slots:
    // Draws the series table on the chart (graph::redraw), then fits the
    // axes to the data.
    void showSeries(const ostrac::graph::SeriesTable& table);
    // The `titles` command: main title (line breaks give several lines),
    // bottom axis title, left axis title.
    void setTitles(const QString& main, const QString& x_title, const QString& y_title);

private:
    // Prints on the default printer; without any printer, into a PDF file
    // the user names. Failures are reported in a message box.
    void PButtonClick();
    void Chart1ContextMenu(const QPoint& position);

    QChartView* Chart1 = nullptr;
    QPushButton* PButton = nullptr;
    QtChart chart_;
};

}  // namespace ostrac::ui
