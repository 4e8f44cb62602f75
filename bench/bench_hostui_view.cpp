// Choosing a class in the analysis view.
