-- stivora.mdb: every table of the program and the rows it is supplied with.
-- The program never creates or alters tables; change the schema here only.
--
-- Conventions:
--   * text compares without regard to case, as the program's finds and duplicate
--     checks expect: every text column is COLLATE NOCASE, and so is every index on one;
--   * VARCHAR(n) is a text of at most n characters (the engine refuses longer text),
--     TEXT without a width is unlimited;
--   * BOOLEAN holds 0/1, DATETIME holds 'yyyy-MM-dd HH:mm:ss';
--   * automatic keys are AUTOINCREMENT so that key order is insertion order and a key
--     is never handed out twice, not even after the table was emptied;
--   * lines go with their header (ON DELETE CASCADE).

BEGIN;

-- Settings: a single row.
CREATE TABLE Setup (
    ID                      INTEGER PRIMARY KEY AUTOINCREMENT,
    Lingua                  VARCHAR(10) COLLATE NOCASE,
    OrdineAI                VARCHAR(6) COLLATE NOCASE,
    MargineSinistro         REAL NOT NULL DEFAULT 0,
    MargineSuperiore        REAL NOT NULL DEFAULT 0,
    MargineSinistroImballi  REAL NOT NULL DEFAULT 0,
    MargineSuperioreImballi REAL NOT NULL DEFAULT 0,
    contatore               INTEGER NOT NULL DEFAULT 0,
    pesoPallet1             REAL NOT NULL DEFAULT 0,
    PesoPallet2             REAL NOT NULL DEFAULT 0,
    PesoPallet3             REAL NOT NULL DEFAULT 0,
    PesoPallet4             REAL NOT NULL DEFAULT 0,
    PesoPallet5             REAL NOT NULL DEFAULT 0,
    PesoPallet6             REAL NOT NULL DEFAULT 0,
    PesoPallet7             REAL NOT NULL DEFAULT 0,
    PesoPallet8             REAL NOT NULL DEFAULT 0,
    PesoPallet9             REAL NOT NULL DEFAULT 0,
    PesoPallet0             REAL NOT NULL DEFAULT 0,
    Paese                   VARCHAR(10) COLLATE NOCASE,
    CodProduttore           VARCHAR(7) COLLATE NOCASE,
    Postazione              VARCHAR(10) COLLATE NOCASE,
    StampaCodInterno        BOOLEAN NOT NULL DEFAULT 0,
    StampaDataProd          BOOLEAN NOT NULL DEFAULT 0,
    StampaOraProd           BOOLEAN NOT NULL DEFAULT 0,
    StampaEANProd           BOOLEAN NOT NULL DEFAULT 0,
    StampaEANCartone        BOOLEAN NOT NULL DEFAULT 0,
    StampaPezzi             BOOLEAN NOT NULL DEFAULT 0,
    StampaScadenza          BOOLEAN NOT NULL DEFAULT 0,
    StampaPesoLordo         BOOLEAN NOT NULL DEFAULT 0,
    ForzaDDT                BOOLEAN NOT NULL DEFAULT 0,
    DoubleLayout            BOOLEAN NOT NULL DEFAULT 0,
    CalcScadenza            INTEGER NOT NULL DEFAULT 0,
    PalletDefault           VARCHAR(1) COLLATE NOCASE,
    DurataDefault           INTEGER NOT NULL DEFAULT 0,
    QtDefault               INTEGER NOT NULL DEFAULT 0,
    UnitaDurata             INTEGER NOT NULL DEFAULT 0,
    -- a composed lot is as long as its mask, and a lot holds 20 characters
    MaskLotto               VARCHAR(20) COLLATE NOCASE,
    CartellaRichieste       VARCHAR(255) COLLATE NOCASE,
    ReportPrinter           VARCHAR(255) COLLATE NOCASE,
    ImballiPrinter          VARCHAR(255) COLLATE NOCASE,
    -- operator settings kept by the main window between runs
    lotto                   VARCHAR(20) COLLATE NOCASE,
    AutoUpdateSSCC          BOOLEAN NOT NULL DEFAULT 0,
    AutoTime                BOOLEAN NOT NULL DEFAULT 0,
    PrintPreview            BOOLEAN NOT NULL DEFAULT 0,
    ReprintPreview          BOOLEAN NOT NULL DEFAULT 0,
    AutoLotto               BOOLEAN NOT NULL DEFAULT 0,
    multilotto              BOOLEAN NOT NULL DEFAULT 0,
    ImballiPreview          BOOLEAN NOT NULL DEFAULT 0,
    DDTPreview              BOOLEAN NOT NULL DEFAULT 0,
    QtPrint                 INTEGER NOT NULL DEFAULT 0,
    QtReprint               INTEGER NOT NULL DEFAULT 0,
    PalletDefaultMulti      INTEGER NOT NULL DEFAULT 0,
    QtMulti                 INTEGER NOT NULL DEFAULT 0,
    QtDDT                   INTEGER NOT NULL DEFAULT 0
);

