#include "SqliteStore.h"

#include <sqlite3.h>

#include <stdexcept>

namespace {
enum { Add, Has, Best, Better, Replay, Ping };
const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS climbs ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL, score INTEGER NOT NULL,"
    " level INTEGER NOT NULL, created INTEGER NOT NULL, digest TEXT NOT NULL UNIQUE, replay BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS climbs_by_score ON climbs (score DESC);";
}  // namespace

cSqliteStore::cSqliteStore(const std::string& path) : path(path) {
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        fail("cannot be opened");
    sqlite3_busy_timeout(db, 10000);  // another server on the same file is writing
    if (sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail("cannot hold the table");
    const std::string sql[] = {
        "INSERT INTO climbs (name, score, level, created, digest, replay) VALUES (?, ?, ?, ?, ?, ?)"
        " ON CONFLICT (digest) DO NOTHING",
        "SELECT 1 FROM climbs WHERE digest = ?", climbSql::best(false), climbSql::better(false),
        "SELECT replay FROM climbs WHERE id = ?", "SELECT COUNT(*) FROM climbs"};
    for (int i = 0; i < 6; ++i)
        if (sqlite3_prepare_v2(db, sql[i].c_str(), -1, &prepared[i], nullptr) != SQLITE_OK) fail("cannot prepare a query");
}

cSqliteStore::~cSqliteStore() {
    for (sqlite3_stmt* s : prepared) sqlite3_finalize(s);
    sqlite3_close(db);
}

void cSqliteStore::fail(const char* what) const {
    throw std::runtime_error("the database " + path + " " + what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

sqlite3_stmt* cSqliteStore::statement(int which) {
    sqlite3_reset(prepared[which]);
    sqlite3_clear_bindings(prepared[which]);
    return prepared[which];
}

bool cSqliteStore::add(cWorldClimb& climb, const std::string& digest, const std::string& replay) {
    std::lock_guard<std::mutex> hold(lock);
    sqlite3_stmt* s = statement(Add);
    sqlite3_bind_text(s, 1, climb.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(s, 2, climb.score);
    sqlite3_bind_int(s, 3, climb.level);
    sqlite3_bind_int64(s, 4, climb.date);
    sqlite3_bind_text(s, 5, digest.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(s, 6, replay.data(), static_cast<int>(replay.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(s) != SQLITE_DONE) fail("refused a climb");  // committed (and synced) when done
    if (sqlite3_changes(db) == 0) return false;
    climb.id = sqlite3_last_insert_rowid(db);
    return true;
}

bool cSqliteStore::has(const std::string& digest) {
    std::lock_guard<std::mutex> hold(lock);
    sqlite3_stmt* s = statement(Has);
    sqlite3_bind_text(s, 1, digest.c_str(), -1, SQLITE_TRANSIENT);
    return sqlite3_step(s) == SQLITE_ROW;
}

std::vector<cWorldClimb> cSqliteStore::best(std::int64_t since, int limit) {
    std::lock_guard<std::mutex> hold(lock);
    sqlite3_stmt* s = statement(Best);
    sqlite3_bind_int64(s, 1, since);
    sqlite3_bind_int(s, 2, limit);
    std::vector<cWorldClimb> rows;
    while (sqlite3_step(s) == SQLITE_ROW) {
        cWorldClimb c;
        c.id = sqlite3_column_int64(s, 0);
        c.name = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
        c.score = static_cast<unsigned>(sqlite3_column_int64(s, 2));
        c.level = sqlite3_column_int(s, 3);
        c.date = sqlite3_column_int64(s, 4);
        rows.push_back(c);
    }
    return rows;
}

int cSqliteStore::rankOf(const std::string& name, unsigned score) {
    std::lock_guard<std::mutex> hold(lock);
    sqlite3_stmt* s = statement(Better);
    sqlite3_bind_text(s, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(s, 2, score);
    return sqlite3_step(s) == SQLITE_ROW ? 1 + sqlite3_column_int(s, 0) : 0;
}

bool cSqliteStore::replay(std::int64_t id, std::string& bytes) {
    std::lock_guard<std::mutex> hold(lock);
    sqlite3_stmt* s = statement(Replay);
    sqlite3_bind_int64(s, 1, id);
    if (sqlite3_step(s) != SQLITE_ROW) return false;
    bytes.assign(static_cast<const char*>(sqlite3_column_blob(s, 0)), static_cast<std::size_t>(sqlite3_column_bytes(s, 0)));
    return true;
}

bool cSqliteStore::healthy() {
    std::lock_guard<std::mutex> hold(lock);
    return sqlite3_step(statement(Ping)) == SQLITE_ROW;
}
