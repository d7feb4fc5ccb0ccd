-- A data file the backup copies; no code reads it. Writing the header makes it a real,
-- empty database rather than a zero-length file.
PRAGMA user_version = 1;
