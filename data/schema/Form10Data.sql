-- A data file the restore copies; no code reads it.
PRAGMA user_version = 1;
