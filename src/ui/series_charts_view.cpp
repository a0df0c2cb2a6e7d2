// Three charts painted one above the other: two curves and a bar chart.
#include "series_charts_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace velkaran {
namespace {

const QColor Ink(0x2f, 0x2a, 0x22);
const QColor Grid(0xd9, 0xd2, 0xc3);
const QColor Band(0xb9, 0x82, 0x2a, 70);
const QColor Line(0xb9, 0x45, 0x1f);
const std::array<QColor, 2> PlayerColors{QColor(0x2f, 0x6f, 0xb0), QColor(0xc0, 0x7a, 0x1a)};
constexpr int LeftMargin = 56, RightMargin = 14, TitleHeight = 22, BottomMargin = 20;

QString Text(const std::string &Value) { return QString::fromStdString(Value); }

// The plot area of a chart drawn in Box: inside the title, the marks and the margins.
QRectF PlotArea(const QRectF &Box) {
    return Box.adjusted(LeftMargin, TitleHeight, -RightMargin, -BottomMargin);
}

void DrawEmpty(QPainter &Painter, const QRectF &Area, const std::string &Why) {
    Painter.setPen(Ink);
    Painter.drawText(Area, Qt::AlignCenter | Qt::TextWordWrap, Text(Why));
}

void DrawCurve(QPainter &Painter, const QRectF &Box, const TCurveChart &Chart) {
    Painter.setPen(Ink);
    Painter.drawText(Box.adjusted(8, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, Text(Chart.Title));
    const QRectF Area = PlotArea(Box);
    if (!Chart.Empty.empty()) return DrawEmpty(Painter, Area, Chart.Empty);
    const double YSpan = std::max(Chart.YMax - Chart.YMin, 1e-9);
    const auto X = [&](double Value) {
        return Area.left() + Area.width() * Value / std::max(Chart.XMax, 1.0);
    };
    const auto Y = [&](double Value) { return Area.bottom() - Area.height() * (Value - Chart.YMin) / YSpan; };
    for (const TAxisMark &Mark : Chart.YMarks) {
        Painter.setPen(Grid);
        Painter.drawLine(QPointF(Area.left(), Y(Mark.At)), QPointF(Area.right(), Y(Mark.At)));
        Painter.setPen(Ink);
        Painter.drawText(QRectF(Box.left(), Y(Mark.At) - 8, LeftMargin - 6, 16),
                         Qt::AlignRight | Qt::AlignVCenter, Text(Mark.Text));
    }
    for (const TAxisMark &Mark : Chart.XMarks)
        Painter.drawText(QRectF(X(Mark.At) - 30, Area.bottom() + 2, 60, BottomMargin - 2),
                         Qt::AlignHCenter | Qt::AlignTop, Text(Mark.Text));
    Painter.setPen(QPen(Ink, 1, Qt::DashLine));
    Painter.drawLine(QPointF(Area.left(), Y(Chart.Reference)), QPointF(Area.right(), Y(Chart.Reference)));
    QPolygonF Upper, Lower, Curve;
    for (const TChartPoint &Point : Chart.Points) {
        Upper << QPointF(X(Point.X), Y(Point.High));
        Lower.prepend(QPointF(X(Point.X), Y(Point.Low)));
        Curve << QPointF(X(Point.X), Y(Point.Y));
    }
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Band);
    Painter.drawPolygon(Upper + Lower);
    Painter.setBrush(Qt::NoBrush);
    Painter.setPen(QPen(Line, 2));
    Painter.drawPolyline(Curve);
}

void DrawTimes(QPainter &Painter, const QRectF &Box, const TTimeChart &Chart) {
    Painter.setPen(Ink);
    Painter.drawText(Box.adjusted(8, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, Text(Chart.Title));
    const QRectF Area = PlotArea(Box);
    if (!Chart.Empty.empty()) return DrawEmpty(Painter, Area, Chart.Empty);
    for (std::size_t Player = 0; Player < 2; ++Player) {
        const QRectF Key(Box.right() - 260 + 130 * static_cast<double>(Player), Box.top() + 4, 124, 16);
        Painter.fillRect(QRectF(Key.left(), Key.top() + 4, 10, 10), PlayerColors[Player]);
        Painter.setPen(Ink);
        Painter.drawText(Key.adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         Painter.fontMetrics().elidedText(Text(Chart.Legend[Player]), Qt::ElideRight, 108));
    }
    uint64_t Most = 1;
    for (const auto &Moves : Chart.Moves)
        for (const uint64_t Count : Moves) Most = std::max(Most, Count);
    const auto Bars = static_cast<double>(Chart.BarTexts.size());
    const double Width = Area.width() / std::max(Bars, 1.0);
    Painter.setPen(Grid);
    Painter.drawLine(Area.bottomLeft(), Area.bottomRight());
    const int LabelEvery = std::max(1, static_cast<int>(std::ceil(120 / Width)));
    for (std::size_t Bar = 0; Bar < Chart.BarTexts.size(); ++Bar) {
        const double Left = Area.left() + Width * static_cast<double>(Bar);
        for (std::size_t Player = 0; Player < 2; ++Player) {
            const double Height =
                Area.height() * static_cast<double>(Chart.Moves[Player][Bar]) / static_cast<double>(Most);
            Painter.fillRect(QRectF(Left + Width * (0.1 + 0.4 * static_cast<double>(Player)),
                                    Area.bottom() - Height, Width * 0.4, Height),
                             PlayerColors[Player]);
        }
        if (Bar % static_cast<std::size_t>(LabelEvery) != 0) continue;
        const QRectF Label(Left + Width / 2 - 55, Area.bottom() + 2, 110, BottomMargin - 2);
        if (Label.right() > Box.right()) continue;
        Painter.setPen(Ink);
        Painter.drawText(Label, Qt::AlignHCenter | Qt::AlignTop, Text(Chart.BarTexts[Bar]));
    }
    Painter.drawText(QRectF(Box.left(), Area.top() - 8, LeftMargin - 6, 16),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(Most));
}

}  // namespace

TSeriesChartsView::TSeriesChartsView(QWidget *Parent) : QWidget(Parent) {
    setObjectName(QStringLiteral("SeriesChartsView"));
    setAutoFillBackground(true);
    QPalette Colors = palette();
    Colors.setColor(QPalette::Window, Qt::white);
    setPalette(Colors);
    setMinimumHeight(360);
}

void TSeriesChartsView::ShowCharts(TSeriesCharts Charts) {
    Shown = std::move(Charts);
    update();
}

void TSeriesChartsView::paintEvent(QPaintEvent *) {
    QPainter Painter(this);
    Painter.setRenderHint(QPainter::Antialiasing);
    const double Third = height() / 3.0;
    const auto Box = [this, Third](int Index) { return QRectF(0, Third * Index, width(), Third); };
    DrawCurve(Painter, Box(0), Shown.Score);
    DrawCurve(Painter, Box(1), Shown.Elo);
    DrawTimes(Painter, Box(2), Shown.Times);
}

}  // namespace velkaran
