-- Law database 3: practice notes for chartered accountants and the schedules of the Act.
CREATE TABLE CAPractice (
    ID     INTEGER PRIMARY KEY,
    name   TEXT COLLATE NOCASE,
    Type   TEXT COLLATE NOCASE,
    Weight INTEGER,
    fname  BLOB
);

-- Stid names the state: 'k' is Kerala.
CREATE TABLE Allshedule (
    ID      INTEGER PRIMARY KEY,
    Schname TEXT COLLATE NOCASE,
    Stid    TEXT COLLATE NOCASE,
    fname   BLOB
);