-- Article master.
CREATE TABLE Articoli (
    ID             INTEGER PRIMARY KEY AUTOINCREMENT,
    Sigla          VARCHAR(10) COLLATE NOCASE,
    CodInterno     VARCHAR(13) COLLATE NOCASE,
    -- two halves of 40 characters
    Descrizione    VARCHAR(80) COLLATE NOCASE,
    EANArticolo    VARCHAR(13) COLLATE NOCASE,
    QtCartone      INTEGER,
    EANCartone     VARCHAR(13) COLLATE NOCASE,
    PesoCartone    REAL,
    TipoPallet     VARCHAR(1) COLLATE NOCASE,
    NumCartoni     INTEGER,
    DurataProdotto INTEGER,
    UnitaDurata    INTEGER,
    PrefGTIN       VARCHAR(1) COLLATE NOCASE
);
-- Sigla is unique only when not blank, which the article check enforces itself.
CREATE INDEX Articoli_Sigla ON Articoli (Sigla);
CREATE INDEX Articoli_CodInterno ON Articoli (CodInterno);
CREATE INDEX Articoli_GTIN ON Articoli (PrefGTIN, EANCartone);
-- the lot trace joins archived lines to articles by the article EAN
CREATE INDEX Articoli_EANArticolo ON Articoli (EANArticolo);

-- SSCC archive: one header per printed pallet, one line per article and lot.
-- SSCC is indexed but not unique: a run of several pallets checks only the first
-- SSCC against the archive, and each pallet is printed (and exported) before it is
-- archived, so a unique index would fail only after the label is out.
CREATE TABLE AppTestate (
    IDAppTestate INTEGER PRIMARY KEY AUTOINCREMENT,
    SSCC         VARCHAR(18) COLLATE NOCASE,
    QtCartoni    INTEGER,
    numpezzi     INTEGER,
    pesolordo    REAL,
    TipoPallet   VARCHAR(1) COLLATE NOCASE
);
CREATE INDEX AppTestate_SSCC ON AppTestate (SSCC);

CREATE TABLE AppRighe (
    IDAppRighe   INTEGER PRIMARY KEY AUTOINCREMENT,
    IDAppTestate INTEGER NOT NULL REFERENCES AppTestate (IDAppTestate) ON DELETE CASCADE,
    NumRiga      INTEGER,
    CodInterno   VARCHAR(13) COLLATE NOCASE,
    DataOra      DATETIME,
    QtCartoni    INTEGER,
    Lotto        VARCHAR(20) COLLATE NOCASE,
    DataScadenza DATETIME,
    CodEAN       VARCHAR(13) COLLATE NOCASE,
    GTIN         VARCHAR(14) COLLATE NOCASE,
    numpezzi     INTEGER,
    Descrizione  VARCHAR(80) COLLATE NOCASE
);
CREATE INDEX AppRighe_Testata ON AppRighe (IDAppTestate, NumRiga);
CREATE INDEX AppRighe_Lotto ON AppRighe (Lotto, CodEAN);
CREATE INDEX AppRighe_CodEAN ON AppRighe (CodEAN);

