#pragma once

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "ConnectionPool.h"
#include "DatabaseError.h"
#include "core/platform/NonCopyable.h"

namespace tl::market {

// The rows (or the outcome) of one PostgreSQL statement.
class PgResult : NonCopyable {
public:
    explicit PgResult(PGresult* result) : result_(result) {}
    PgResult(PgResult&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
    ~PgResult() { PQclear(result_); }

    int rows() const { return PQntuples(result_); }
    std::string text(int row, int column) const;
    std::int64_t integer(int row, int column) const;
    // A bytea value (which arrives in its text form) as its bytes.
    std::string bytes(int row, int column) const;
    bool isNull(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }
    PGresult* handle() const { return result_; }
    // Rows an INSERT, UPDATE or DELETE touched.
    std::int64_t affected() const;

private:
    PGresult* result_;
};

// Statement parameters: texts go as their bytes with their length (a text holding a NUL byte is
// refused by the server rather than cut short), numbers in their text form.
class PgParameters {
public:
    template <typename... Values>
    explicit PgParameters(const Values&... values) {
        values_.reserve(sizeof...(values));
        (add(values), ...);
    }

    void add(std::string_view value) { push(std::string(value), true); }
    void add(const std::string& value) { push(value, true); }
    void add(const char* value) { push(value, true); }
    void add(double value);
    template <typename Integer>
    requires std::is_integral_v<Integer>
    void add(Integer value) { push(std::to_string(value), false); }

    int count() const { return static_cast<int>(values_.size()); }
    const char* const* values() const { return pointers_.data(); }
    const int* lengths() const { return lengths_.data(); }
    const int* formats() const { return formats_.data(); }

private:
    void push(std::string value, bool binary);

    std::vector<std::unique_ptr<std::string>> values_;
    std::vector<const char*> pointers_;
    std::vector<int> lengths_, formats_;
};

// One connection to the database. Each statement text is prepared once per connection and kept.
class PgConnection : NonCopyable {
public:
    explicit PgConnection(const std::string& uri);
    ~PgConnection();

    PgResult run(const std::string& sql, const PgParameters& parameters = PgParameters());
    template <typename... Values>
    PgResult query(const std::string& sql, const Values&... values) {
        return run(sql, PgParameters(values...));
    }
    // Statements without parameters or results, several allowed in one text.
    void execute(const std::string& sql);

    // Runs body inside BEGIN ... COMMIT; rolls back when body throws.
    template <typename Body>
    void transaction(Body&& body) {
        execute("BEGIN");
        try {
            body();
            execute("COMMIT");
        } catch (...) {
            if (PQstatus(connection_) == CONNECTION_OK) PQclear(PQexec(connection_, "ROLLBACK"));
            throw;
        }
    }

    // Fit to be handed out again: connected and outside any transaction.
    bool reusable() const;
    PGconn* handle() { return connection_; }

private:
    [[noreturn]] void fail(const std::string& what) const;

    PGconn* connection_ = nullptr;
    std::unordered_map<std::string, std::string> prepared_;  // statement text -> name
};

// The pool of connections to one database.
using PgDatabase = ConnectionPool<PgConnection>;

}  // namespace tl::market
