#include <algorithm>

#include "SqliteMarketStore.h"
#include "core/service/MarketContract.h"

namespace tl::market {
namespace {

// Deletes the blob when no listing's file names it any more.
void dropUnnamedBlob(Connection& db, const std::string& sha256) {
    db.prepare(
          "DELETE FROM file_blobs WHERE sha256 = ?1 "
          "AND NOT EXISTS (SELECT 1 FROM listing_files WHERE sha256 = ?1)")
        .bind(sha256)
        .run();
}

template <typename... Values>
std::int64_t number(Connection& db, const std::string& sql, const Values&... values) {
    auto query = db.prepare(sql);
    query.bind(values...);
    query.step();
    return query.integer(0);
}

// Column 0 of the first row, "" when there is none.
template <typename... Values>
std::string firstText(Connection& db, const std::string& sql, const Values&... values) {
    auto query = db.prepare(sql);
    query.bind(values...);
    return query.step() ? query.text(0) : "";
}

}  // namespace

FilePut SqliteMarketStore::putListingFile(std::int64_t productid, const std::string& owner,
                                          const KeptFile& file, std::string_view bytes) {
    auto db = database_.borrow();
    FilePut outcome = FilePut::Stored;
    db->transaction([&] {
        if (number(*db, "SELECT count(*) FROM listings WHERE productid = ? AND owner = ?",
                   productid, owner) == 0) {
            outcome = FilePut::NoListing;
            return;
        }
        const std::string replaced =
            firstText(*db, "SELECT sha256 FROM listing_files WHERE productid = ? AND name = ?",
                      productid, file.name);
        const std::int64_t others =
            number(*db, "SELECT count(*) FROM listing_files WHERE productid = ? AND name <> ?",
                   productid, file.name);
        const std::int64_t ownersOthers =
            number(*db,
                   "SELECT coalesce(sum(size), 0) FROM listing_files WHERE owner = ?1 "
                   "AND NOT (productid = ?2 AND name = ?3)",
                   owner, productid, file.name);
        if (others + 1 > contract::kMostKeptFilesPerListing) {
            outcome = FilePut::TooManyFiles;
        } else if (static_cast<unsigned long long>(ownersOthers + file.size) >
                   contract::kMostKeptMemberBytes) {
            outcome = FilePut::MemberFull;
        }
        if (outcome != FilePut::Stored || replaced == file.sha256) return;
        db->prepare("INSERT OR IGNORE INTO file_blobs(sha256, bytes) VALUES (?, ?)")
            .bind(file.sha256, Blob{bytes})
            .run();
        db->prepare(
              "INSERT INTO listing_files(productid, name, owner, sha256, size) "
              "VALUES (?, ?, ?, ?, ?) ON CONFLICT (productid, name) DO UPDATE SET "
              "owner = excluded.owner, sha256 = excluded.sha256, size = excluded.size")
            .bind(productid, file.name, owner, file.sha256, file.size)
            .run();
        if (!replaced.empty()) dropUnnamedBlob(*db, replaced);
        db->prepare("DELETE FROM kept_listings WHERE productid = ?").bind(productid).run();
    });
    return outcome;
}

bool SqliteMarketStore::keepListingFiles(std::int64_t productid, const std::string&,
                                         const std::vector<std::string>& names) {
    auto db = database_.borrow();
    bool kept = false;
    db->transaction([&] { kept = keepFiles(*db, productid, names); });
    return kept;
}

bool SqliteMarketStore::keepFiles(Connection& db, std::int64_t productid,
                                  const std::vector<std::string>& names) {
    auto stored = db.prepare("SELECT name, sha256 FROM listing_files WHERE productid = ?");
    stored.bind(productid);
    std::size_t present = 0;
    std::vector<std::pair<std::string, std::string>> released;  // name, digest
    while (stored.step()) {
        const std::string name = stored.text(0);
        if (std::find(names.begin(), names.end(), name) != names.end())
            ++present;
        else
            released.emplace_back(name, stored.text(1));
    }
    for (const auto& [name, sha256] : released) {
        db.prepare("DELETE FROM listing_files WHERE productid = ? AND name = ?")
            .bind(productid, name)
            .run();
        dropUnnamedBlob(db, sha256);
    }
    const bool kept = !names.empty() && present == names.size();
    db.prepare(kept ? "INSERT OR IGNORE INTO kept_listings(productid) VALUES (?)"
                    : "DELETE FROM kept_listings WHERE productid = ?")
        .bind(productid)
        .run();
    return kept;
}

std::vector<KeptFile> SqliteMarketStore::keptFiles(std::int64_t productid) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT f.name, f.size, f.sha256 FROM listing_files f "
        "JOIN kept_listings k ON k.productid = f.productid WHERE f.productid = ? ORDER BY f.name");
    query.bind(productid);
    std::vector<KeptFile> out;
    while (query.step()) out.push_back(KeptFile{query.text(0), query.integer(1), query.text(2)});
    return out;
}

std::optional<std::string> SqliteMarketStore::keptFileBytes(std::int64_t productid,
                                                            const std::string& name) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT b.bytes FROM listing_files f JOIN kept_listings k ON k.productid = f.productid "
        "JOIN file_blobs b ON b.sha256 = f.sha256 WHERE f.productid = ? AND f.name = ?");
    if (!query.bind(productid, name).step()) return std::nullopt;
    return query.blob(0);
}

std::vector<std::int64_t> SqliteMarketStore::keptListings(const std::string& owner) {
    auto db = database_.borrow();
    auto query = db->prepare(
        "SELECT DISTINCT f.productid FROM listing_files f "
        "JOIN kept_listings k ON k.productid = f.productid WHERE f.owner = ?");
    query.bind(owner);
    std::vector<std::int64_t> out;
    while (query.step()) out.push_back(query.integer(0));
    return out;
}

}  // namespace tl::market
