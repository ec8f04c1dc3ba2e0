#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ConnectionPool.h"
#include "DatabaseError.h"
#include "core/platform/NonCopyable.h"

namespace tl::market {

// Bytes to bind as a BLOB (texts bind as TEXT).
struct Blob {
    std::string_view bytes;
};

// One prepared statement, reset and with its bindings cleared when the Statement goes away, so
// the connection can hand the same compiled statement out again.
class Statement : NonCopyable {
public:
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    ~Statement();

    // Binds the values in order, starting at parameter 1.
    template <typename... Values>
    Statement& bind(const Values&... values) {
        int index = 0;
        (bindOne(++index, values), ...);
        return *this;
    }

    // Binds one value at a 1-based parameter index.
    void bindAt(int index, std::string_view value);
    void bindAt(int index, std::int64_t value);
    void bindAt(int index, double value);
    void bindAt(int index, Blob value);

    bool step();  // true while a row is available
    void run();   // steps to the end

    std::string text(int column) const;
    std::string blob(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    bool isNull(int column) const;

private:
    void bindOne(int index, std::string_view value) { bindAt(index, value); }
    void bindOne(int index, const std::string& value) { bindAt(index, std::string_view(value)); }
    void bindOne(int index, const char* value) { bindAt(index, std::string_view(value)); }
    void bindOne(int index, std::int64_t value) { bindAt(index, value); }
    void bindOne(int index, int value) { bindAt(index, static_cast<std::int64_t>(value)); }
    void bindOne(int index, double value) { bindAt(index, value); }
    void bindOne(int index, Blob value) { bindAt(index, value); }
    void bindOne(int index, const std::optional<double>& value);

    sqlite3_stmt* statement_;
};

// One SQLite connection in WAL mode with a busy time-out; it compiles each statement text once
// and keeps it for reuse.
class Connection : NonCopyable {
public:
    explicit Connection(const std::string& path);
    ~Connection();

    Statement prepare(const std::string& sql);
    void execute(const std::string& sql);  // statements without results, no bindings
    std::int64_t changes() const;
    std::int64_t lastInsertId() const;
    // Outside any transaction, so fit to be handed out again.
    bool reusable() const;

    // Runs body inside BEGIN IMMEDIATE ... COMMIT; rolls back when body throws.
    template <typename Body>
    void transaction(Body&& body) {
        execute("BEGIN IMMEDIATE");
        try {
            body();
            execute("COMMIT");
        } catch (...) {
            execute("ROLLBACK");
            throw;
        }
    }

private:
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

// The pool of connections to one database file.
using Database = ConnectionPool<Connection>;

}  // namespace tl::market
