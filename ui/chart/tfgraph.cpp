#include "chart/tfgraph.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSvgGenerator>

#include "common/window_stacking.h"
#include "graph/redraw.h"

namespace ostrac::ui {

namespace {

// Design colours (the window colours 0xACFFD8 and 0x80FFFF are stored blue
// first).
constexpr QRgb background_end_colour = 0xD8FFAC;  // light green
constexpr QRgb plot_area_colour = 0xFFFF80;       // light yellow

void style_chart(QChart* chart) {
    // The background runs from white at the top to light green at the bottom.
    QLinearGradient background(0.0, 0.0, 0.0, 1.0);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0.0, Qt::white);
    background.setColorAt(1.0, QColor(background_end_colour));
    chart->setBackgroundBrush(background);
    chart->setBackgroundRoundness(0.0);
    chart->layout()->setContentsMargins(0, 0, 0, 0);  // the background fills the view
    chart->setPlotAreaBackgroundBrush(QColor(plot_area_colour));
    chart->setPlotAreaBackgroundVisible(true);

    QFont title_font(QStringLiteral("Arial"));
    title_font.setStyleHint(QFont::SansSerif);
    title_font.setPixelSize(16);
    chart->setTitleFont(title_font);
    chart->setTitleBrush(QColor(Qt::blue));
    chart->legend()->setVisible(false);
}

// The first printer of the system: the default one, or else any.
QPrinterInfo system_printer() {
    const QPrinterInfo default_printer = QPrinterInfo::defaultPrinter();
    if (!default_printer.isNull()) return default_printer;
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    return printers.isEmpty() ? QPrinterInfo() : printers.front();
}

}  // namespace

TFGraph::TFGraph(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      Chart1(new QChartView(this)),
      chart_(Chart1->chart()) {
    qRegisterMetaType<graph::SeriesTable>();
    setObjectName("TFGraph");
    setWindowTitle("OSTRAC GRAPH");

    Chart1->setObjectName("Chart1");
    Chart1->setRenderHint(QPainter::Antialiasing);
    // The view keeps the chart's minimum size as its own; without one the
    // chart follows the window down to any size.
    Chart1->chart()->setMinimumSize(0.0, 0.0);
    style_chart(Chart1->chart());
    chart_.set_titles(QString(), QStringLiteral("X"), QStringLiteral("Y"));

    PButton = new QPushButton("Print", this);
    PButton->setObjectName("PButton");
    connect(PButton, &QPushButton::clicked, this, &TFGraph::PButtonClick);

    // Beyond printing, the chart can be kept as a picture.
    Chart1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Chart1, &QWidget::customContextMenuRequested, this, &TFGraph::Chart1ContextMenu);

    // The chart fills the window less one pixel on the right, the Print
    // button sits under it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 1, 0);
    layout->setSpacing(0);
    layout->addWidget(Chart1, 1);
    layout->addWidget(PButton, 0, Qt::AlignLeft);

    // Client area of the designed 260 x 272 window, or what the font needs.
    resize(QSize(250, 241).expandedTo(minimumSizeHint()));
    move(75, 13);
}

void TFGraph::showSeries(const graph::SeriesTable& table) {
    graph::redraw(table, chart_);
    chart_.fit_to_data();
}

void TFGraph::setTitles(const QString& main, const QString& x_title, const QString& y_title) {
    chart_.set_titles(main, x_title, y_title);
}

bool TFGraph::print_chart(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The painter's origin is the top left corner of the printable area.
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const QRect source = Chart1->viewport()->rect();
    const QSizeF size = QSizeF(source.size()).scaled(page, Qt::KeepAspectRatio);
    const QRectF target(QPointF((page.width() - size.width()) / 2, (page.height() - size.height()) / 2), size);
    Chart1->render(&painter, target, source, Qt::IgnoreAspectRatio);
    return painter.end();
}

void TFGraph::PButtonClick() {
    const QPrinterInfo printer_info = system_printer();
    QPrinter printer(QPrinter::HighResolution);
    if (printer_info.isNull()) {
        QString file = ask_file_to_save(this, "Print the chart to a PDF file", "PDF files (*.pdf)");
        if (file.isEmpty()) return;
        if (QFileInfo(file).suffix().isEmpty()) file += ".pdf";
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    } else {
        printer.setPrinterName(printer_info.printerName());
    }
    if (!print_chart(printer)) {
        warn(this, QStringLiteral("The chart could not be printed on %1.")
                       .arg(printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName()));
    }
}

bool TFGraph::save_png(const QString& path) const {
    return Chart1->grab().save(path, "PNG");
}

bool TFGraph::save_svg(const QString& path) const {
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(Chart1->viewport()->size());
    generator.setViewBox(Chart1->viewport()->rect());
    generator.setTitle(windowTitle());
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    Chart1->render(&painter, QRectF(), Chart1->viewport()->rect());
    return painter.end() && QFileInfo(path).size() > 0;
}

void TFGraph::Chart1ContextMenu(const QPoint& position) {
    QMenu menu(this);
    QAction* png = menu.addAction("Save as PNG...");
    menu.addAction("Save as SVG...");
    QAction* chosen = menu.exec(Chart1->mapToGlobal(position));
    if (chosen == nullptr) return;
    const bool as_png = chosen == png;
    const QString suffix = as_png ? "png" : "svg";
    QString file =
        ask_file_to_save(this, QStringLiteral("Save the chart"), as_png ? "PNG images (*.png)" : "SVG drawings (*.svg)");
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) file += "." + suffix;
    if (!(as_png ? save_png(file) : save_svg(file))) {
        warn(this, QStringLiteral("The chart could not be saved as %1.").arg(file));
    }
}

}  // namespace ostrac::ui
