// Keeps the support library non-empty before the shared fixtures exist.
