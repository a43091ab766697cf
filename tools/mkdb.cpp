// Builds a database file from an SQL script: used at build time to make stivora.mdb.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkdb SCRIPT.sql OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mkdb: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream sql;
    sql << in.rdbuf();
    std::string tmp = std::string(argv[2]) + ".tmp";
    std::remove(tmp.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "mkdb: cannot create %s\n", tmp.c_str());
        return 1;
    }
    char* err = nullptr;
    int rc = sqlite3_exec(db, sql.str().c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "mkdb: %s\n", err ? err : "error");
        sqlite3_free(err);
        sqlite3_close(db);
        std::remove(tmp.c_str());
        return 1;
    }
    sqlite3_close(db);
    // Replace the output only once the script ran whole.
    if (std::rename(tmp.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "mkdb: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
