// The world table in PostgreSQL, which several servers may share: each climb
// is added in a transaction of its own, committed before it is answered.
#pragma once

#include <memory>
#include <mutex>

#include "ClimbStore.h"

#include <pqxx/connection>

class cPostgresStore : public cClimbStore {
public:
    explicit cPostgresStore(const std::string& address);
    ~cPostgresStore() override;

    bool add(cWorldClimb& climb, const std::string& digest, const std::string& replay) override;
    bool has(const std::string& digest) override;
    std::vector<cWorldClimb> best(std::int64_t since, int limit) override;
    int rankOf(const std::string& name, unsigned score) override;
    bool replay(std::int64_t id, std::string& bytes) override;
    bool healthy() override;
    std::string where() const override;

private:
    // Runs a step on the connection, opening it again once if it was lost.
    template <typename Step>
    auto run(Step step) -> decltype(step());
    void connect();

    std::string address;
    std::unique_ptr<pqxx::connection> db;
    std::mutex lock;  // one transaction at a time on the one connection
};
