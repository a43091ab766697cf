// The supplied stivora.mdb: its tables, its settings row and the behaviour the program
// expects of the database itself (case-blind text, cascading lines, indexed lookups).
// Talks to SQLite directly, so it checks the file and not the engine layer over it.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

class Db {
public:
    explicit Db(const std::string& path, bool readOnly = false)
    {
        const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db_);
    }
    ~Db() { sqlite3_close(db_); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    sqlite3* handle() const { return db_; }

    // Runs statements; returns the error text, empty on success.
    std::string exec(const std::string& sql)
    {
        char* err = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) == SQLITE_OK) return {};
        std::string out = err ? err : "error";
        sqlite3_free(err);
        return out;
    }

    // Every row of a query, each column as text ("<null>" for NULL).
    std::vector<std::vector<std::string>> rows(const std::string& sql)
    {
        std::vector<std::vector<std::string>> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(db_) << " in: " << sql;
            return out;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const unsigned char* t = sqlite3_column_text(st, i);
                row.push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
            }
            out.push_back(row);
        }
        sqlite3_finalize(st);
        return out;
    }

    std::string value(const std::string& sql)
    {
        auto r = rows(sql);
        return r.empty() || r[0].empty() ? std::string("<none>") : r[0][0];
    }

    long long count(const std::string& sql) { return std::stoll(value(sql)); }

private:
    sqlite3* db_ = nullptr;
};

// Writes go to a copy: the built file is shared by every test program.
class WritableCopy {
public:
    WritableCopy()
    {
        path_ = dir_.filePath(QStringLiteral("stivora.mdb")).toStdString();
        EXPECT_TRUE(QFile::copy(QStringLiteral(STIVORA_MDB_PATH), QString::fromStdString(path_)));
        QFile::setPermissions(QString::fromStdString(path_), QFile::ReadOwner | QFile::WriteOwner);
    }
    const std::string& path() const { return path_; }

private:
    QTemporaryDir dir_;
    std::string path_;
};

const std::vector<std::string> kTables = {
    "Setup", "Articoli", "AppTestate", "AppRighe", "ExportTestate", "ExportRighe",
    "DDTTestate", "DDTRighe", "RichiesteTestate", "RichiesteRighe", "RichiesteImballi", "RichiestePrese",
    "ReportPallet", "ReportPalletArticoli", "ReportImballi", "ReportDDT"};

std::vector<std::string> columnsOf(Db& db, const std::string& table)
{
    std::vector<std::string> out;
    for (auto& r : db.rows("PRAGMA table_info(" + table + ")")) out.push_back(r[1]);
    return out;
}

struct ColumnInfo {
    std::string type;
    std::string collation;
};

ColumnInfo columnInfo(Db& db, const std::string& table, const std::string& column)
{
    const char* type = nullptr;
    const char* coll = nullptr;
    int notNull = 0, pk = 0, autoinc = 0;
    if (sqlite3_table_column_metadata(db.handle(), "main", table.c_str(), column.c_str(), &type, &coll, &notNull, &pk,
                                      &autoinc) != SQLITE_OK) {
        ADD_FAILURE() << "no column " << table << "." << column;
        return {};
    }
    return {type ? type : "", coll ? coll : ""};
}

