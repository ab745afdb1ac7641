#include "ClimbStore.h"

#include <stdexcept>

#include "PostgresStore.h"
#include "SqliteStore.h"

namespace {
std::string placeholders(std::string sql, bool numbered) {
    int n = 0;
    for (std::size_t at = sql.find('?'); at != std::string::npos; at = sql.find('?', at + 1))
        if (numbered) sql.replace(at, 1, "$" + std::to_string(++n));
    return sql;
}
}  // namespace

std::string climbSql::best(bool numbered) {
    return placeholders(
        "SELECT id, name, score, level, created FROM ("
        " SELECT id, name, score, level, created,"
        "  ROW_NUMBER() OVER (PARTITION BY name ORDER BY score DESC, created, id) AS nth"
        " FROM climbs WHERE created >= ?) AS ranked"
        " WHERE nth = 1 ORDER BY score DESC, created, id LIMIT ?",
        numbered);
}

std::string climbSql::better(bool numbered) {
    return placeholders(
        "SELECT COUNT(*) FROM (SELECT name, MAX(score) AS top FROM climbs WHERE name <> ? GROUP BY name) AS bests"
        " WHERE top > ?",
        numbered);
}

std::unique_ptr<cClimbStore> cClimbStore::open(const std::string& address) {
    if (address.rfind("sqlite:", 0) == 0) return std::unique_ptr<cClimbStore>(new cSqliteStore(address.substr(7)));
    if (address.rfind("postgresql://", 0) == 0 || address.rfind("postgres://", 0) == 0)
        return std::unique_ptr<cClimbStore>(new cPostgresStore(address));
    throw std::runtime_error("the database is neither sqlite:PATH nor postgresql://...: " + address);
}
