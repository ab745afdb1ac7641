#include "PostgresStore.h"

#include <pqxx/pqxx>

namespace {
const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS climbs ("
    " id BIGSERIAL PRIMARY KEY, name TEXT NOT NULL, score BIGINT NOT NULL, level INTEGER NOT NULL,"
    " created BIGINT NOT NULL, digest TEXT NOT NULL UNIQUE, replay BYTEA NOT NULL);"
    "CREATE INDEX IF NOT EXISTS climbs_by_score ON climbs (score DESC);";
}  // namespace

cPostgresStore::cPostgresStore(const std::string& address) : address(address) { connect(); }

cPostgresStore::~cPostgresStore() = default;

void cPostgresStore::connect() {
    db.reset(new pqxx::connection(address));
    {
        // Two servers starting at once must not both create the table.
        pqxx::work w(*db);
        w.exec("SELECT pg_advisory_xact_lock(7411)");
        w.exec(kSchema);
        w.commit();
    }
    db->prepare("add", "INSERT INTO climbs (name, score, level, created, digest, replay) VALUES ($1, $2, $3, $4, $5, $6)"
                       " ON CONFLICT (digest) DO NOTHING RETURNING id");
    db->prepare("has", "SELECT 1 FROM climbs WHERE digest = $1");
    db->prepare("best", climbSql::best(true));
    db->prepare("better", climbSql::better(true));
    db->prepare("replay", "SELECT replay FROM climbs WHERE id = $1");
}

template <typename Step>
auto cPostgresStore::run(Step step) -> decltype(step()) {
    std::lock_guard<std::mutex> hold(lock);
    try {
        return step();
    } catch (const pqxx::broken_connection&) {
        connect();
        return step();
    }
}

bool cPostgresStore::add(cWorldClimb& climb, const std::string& digest, const std::string& replay) {
    return run([&] {
        pqxx::work w(*db);
        const pqxx::binarystring blob(replay);
        const pqxx::result r = w.exec_prepared("add", climb.name, static_cast<long long>(climb.score), climb.level,
                                               static_cast<long long>(climb.date), digest, blob);
        w.commit();
        if (r.empty()) return false;
        climb.id = r[0][0].as<long long>();
        return true;
    });
}

bool cPostgresStore::has(const std::string& digest) {
    return run([&] {
        pqxx::read_transaction r(*db);
        return !r.exec_prepared("has", digest).empty();
    });
}

std::vector<cWorldClimb> cPostgresStore::best(std::int64_t since, int limit) {
    return run([&] {
        pqxx::read_transaction r(*db);
        std::vector<cWorldClimb> rows;
        for (const auto& row : r.exec_prepared("best", static_cast<long long>(since), limit)) {
            cWorldClimb c;
            c.id = row[0].as<long long>();
            c.name = row[1].as<std::string>();
            c.score = static_cast<unsigned>(row[2].as<long long>());
            c.level = row[3].as<int>();
            c.date = row[4].as<long long>();
            rows.push_back(c);
        }
        return rows;
    });
}

int cPostgresStore::rankOf(const std::string& name, unsigned score) {
    return run([&] {
        pqxx::read_transaction r(*db);
        return 1 + r.exec_prepared("better", name, static_cast<long long>(score))[0][0].as<int>();
    });
}

bool cPostgresStore::replay(std::int64_t id, std::string& bytes) {
    return run([&] {
        pqxx::read_transaction r(*db);
        const pqxx::result rows = r.exec_prepared("replay", static_cast<long long>(id));
        if (rows.empty()) return false;
        bytes = pqxx::binarystring(rows[0][0]).str();
        return true;
    });
}

bool cPostgresStore::healthy() {
    try {
        return run([&] {
            pqxx::read_transaction r(*db);
            r.exec("SELECT 1");
            return true;
        });
    } catch (const std::exception&) {
        return false;
    }
}

std::string cPostgresStore::where() const { return std::string("the PostgreSQL database ") + db->dbname(); }
