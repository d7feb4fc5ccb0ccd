-- A data file the restore copies; no code reads it. The user_version is its mark: Restore
-- takes a backup file in its place only when it carries it.
PRAGMA user_version = 1;
