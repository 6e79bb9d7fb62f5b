// Filled in by the imaging work.
