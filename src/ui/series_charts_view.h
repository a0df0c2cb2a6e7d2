// The "Графики" tab of the result window: the running score, the Elo estimate with its interval
// and the thinking times of a series, drawn from what the summary library computes.
#pragma once

#include "summary/series_charts.h"

#include <QWidget>

namespace velkaran {

class TSeriesChartsView : public QWidget {
public:
    explicit TSeriesChartsView(QWidget *Parent = nullptr);

    // Draws Charts from now on.
    void ShowCharts(TSeriesCharts Charts);
    const TSeriesCharts &Charts() const { return Shown; }

protected:
    void paintEvent(QPaintEvent *Event) override;

private:
    TSeriesCharts Shown;
};

}  // namespace velkaran