// Declared width of a text column; 0 when it has none.
int widthOf(Db& db, const std::string& table, const std::string& column)
{
    static const QRegularExpression re(QStringLiteral("\\((\\d+)\\)"));
    auto m = re.match(QString::fromStdString(columnInfo(db, table, column).type));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

TEST(Schema, HasTheSixteenTablesAndNoOther)
{
    Db db(STIVORA_MDB_PATH, true);
    std::set<std::string> found;
    for (auto& r : db.rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"))
        found.insert(r[0]);
    EXPECT_EQ(found, std::set<std::string>(kTables.begin(), kTables.end()));
}

// The engine reads each column by its declared type; a type it does not know, or a text
// column that compares with case, would silently change finds and duplicate checks.
TEST(Schema, EveryColumnHasAKnownTypeAndTextIgnoresCase)
{
    Db db(STIVORA_MDB_PATH, true);
    static const QRegularExpression known(
        QStringLiteral("^(INTEGER|REAL|BOOLEAN|DATETIME|TEXT|VARCHAR\\(\\d+\\))$"));
    for (const auto& t : kTables) {
        for (const auto& c : columnsOf(db, t)) {
            ColumnInfo info = columnInfo(db, t, c);
            const QString type = QString::fromStdString(info.type).toUpper();
            EXPECT_TRUE(known.match(type).hasMatch()) << t << "." << c << " is " << info.type;
            if (type.startsWith(QLatin1String("VARCHAR")) || type == QLatin1String("TEXT")) {
                EXPECT_EQ(info.collation, "NOCASE") << t << "." << c;
            }
        }
    }
}

// Columns that must take the longest value the printing and archiving write into them.
TEST(Schema, TextColumnsHoldWhatIsWritten)
{
    Db db(STIVORA_MDB_PATH, true);
    struct Need {
        const char* table;
        const char* column;
        int chars;
    };
    const Need needs[] = {
        // SSCC: 18 digits; formed: 18 plus four blanks; text: "(00)" plus 18
        {"AppTestate", "SSCC", 18}, {"ExportTestate", "SSCC", 18}, {"DDTRighe", "SSCC", 18},
        {"ReportPallet", "SSCC_Form", 22}, {"ReportPallet", "SSCC_Text", 22},
        {"ReportPalletArticoli", "SSCC_Form", 22}, {"ReportDDT", "SSCC10", 18},
        // description: two halves of 40
        {"Articoli", "Descrizione", 80}, {"AppRighe", "Descrizione", 80}, {"ReportPallet", "Descrizione", 80},
        {"ReportImballi", "Descrizione", 80}, {"DDTRighe", "Descrizione", 80},
        // a typed lot has up to 20 characters, and a composed one is as long as the mask
        {"Setup", "lotto", 20}, {"AppRighe", "Lotto", 20}, {"ExportRighe", "Lotto", 20}, {"DDTRighe", "Lotto", 20},
        {"ReportPallet", "Lotto", 20}, {"ReportImballi", "Lotto", 20}, {"ReportDDT", "Lotto1", 20},
        // GTIN-14, EAN-13, internal code 13
        {"AppRighe", "GTIN", 14}, {"AppRighe", "CodEAN", 13}, {"AppRighe", "CodInterno", 13},
        // text form of a full element string with a 20-character lot and 5-digit counts
        {"ReportPallet", "E128_Text", 81}, {"ReportPalletArticoli", "E128_5_Text", 71},
        // 1000 cartons of 1000 pieces
        {"ReportPallet", "NumPezzi", 7},
        // the cartons of a pallet, as many as (37) states
        {"ReportPallet", "NumImballi", 8}, {"ReportDDT", "QtCartoni1", 8}, {"ReportDDT", "QtCartoni10", 8},
        {"Setup", "CodProduttore", 7}, {"Setup", "OrdineAI", 6},
    };
    for (const auto& n : needs) {
        const int w = widthOf(db, n.table, n.column);
        EXPECT_TRUE(w == 0 || w >= n.chars) << n.table << "." << n.column << " holds " << w << ", needs " << n.chars;
    }
}

TEST(Schema, SetupIsOneRowThatMakesAValidSscc)
{
    Db db(STIVORA_MDB_PATH, true);
    ASSERT_EQ(db.count("SELECT count(*) FROM Setup"), 1);

    // Every setting holds a value but those that may be empty.
    const std::set<std::string> mayBeNull = {"MaskLotto", "CartellaRichieste", "lotto"};
    const auto cols = columnsOf(db, "Setup");
    for (const auto& c : cols) {
        if (mayBeNull.count(c)) continue;
        EXPECT_EQ(db.count("SELECT count(*) FROM Setup WHERE \"" + c + "\" IS NULL"), 0) << c;
    }
    // Columns read by name; "PesoPallet" + a pallet digit must exist for every digit.
    std::set<std::string> lower;
    for (const auto& c : cols) lower.insert(QString::fromStdString(c).toLower().toStdString());
    for (char d = '0'; d <= '9'; ++d) EXPECT_TRUE(lower.count(std::string("pesopallet") + d)) << d;

    auto s = db.rows("SELECT Paese, CodProduttore, Postazione, contatore, OrdineAI, Lingua, PalletDefault, "
                     "QtDefault, DurataDefault, UnitaDurata, ReportPrinter, ImballiPrinter FROM Setup")[0];
    const std::string paese = s[0], produttore = s[1], postazione = s[2];
    ASSERT_TRUE(produttore.size() == 5 || produttore.size() == 7) << produttore;
    // pallet type + country + producer + workstation + serial + check digit
    const std::size_t serial = produttore.size() == 5 ? 8 : 6;
    const std::string sscc = "1" + paese + produttore + postazione + std::string(serial, '0');
    EXPECT_EQ(sscc.size() + 1, 18u) << sscc;
    EXPECT_EQ(sscc.find_first_not_of("0123456789"), std::string::npos) << sscc;
    EXPECT_EQ(s[3], "0");

    std::string order = s[4];
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, "123456") << s[4];
    EXPECT_EQ(s[5], "0");
    ASSERT_EQ(s[6].size(), 1u);
    EXPECT_TRUE(s[6][0] >= '0' && s[6][0] <= '9');
    // A new article made from the defaults must pass the article check (no zero counts).
    EXPECT_NE(s[7], "0");
    EXPECT_NE(s[8], "0");
    EXPECT_TRUE(std::stoi(s[9]) >= 0 && std::stoi(s[9]) <= 4);
    EXPECT_EQ(s[10], "");
    EXPECT_EQ(s[11], "");

    auto flags = db.rows("SELECT StampaCodInterno, StampaDataProd, StampaOraProd, StampaEANProd, StampaEANCartone, "
                         "StampaPezzi, StampaScadenza, StampaPesoLordo, ForzaDDT, DoubleLayout, AutoUpdateSSCC, "
                         "AutoTime, QtPrint, QtReprint, QtMulti, QtDDT FROM Setup")[0];
    for (int i = 0; i < 8; ++i) EXPECT_EQ(flags[i], "1") << "label switch " << i;
    EXPECT_EQ(flags[8], "0");
    EXPECT_EQ(flags[9], "0");
    EXPECT_EQ(flags[10], "1");
    EXPECT_EQ(flags[11], "1");
    for (int i = 12; i < 16; ++i) EXPECT_GE(std::stoi(flags[i]), 1) << "copies " << i;

    // The carton job edits the one supplied row and never adds one.
    EXPECT_EQ(db.count("SELECT count(*) FROM ReportImballi"), 1);
    for (const auto& t : kTables) {
        if (t != "Setup" && t != "ReportImballi") {
            EXPECT_EQ(db.count("SELECT count(*) FROM " + t), 0) << t;
        }
    }
}

TEST(Schema, LinesAreDeletedWithTheirHeader)
{
    WritableCopy copy;
    Db db(copy.path());
    ASSERT_EQ(db.exec("PRAGMA foreign_keys = ON"), "");

    struct Pair {
        const char* header;
        const char* key;
        const char* lines;
        const char* headerValues; // column list and values of a header row
    };
    const Pair pairs[] = {
        {"AppTestate", "IDAppTestate", "AppRighe", "(SSCC) VALUES ('380123451000000012')"},
        {"ExportTestate", "IDExportTestate", "ExportRighe", "(SSCC) VALUES ('380123451000000012')"},
        {"DDTTestate", "IDDDT", "DDTRighe", "(NumeroDDT, Data) VALUES ('12', '05/01/26')"},
        {"RichiesteTestate", "IDRichiesteTestate", "RichiesteRighe", "(Copie) VALUES (1)"},
    };
    for (const auto& p : pairs) {
        SCOPED_TRACE(p.header);
        const std::string h = p.header, k = p.key, l = p.lines;
        ASSERT_EQ(db.exec("INSERT INTO " + h + " " + p.headerValues), "");
        const std::string first = std::to_string(sqlite3_last_insert_rowid(db.handle()));
        ASSERT_EQ(db.exec("INSERT INTO " + h + " " + p.headerValues), "");
        const std::string second = std::to_string(sqlite3_last_insert_rowid(db.handle()));
        for (const auto& id : {first, first, first, second})
            ASSERT_EQ(db.exec("INSERT INTO " + l + " (" + k + ", NumRiga) VALUES (" + id + ", 1)"), "");

        // A line must belong to a header that exists.
        EXPECT_NE(db.exec("INSERT INTO " + l + " (" + k + ", NumRiga) VALUES (999999, 1)"), "");

        ASSERT_EQ(db.exec("DELETE FROM " + h + " WHERE " + k + " = " + first), "");
        EXPECT_EQ(db.count("SELECT count(*) FROM " + l + " WHERE " + k + " = " + first), 0);
        EXPECT_EQ(db.count("SELECT count(*) FROM " + l + " WHERE " + k + " = " + second), 1);

        // Clearing the whole header table, as the archive and export clearing do.
        ASSERT_EQ(db.exec("DELETE FROM " + h), "");
        EXPECT_EQ(db.count("SELECT count(*) FROM " + l), 0);
    }
}

// After the archive is cleared a new pallet must not get the key of an old one: the
// reprint field may still hold that key and would reprint the wrong pallet.
TEST(Schema, KeysFollowInsertionAndAreNeverReused)
{
    WritableCopy copy;
    Db db(copy.path());
    ASSERT_EQ(db.exec("PRAGMA foreign_keys = ON"), "");
    for (const char* table : {"AppTestate", "ExportTestate", "DDTTestate", "RichiesteTestate", "ReportPallet"}) {
        const std::string t = table;
        ASSERT_EQ(db.exec("INSERT INTO " + t + " DEFAULT VALUES; INSERT INTO " + t + " DEFAULT VALUES"), "") << t;
        const long long last = sqlite3_last_insert_rowid(db.handle());
        ASSERT_EQ(db.exec("DELETE FROM " + t + "; INSERT INTO " + t + " DEFAULT VALUES"), "") << t;
        EXPECT_GT(sqlite3_last_insert_rowid(db.handle()), last) << t;
    }
}

TEST(Schema, TextIsFoundWhateverItsCase)
{
    WritableCopy copy;
    Db db(copy.path());
    ASSERT_EQ(db.exec("INSERT INTO Articoli (Sigla, CodInterno, EANArticolo, PrefGTIN, EANCartone) "
                      "VALUES ('abc', 'int-7', '8012345678907', '1', '8012345000017');"
                      "INSERT INTO AppTestate (SSCC) VALUES ('38012345100000004x');"
                      "INSERT INTO DDTTestate (NumeroDDT, Data) VALUES ('a12', '05/01/26');"),
              "");
    EXPECT_EQ(db.count("SELECT count(*) FROM Articoli WHERE Sigla = 'ABC'"), 1);
    EXPECT_EQ(db.count("SELECT count(*) FROM Articoli WHERE CodInterno = 'INT-7'"), 1);
    // the article search: "start of the code", any case
    EXPECT_EQ(db.count("SELECT count(*) FROM Articoli WHERE Sigla LIKE 'AB%'"), 1);
    EXPECT_EQ(db.count("SELECT count(*) FROM AppTestate WHERE SSCC = '38012345100000004X'"), 1);
    EXPECT_EQ(db.count("SELECT count(*) FROM DDTTestate WHERE NumeroDDT = 'A12' AND Data = '05/01/26'"), 1);
    // ...but a different text stays different
    EXPECT_EQ(db.count("SELECT count(*) FROM Articoli WHERE Sigla = 'ABD'"), 0);
    // the order of the article list ignores case too
    ASSERT_EQ(db.exec("INSERT INTO Articoli (Sigla) VALUES ('B'), ('a')"), "");
    auto order = db.rows("SELECT Sigla FROM Articoli ORDER BY Sigla DESC");
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0][0], "B");
    EXPECT_EQ(order[1][0], "abc");
    EXPECT_EQ(order[2][0], "a");
}

