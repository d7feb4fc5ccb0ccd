-- Law database 1: the main document table, the index table, judgments and the placeholder.
-- Text compares without regard to case, as the program's queries expect.
CREATE TABLE Kerala (
    name      TEXT COLLATE NOCASE,
    SecDesc   TEXT COLLATE NOCASE,
    type      TEXT COLLATE NOCASE,
    ChapterNo INTEGER,
    fname     BLOB
);
CREATE INDEX KeralaName ON Kerala (name);

-- Each cell: a label, a "-" and the name of the document it points at.
CREATE TABLE Keralafields (
    ID                  INTEGER PRIMARY KEY,
    ActSection          TEXT COLLATE NOCASE,
    CircularNumber      TEXT COLLATE NOCASE,
    CircularSubject     TEXT COLLATE NOCASE,
    CircularSection     TEXT COLLATE NOCASE,
    NotificationNumber  TEXT COLLATE NOCASE,
    NotificationSubject TEXT COLLATE NOCASE,
    NotifcaionSection   TEXT COLLATE NOCASE,
    VatJudgmentCitation TEXT COLLATE NOCASE,
    VatJudgmentSection  TEXT COLLATE NOCASE,
    VatJudgmentSubject  TEXT COLLATE NOCASE,
    RJudgmentCitation   TEXT COLLATE NOCASE,
    RJudjmentSection    TEXT COLLATE NOCASE,
    RJudgmentSubject    TEXT COLLATE NOCASE
);

CREATE TABLE Globalvat (
    name  TEXT COLLATE NOCASE,
    type  TEXT COLLATE NOCASE,
    fname BLOB
);
CREATE INDEX GlobalvatName ON Globalvat (name);
