// Redrawing the lap chart.
