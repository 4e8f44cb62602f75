# Tests of the analysis view's widgets (filled in with the widgets).