// The recordsets are opened over tables that grow to millions of rows: each lookup the
// program makes must be a search through an index, not a scan.
TEST(Schema, LookupsUseAnIndex)
{
    Db db(STIVORA_MDB_PATH, true);
    const std::vector<std::string> lookups = {
        "SELECT * FROM AppTestate WHERE SSCC = ?",
        "SELECT * FROM AppRighe WHERE IDAppTestate = ? ORDER BY NumRiga",
        "SELECT * FROM AppRighe WHERE Lotto = ?",
        "SELECT * FROM AppRighe WHERE CodEAN = ?",
        "SELECT * FROM ExportRighe WHERE IDExportTestate = ?",
        "SELECT * FROM Articoli WHERE Sigla = ?",
        "SELECT * FROM Articoli WHERE CodInterno = ?",
        "SELECT * FROM Articoli WHERE EANArticolo = ?",
        "SELECT * FROM Articoli WHERE PrefGTIN = ? AND EANCartone = ?",
        "SELECT * FROM DDTTestate WHERE NumeroDDT = ? AND Data = ?",
        "SELECT * FROM DDTRighe WHERE IDDDT = ? ORDER BY NumRiga",
        "SELECT * FROM RichiesteRighe WHERE IDRichiesteTestate = ? ORDER BY NumRiga",
    };
    for (const auto& sql : lookups) {
        auto plan = db.rows("EXPLAIN QUERY PLAN " + sql);
        ASSERT_FALSE(plan.empty()) << sql;
        std::string all;
        for (auto& r : plan) all += r.back() + "\n";
        EXPECT_NE(all.find("SEARCH"), std::string::npos) << sql << "\n" << all;
        EXPECT_NE(all.find("USING"), std::string::npos) << sql << "\n" << all;
        EXPECT_NE(all.find("INDEX"), std::string::npos) << sql << "\n" << all;
        EXPECT_EQ(all.find("TEMP B-TREE"), std::string::npos) << sql << "\n" << all;
    }
    // The reprint field starts on the highest SSCC: read from the index's end.
    auto plan = db.rows("EXPLAIN QUERY PLAN SELECT * FROM AppTestate ORDER BY SSCC DESC LIMIT 1");
    ASSERT_FALSE(plan.empty());
    EXPECT_NE(plan[0].back().find("INDEX"), std::string::npos) << plan[0].back();
}
