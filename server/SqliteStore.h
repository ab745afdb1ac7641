// The world table in an SQLite file: write-ahead logging with a full sync
// on every commit, so that an accepted climb survives a crash or a power cut.
#pragma once

#include <mutex>

#include "ClimbStore.h"

struct sqlite3;
struct sqlite3_stmt;

class cSqliteStore : public cClimbStore {
public:
    explicit cSqliteStore(const std::string& path);
    ~cSqliteStore() override;

    bool add(cWorldClimb& climb, const std::string& digest, const std::string& replay) override;
    bool has(const std::string& digest) override;
    std::vector<cWorldClimb> best(std::int64_t since, int limit) override;
    int rankOf(const std::string& name, unsigned score) override;
    bool replay(std::int64_t id, std::string& bytes) override;
    bool healthy() override;
    std::string where() const override { return path; }

private:
    // A prepared statement, reset and cleared for its next use.
    sqlite3_stmt* statement(int which);
    void fail(const char* what) const;

    std::string path;
    sqlite3* db = nullptr;
    sqlite3_stmt* prepared[6] = {};
    std::mutex lock;  // one statement at a time on the one connection
};
