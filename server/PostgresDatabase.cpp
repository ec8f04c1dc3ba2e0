#include "PostgresDatabase.h"

#include <charconv>

namespace tl::market {

std::string PgResult::text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column),
                       static_cast<std::size_t>(PQgetlength(result_, row, column)));
}

std::int64_t PgResult::integer(int row, int column) const {
    const char* value = PQgetvalue(result_, row, column);
    std::int64_t out = 0;
    std::from_chars(value, value + PQgetlength(result_, row, column), out);
    return out;
}

std::string PgResult::bytes(int row, int column) const {
    std::size_t length = 0;
    unsigned char* raw = PQunescapeBytea(
        reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row, column)), &length);
    if (!raw) throw DatabaseError("a bytea value could not be read");
    std::string out(reinterpret_cast<const char*>(raw), length);
    PQfreemem(raw);
    return out;
}

std::int64_t PgResult::affected() const {
    const char* count = PQcmdTuples(result_);
    std::int64_t out = 0;
    std::from_chars(count, count + std::char_traits<char>::length(count), out);
    return out;
}

void PgParameters::add(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    push(std::string(buffer, end), false);
}

void PgParameters::push(std::string value, bool binary) {
    values_.push_back(std::make_unique<std::string>(std::move(value)));
    pointers_.push_back(values_.back()->c_str());
    lengths_.push_back(static_cast<int>(values_.back()->size()));
    formats_.push_back(binary ? 1 : 0);
}

PgConnection::PgConnection(const std::string& uri) : connection_(PQconnectdb(uri.c_str())) {
    if (!connection_ || PQstatus(connection_) != CONNECTION_OK) {
        // The message names host and database, never the password.
        const std::string message = connection_ ? PQerrorMessage(connection_) : "out of memory";
        PQfinish(connection_);
        throw DatabaseError("cannot connect to PostgreSQL: " + message);
    }
    execute("SET client_encoding = 'UTF8'");
    // Every statement is planned for its values: a text search on a rare word and one on a
    // common word want different plans (the trigram index, or the newest rows first).
    execute("SET plan_cache_mode = force_custom_plan");
}

PgConnection::~PgConnection() {
    PQfinish(connection_);
}

void PgConnection::fail(const std::string& what) const {
    throw DatabaseError(what + ": " + PQerrorMessage(connection_));
}

PgResult PgConnection::run(const std::string& sql, const PgParameters& parameters) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        const std::string name = "s" + std::to_string(prepared_.size());
        PgResult prepared(PQprepare(connection_, name.c_str(), sql.c_str(), 0, nullptr));
        if (PQresultStatus(prepared.handle()) != PGRES_COMMAND_OK) fail("prepare");
        it = prepared_.emplace(sql, name).first;
    }
    PgResult result(PQexecPrepared(connection_, it->second.c_str(), parameters.count(),
                                   parameters.values(), parameters.lengths(), parameters.formats(),
                                   0));
    const auto status = PQresultStatus(result.handle());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail("statement");
    return result;
}

void PgConnection::execute(const std::string& sql) {
    PgResult result(PQexec(connection_, sql.c_str()));
    const auto status = PQresultStatus(result.handle());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail("statement");
}

bool PgConnection::reusable() const {
    return PQstatus(connection_) == CONNECTION_OK &&
           PQtransactionStatus(connection_) == PQTRANS_IDLE;
}

}  // namespace tl::market
