#include <algorithm>
#include <cstdint>
#include <string>

#include "PostgresMarketStore.h"
#include "core/service/MarketContract.h"

namespace tl::market {
namespace {

// The first keys of the advisory locks (two-key form) that file writes take: one member's
// files, so the caps hold across server processes; and one digest's blob, so none is deleted
// while another transaction comes to name it.
constexpr std::int32_t kOwnerFilesLock = 0x746c6601;
constexpr std::int32_t kBlobLock = 0x746c6602;

// Takes the locks of the digests' blobs in ascending key order, which every transaction keeps,
// after its owner's lock.
void lockBlobs(PgConnection& db, const std::vector<std::string>& digests) {
    std::vector<std::int32_t> keys;
    for (const std::string& digest : digests)
        if (!digest.empty())
            keys.push_back(static_cast<std::int32_t>(std::stoul(digest.substr(0, 8), nullptr, 16)));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const std::int32_t key : keys)
        db.query("SELECT pg_advisory_xact_lock($1::int4, $2::int4)", kBlobLock, key);
}

// Deletes the blob when no listing's file names it any more (its lock is held).
void dropUnnamedBlob(PgConnection& db, const std::string& sha256) {
    db.query(
        "DELETE FROM file_blobs WHERE sha256 = $1::text "
        "AND NOT EXISTS (SELECT 1 FROM listing_files WHERE sha256 = $1::text)",
        sha256);
}

}  // namespace

void PostgresMarketStore::lockOwnerFiles(PgConnection& db, const std::string& owner) {
    db.query("SELECT pg_advisory_xact_lock($1::int4, hashtext($2::text))", kOwnerFilesLock, owner);
}

FilePut PostgresMarketStore::putListingFile(std::int64_t productid, const std::string& owner,
                                            const KeptFile& file, std::string_view bytes) {
    auto db = database_.borrow();
    FilePut outcome = FilePut::Stored;
    db->transaction([&] {
        lockOwnerFiles(*db, owner);
        if (db->query("SELECT 1 FROM listings WHERE productid = $1 AND owner = $2", productid,
                      owner)
                .rows() == 0) {
            outcome = FilePut::NoListing;
            return;
        }
        const auto previous =
            db->query("SELECT sha256 FROM listing_files WHERE productid = $1 AND name = $2",
                      productid, file.name);
        const std::string replaced = previous.rows() == 1 ? previous.text(0, 0) : "";
        // The listing's files are all its owner's.
        const auto others = db->query(
            "SELECT count(*) FILTER (WHERE productid = $1 AND name <> $2), "
            "coalesce(sum(size) FILTER (WHERE NOT (productid = $1 AND name = $2)), 0) "
            "FROM listing_files WHERE owner = $3",
            productid, file.name, owner);
        if (others.integer(0, 0) + 1 > contract::kMostKeptFilesPerListing) {
            outcome = FilePut::TooManyFiles;
        } else if (static_cast<unsigned long long>(others.integer(0, 1) + file.size) >
                   contract::kMostKeptMemberBytes) {
            outcome = FilePut::MemberFull;
        }
        if (outcome != FilePut::Stored || replaced == file.sha256) return;
        lockBlobs(*db, {file.sha256, replaced});
        db->query(
            "INSERT INTO file_blobs(sha256, bytes) VALUES ($1, $2) ON CONFLICT (sha256) DO NOTHING",
            file.sha256, bytes);
        db->query(
            "INSERT INTO listing_files(productid, name, owner, sha256, size) "
            "VALUES ($1, $2, $3, $4, $5) ON CONFLICT (productid, name) DO UPDATE SET "
            "owner = excluded.owner, sha256 = excluded.sha256, size = excluded.size",
            productid, file.name, owner, file.sha256, file.size);
        if (!replaced.empty()) dropUnnamedBlob(*db, replaced);
        db->query("DELETE FROM kept_listings WHERE productid = $1", productid);
    });
    return outcome;
}

bool PostgresMarketStore::keepListingFiles(std::int64_t productid, const std::string& owner,
                                           const std::vector<std::string>& names) {
    auto db = database_.borrow();
    bool kept = false;
    db->transaction([&] {
        lockOwnerFiles(*db, owner);
        kept = keepFiles(*db, productid, names);
    });
    return kept;
}

bool PostgresMarketStore::keepFiles(PgConnection& db, std::int64_t productid,
                                    const std::vector<std::string>& names) {
    const auto stored =
        db.query("SELECT name, sha256 FROM listing_files WHERE productid = $1", productid);
    std::size_t present = 0;
    std::vector<std::string> releasedNames, releasedDigests;
    for (int i = 0; i < stored.rows(); ++i) {
        const std::string name = stored.text(i, 0);
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            ++present;
        } else {
            releasedNames.push_back(name);
            releasedDigests.push_back(stored.text(i, 1));
        }
    }
    lockBlobs(db, releasedDigests);
    for (std::size_t i = 0; i < releasedNames.size(); ++i) {
        db.query("DELETE FROM listing_files WHERE productid = $1 AND name = $2", productid,
                 releasedNames[i]);
        dropUnnamedBlob(db, releasedDigests[i]);
    }
    const bool kept = !names.empty() && present == names.size();
    db.query(kept ? "INSERT INTO kept_listings(productid) VALUES ($1) ON CONFLICT DO NOTHING"
                  : "DELETE FROM kept_listings WHERE productid = $1",
             productid);
    return kept;
}

std::vector<KeptFile> PostgresMarketStore::keptFiles(std::int64_t productid) {
    auto db = database_.borrow();
    const auto rows = db->query(
        "SELECT f.name, f.size, f.sha256 FROM listing_files f "
        "JOIN kept_listings k ON k.productid = f.productid WHERE f.productid = $1 "
        "ORDER BY f.name COLLATE \"C\"",
        productid);
    std::vector<KeptFile> out;
    for (int i = 0; i < rows.rows(); ++i)
        out.push_back(KeptFile{rows.text(i, 0), rows.integer(i, 1), rows.text(i, 2)});
    return out;
}

std::optional<std::string> PostgresMarketStore::keptFileBytes(std::int64_t productid,
                                                              const std::string& name) {
    auto db = database_.borrow();
    const auto row = db->query(
        "SELECT b.bytes FROM listing_files f JOIN kept_listings k ON k.productid = f.productid "
        "JOIN file_blobs b ON b.sha256 = f.sha256 WHERE f.productid = $1 AND f.name = $2",
        productid, name);
    if (row.rows() == 0) return std::nullopt;
    return row.bytes(0, 0);
}

std::vector<std::int64_t> PostgresMarketStore::keptListings(const std::string& owner) {
    auto db = database_.borrow();
    const auto rows = db->query(
        "SELECT DISTINCT f.productid FROM listing_files f "
        "JOIN kept_listings k ON k.productid = f.productid WHERE f.owner = $1",
        owner);
    std::vector<std::int64_t> out;
    for (int i = 0; i < rows.rows(); ++i) out.push_back(rows.integer(i, 0));
    return out;
}

}  // namespace tl::market