-- Export copy of each printed pallet, collected by other software.
-- Not unique either: the export is cleared on its own, apart from the archive.
CREATE TABLE ExportTestate (
    IDExportTestate INTEGER PRIMARY KEY AUTOINCREMENT,
    SSCC            VARCHAR(18) COLLATE NOCASE,
    QtCartoni       INTEGER,
    numpezzi        INTEGER,
    pesolordo       REAL,
    TipoPallet      VARCHAR(1) COLLATE NOCASE
);
CREATE INDEX ExportTestate_SSCC ON ExportTestate (SSCC);

CREATE TABLE ExportRighe (
    IDExportRighe   INTEGER PRIMARY KEY AUTOINCREMENT,
    IDExportTestate INTEGER NOT NULL REFERENCES ExportTestate (IDExportTestate) ON DELETE CASCADE,
    NumRiga         INTEGER,
    CodInterno      VARCHAR(13) COLLATE NOCASE,
    DataOra         DATETIME,
    QtCartoni       INTEGER,
    Lotto           VARCHAR(20) COLLATE NOCASE,
    DataScadenza    DATETIME,
    CodEAN          VARCHAR(13) COLLATE NOCASE,
    GTIN            VARCHAR(14) COLLATE NOCASE,
    numpezzi        INTEGER,
    Descrizione     VARCHAR(80) COLLATE NOCASE
);
CREATE INDEX ExportRighe_Testata ON ExportRighe (IDExportTestate, NumRiga);

-- Delivery notes. A note is its number and date together; saving a note again
-- deletes the old header and adds a new one, so the pair is not declared unique.
CREATE TABLE DDTTestate (
    IDDDT     INTEGER PRIMARY KEY AUTOINCREMENT,
    NumeroDDT VARCHAR(50) COLLATE NOCASE,
    -- dd/mm/yy as text, compared as typed
    Data      VARCHAR(10) COLLATE NOCASE
);
CREATE INDEX DDTTestate_Numero ON DDTTestate (NumeroDDT, Data);

-- One row per archived line of each pallet of a note, copied at save time.
CREATE TABLE DDTRighe (
    IDDDTRighe   INTEGER PRIMARY KEY AUTOINCREMENT,
    IDDDT        INTEGER NOT NULL REFERENCES DDTTestate (IDDDT) ON DELETE CASCADE,
    NumRiga      INTEGER,
    SSCC         VARCHAR(18) COLLATE NOCASE,
    GTIN         VARCHAR(14) COLLATE NOCASE,
    QtCartoni    INTEGER,
    Lotto        VARCHAR(20) COLLATE NOCASE,
    DataScadenza DATETIME,
    Descrizione  VARCHAR(80) COLLATE NOCASE
);
CREATE INDEX DDTRighe_Testata ON DDTRighe (IDDDT, NumRiga);

