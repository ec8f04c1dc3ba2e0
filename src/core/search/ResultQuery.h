#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/platform/NonCopyable.h"
#include "core/search/ResultRecord.h"
#include "core/service/Query.h"
#include "core/service/ServiceRequest.h"

namespace tl {

// Most records a list takes from one reply; the rest of a longer reply is dropped.
inline constexpr std::size_t kMaxResultRecords = 10000;

// A list request and the records of its reply, walked one at a time. Made for one list fill:
// Run(), then, unless IsEmpty(), read the current record and Next() until it returns false.
// The query objects below offer the field readers of the fields their reply carries.
class ResultQuery : NonCopyable {
public:
    // Sends the request and reads the reply's records; true when there is at least one, with
    // the first made current. A failed request or a reply that is not a results document gives
    // false and shows nothing: the screens tell the member in their own words.
    bool Run();
    bool IsEmpty() const { return records_.empty(); }
    // True when the last Run() could not reach the server, as opposed to a reply with nothing
    // to show.
    bool RequestFailed() const { return requestFailed_; }
    // What went wrong when RequestFailed(); empty otherwise.
    const std::string& FailureText() const { return failureText_; }
    // Makes the next record current; false when there is none.
    bool Next();
    // Hands over every record the last Run() read, each field as the server sent it; the query
    // holds none afterwards.
    std::vector<ResultRecord> takeRecords();

protected:
    ResultQuery(Query request, Credentials credentials);

    // The fields of the current record; empty before a successful Run().
    std::string GetProductid() const { return current().productid; }
    std::string GetTitlebar() const { return current().titlebar; }
    std::string GetUsername() const { return current().username; }
    std::string GetIpaddress() const { return current().ipaddress; }
    std::string GetConnection() const { return current().connection; }
    std::string GetFilesize() const { return current().filesize; }
    std::string GetStatus() const { return current().status; }
    std::string GetEmail() const { return current().email; }
    // The price as it shows, by PriceText.
    std::string GetPrice() const { return PriceText(current().price); }

private:
    const ResultRecord& current() const;

    Query request_;
    Credentials credentials_;
    std::vector<ResultRecord> records_;
    std::size_t current_ = 0;
    bool requestFailed_ = false;
    std::string failureText_;
};

}  // namespace tl
