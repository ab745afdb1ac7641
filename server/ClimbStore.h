// Where the world table's climbs are kept: an SQLite file on one machine, or
// a PostgreSQL database that several servers share. Every statement is
// prepared, and a climb is committed before anyone is told it was accepted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct cWorldClimb {
    std::int64_t id = 0;
    std::string name;
    unsigned score = 0;
    int level = 0;
    std::int64_t date = 0;  // when it was accepted, in Unix seconds
};

class cClimbStore {
public:
    virtual ~cClimbStore() = default;
    // Adds a verified climb with its replay and the replay's digest. False
    // when a climb of the same digest is kept already.
    virtual bool add(cWorldClimb& climb, const std::string& digest, const std::string& replay) = 0;
    virtual bool has(const std::string& digest) = 0;
    // Each name's best climb accepted since `since`, best first (the earlier
    // of equal scores first), at most `limit` of them.
    virtual std::vector<cWorldClimb> best(std::int64_t since, int limit) = 0;
    // The rank a score of this name takes among the other names' bests.
    virtual int rankOf(const std::string& name, unsigned score) = 0;
    virtual bool replay(std::int64_t id, std::string& bytes) = 0;
    // Whether the database answers.
    virtual bool healthy() = 0;
    // What the server prints on start: the file or the database.
    virtual std::string where() const = 0;

    // "sqlite:PATH" or a "postgresql://" address; throws std::runtime_error
    // when the database cannot be opened.
    static std::unique_ptr<cClimbStore> open(const std::string& address);
};

// The queries both databases share; only their placeholders differ ($1 or ?).
namespace climbSql {
// Each name's best since $1, best first, at most $2.
std::string best(bool numbered);
// How many other names (not $1) have a best above $2.
std::string better(bool numbered);
}  // namespace climbSql
