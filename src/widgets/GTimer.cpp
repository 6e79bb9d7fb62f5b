// Filled in by the widget work.
