// Keeps the library non-empty before the builder exists.
