-- Law database 2: further judgment documents.
CREATE TABLE Globalvatse (
    name  TEXT COLLATE NOCASE,
    fname BLOB
);
CREATE INDEX GlobalvatseName ON Globalvatse (name);
