-- A data file the backup copies; no code reads it. Writing the header makes it a real,
-- empty database rather than a zero-length file. The user_version is its mark: Restore
-- takes a backup file in its place only when it carries it.
PRAGMA user_version = 1;