-- Print requests, written by the request-file import or by other software.
-- The defaults are those of a request file that leaves a key out, so that other
-- writers may do the same.
CREATE TABLE RichiesteTestate (
    IDRichiesteTestate INTEGER PRIMARY KEY AUTOINCREMENT,
    Copie              INTEGER DEFAULT 1,
    Ristampa           BOOLEAN NOT NULL DEFAULT 0,
    IDAppTestate       INTEGER DEFAULT -1,
    SpecificaContatore BOOLEAN NOT NULL DEFAULT 0,
    ContatoreSSCC      INTEGER DEFAULT 0,
    AggiornaContatore  BOOLEAN NOT NULL DEFAULT 1,
    TipoPallet         VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE RichiesteRighe (
    IDRichiesteRighe   INTEGER PRIMARY KEY AUTOINCREMENT,
    IDRichiesteTestate INTEGER NOT NULL
                       REFERENCES RichiesteTestate (IDRichiesteTestate) ON DELETE CASCADE,
    NumRiga            INTEGER,
    AutoLotto          BOOLEAN NOT NULL DEFAULT 1,
    Lotto              VARCHAR(6) COLLATE NOCASE DEFAULT ' ',
    AutoData           BOOLEAN NOT NULL DEFAULT 1,
    DataOra            DATETIME DEFAULT (datetime('now', 'localtime')),
    PrefGTIN           VARCHAR(1) COLLATE NOCASE DEFAULT '0',
    EANCartone         VARCHAR(13) COLLATE NOCASE DEFAULT '000000000000',
    NumCartoni         INTEGER DEFAULT 1
);
CREATE INDEX RichiesteRighe_Testata ON RichiesteRighe (IDRichiesteTestate, NumRiga);

CREATE TABLE RichiesteImballi (
    IDRichiesteImballi INTEGER PRIMARY KEY AUTOINCREMENT,
    AutoLotto          BOOLEAN NOT NULL DEFAULT 1,
    Lotto              VARCHAR(6) COLLATE NOCASE DEFAULT ' ',
    AutoData           BOOLEAN NOT NULL DEFAULT 1,
    DataOra            DATETIME DEFAULT (datetime('now', 'localtime')),
    PrefGTIN           VARCHAR(1) COLLATE NOCASE DEFAULT '0',
    EANCartone         VARCHAR(13) COLLATE NOCASE DEFAULT '000000000000',
    NumCartoni         INTEGER DEFAULT 1
);

-- Request files on their way into the request tables. Each program that imports them
-- takes them into a folder of its own under ".inCorso" of the request folder, held while
-- it runs: the folder's row (Numero 0) is written before a file moves there, the row of
-- each file it took (Numero 1, 2, ...) in the transaction that stores the file's requests.
-- A file left in a folder nobody holds was imported when its row is here.
CREATE TABLE RichiestePrese (
    Cartella VARCHAR(16) COLLATE NOCASE NOT NULL,
    Numero   INTEGER NOT NULL,
    PRIMARY KEY (Cartella, Numero)
);

-- Report tables: filled right before a print, read by the layouts.
-- Widths hold the longest value written: the element strings in text form reach
-- about 80 characters with a 20-character lot, and pieces on a pallet (cartons
-- times pieces per carton) easily pass five digits. Barcode-font strings get 255.
CREATE TABLE ReportPallet (
    ID                INTEGER PRIMARY KEY AUTOINCREMENT,
    CodInterno        VARCHAR(13) COLLATE NOCASE,
    Descrizione       VARCHAR(80) COLLATE NOCASE,
    DataOraProduzione VARCHAR(20) COLLATE NOCASE,
    SSCC_Form         VARCHAR(22) COLLATE NOCASE,
    GTIN_Form         VARCHAR(50) COLLATE NOCASE,
    NumImballi        VARCHAR(10) COLLATE NOCASE,
    EANUC_Form        VARCHAR(16) COLLATE NOCASE,
    NumPezzi          VARCHAR(10) COLLATE NOCASE,
    DataScadenza      VARCHAR(20) COLLATE NOCASE,
    Lotto             VARCHAR(20) COLLATE NOCASE,
    PesoLordo         VARCHAR(20) COLLATE NOCASE,
    E128_Text         VARCHAR(100) COLLATE NOCASE,
    SSCC_Text         VARCHAR(22) COLLATE NOCASE,
    E128_Barcode      VARCHAR(255) COLLATE NOCASE,
    SSCC_Barcode      VARCHAR(255) COLLATE NOCASE
);

-- Article-list labels of a mixed pallet: up to five lines per label.
CREATE TABLE ReportPalletArticoli (
    ID             INTEGER PRIMARY KEY AUTOINCREMENT,
    SSCC_Form      VARCHAR(22) COLLATE NOCASE,
    SSCC_Text      VARCHAR(22) COLLATE NOCASE,
    SSCC_Barcode   VARCHAR(255) COLLATE NOCASE,
    E128_1_Text    VARCHAR(100) COLLATE NOCASE,
    E128_1_Barcode VARCHAR(255) COLLATE NOCASE,
    E128_2_Text    VARCHAR(100) COLLATE NOCASE,
    E128_2_Barcode VARCHAR(255) COLLATE NOCASE,
    E128_3_Text    VARCHAR(100) COLLATE NOCASE,
    E128_3_Barcode VARCHAR(255) COLLATE NOCASE,
    E128_4_Text    VARCHAR(100) COLLATE NOCASE,
    E128_4_Barcode VARCHAR(255) COLLATE NOCASE,
    E128_5_Text    VARCHAR(100) COLLATE NOCASE,
    E128_5_Barcode VARCHAR(255) COLLATE NOCASE
);

-- Carton label: one row, edited in place by every carton job.
-- Lotto takes a whole lot (20), as the pallet label does.
CREATE TABLE ReportImballi (
    ID                INTEGER PRIMARY KEY AUTOINCREMENT,
    CodInterno        VARCHAR(13) COLLATE NOCASE,
    DataOraProduzione VARCHAR(20) COLLATE NOCASE,
    Descrizione       VARCHAR(80) COLLATE NOCASE,
    EANUC_Form        VARCHAR(16) COLLATE NOCASE,
    NumPezzi          VARCHAR(5) COLLATE NOCASE,
    DataScadenza      VARCHAR(20) COLLATE NOCASE,
    Lotto             VARCHAR(20) COLLATE NOCASE,
    EANUC_Barcode     VARCHAR(255) COLLATE NOCASE
);

-- Delivery-note summary: one row per ten note lines.
CREATE TABLE ReportDDT (
    ID             INTEGER PRIMARY KEY AUTOINCREMENT,
    NumeroDDT      VARCHAR(50) COLLATE NOCASE,
    Data           VARCHAR(10) COLLATE NOCASE,
    SSCC1          VARCHAR(18) COLLATE NOCASE,
    GTIN1          VARCHAR(14) COLLATE NOCASE,
    QtCartoni1     VARCHAR(45) COLLATE NOCASE,
    Lotto1         VARCHAR(20) COLLATE NOCASE,
    DataScadenza1  VARCHAR(30) COLLATE NOCASE,
    SSCC2          VARCHAR(18) COLLATE NOCASE,
    GTIN2          VARCHAR(14) COLLATE NOCASE,
    QtCartoni2     VARCHAR(8) COLLATE NOCASE,
    Lotto2         VARCHAR(20) COLLATE NOCASE,
    DataScadenza2  VARCHAR(30) COLLATE NOCASE,
    SSCC3          VARCHAR(18) COLLATE NOCASE,
    GTIN3          VARCHAR(14) COLLATE NOCASE,
    QtCartoni3     VARCHAR(8) COLLATE NOCASE,
    Lotto3         VARCHAR(20) COLLATE NOCASE,
    DataScadenza3  VARCHAR(30) COLLATE NOCASE,
    SSCC4          VARCHAR(18) COLLATE NOCASE,
    GTIN4          VARCHAR(14) COLLATE NOCASE,
    QtCartoni4     VARCHAR(8) COLLATE NOCASE,
    Lotto4         VARCHAR(20) COLLATE NOCASE,
    DataScadenza4  VARCHAR(30) COLLATE NOCASE,
    SSCC5          VARCHAR(18) COLLATE NOCASE,
    GTIN5          VARCHAR(14) COLLATE NOCASE,
    QtCartoni5     VARCHAR(8) COLLATE NOCASE,
    Lotto5         VARCHAR(20) COLLATE NOCASE,
    DataScadenza5  VARCHAR(30) COLLATE NOCASE,
    SSCC6          VARCHAR(18) COLLATE NOCASE,
    GTIN6          VARCHAR(14) COLLATE NOCASE,
    QtCartoni6     VARCHAR(8) COLLATE NOCASE,
    Lotto6         VARCHAR(20) COLLATE NOCASE,
    DataScadenza6  VARCHAR(30) COLLATE NOCASE,
    SSCC7          VARCHAR(18) COLLATE NOCASE,
    GTIN7          VARCHAR(14) COLLATE NOCASE,
    QtCartoni7     VARCHAR(8) COLLATE NOCASE,
    Lotto7         VARCHAR(20) COLLATE NOCASE,
    DataScadenza7  VARCHAR(30) COLLATE NOCASE,
    SSCC8          VARCHAR(18) COLLATE NOCASE,
    GTIN8          VARCHAR(14) COLLATE NOCASE,
    QtCartoni8     VARCHAR(8) COLLATE NOCASE,
    Lotto8         VARCHAR(20) COLLATE NOCASE,
    DataScadenza8  VARCHAR(30) COLLATE NOCASE,
    SSCC9          VARCHAR(18) COLLATE NOCASE,
    GTIN9          VARCHAR(14) COLLATE NOCASE,
    QtCartoni9     VARCHAR(8) COLLATE NOCASE,
    Lotto9         VARCHAR(20) COLLATE NOCASE,
    DataScadenza9  VARCHAR(30) COLLATE NOCASE,
    SSCC10         VARCHAR(18) COLLATE NOCASE,
    GTIN10         VARCHAR(14) COLLATE NOCASE,
    QtCartoni10    VARCHAR(8) COLLATE NOCASE,
    Lotto10        VARCHAR(20) COLLATE NOCASE,
    DataScadenza10 VARCHAR(30) COLLATE NOCASE
);

-- Supplied settings. The SSCC is extension digit + Paese (2) + CodProduttore (5)
-- + Postazione (1) + serial (8 digits with a 5-digit producer) + check digit = 18.
INSERT INTO Setup (
    ID, Lingua, OrdineAI,
    MargineSinistro, MargineSuperiore, MargineSinistroImballi, MargineSuperioreImballi,
    contatore,
    pesoPallet1, PesoPallet2, PesoPallet3, PesoPallet4, PesoPallet5,
    PesoPallet6, PesoPallet7, PesoPallet8, PesoPallet9, PesoPallet0,
    Paese, CodProduttore, Postazione,
    StampaCodInterno, StampaDataProd, StampaOraProd, StampaEANProd,
    StampaEANCartone, StampaPezzi, StampaScadenza, StampaPesoLordo,
    ForzaDDT, DoubleLayout, CalcScadenza,
    PalletDefault, DurataDefault, QtDefault, UnitaDurata,
    MaskLotto, CartellaRichieste, ReportPrinter, ImballiPrinter,
    lotto, AutoUpdateSSCC, AutoTime, PrintPreview, ReprintPreview, AutoLotto,
    multilotto, ImballiPreview, DDTPreview,
    QtPrint, QtReprint, PalletDefaultMulti, QtMulti, QtDDT
) VALUES (
    1, '0', '123456',
    0, 0, 0, 0,
    0,
    -- 1 EUR 800x1200, 2 industrial 1000x1200, 3 half, 4 quarter, 5 plastic;
    -- the other types are set by the user
    25, 30, 15, 10, 20,
    0, 0, 0, 0, 0,
    '80', '12345', '1',
    1, 1, 1, 1,
    1, 1, 1, 1,
    0, 0, 0,
    -- shelf life 30 days; an automatic lot is year and day of the year (yyddd)
    '1', 30, 1, 1,
    'aaggg', NULL, '', '',
    '', 1, 1, 0, 0, 0,
    0, 0, 0,
    1, 1, 1, 1, 1
);

-- The carton job edits this row and never adds one.
INSERT INTO ReportImballi (ID, CodInterno, DataOraProduzione, Descrizione, EANUC_Form,
                           NumPezzi, DataScadenza, Lotto, EANUC_Barcode)
VALUES (1, '', '', '', '', '', '', '', '');

COMMIT;
