#include "core/search/ResultQuery.h"

#include <utility>

#include "core/platform/HttpRequest.h"
#include "core/platform/XmlDocument.h"
#include "core/service/Replies.h"

namespace tl {

ResultQuery::ResultQuery(Query request, Credentials credentials)
    : request_(std::move(request)), credentials_(credentials) {}

bool ResultQuery::Run() {
    records_.clear();
    current_ = 0;
    requestFailed_ = false;
    failureText_.clear();
    XmlDocument reply;
    try {
        if (!reply.loadXml(requestText(request_, credentials_))) return false;
    } catch (const RequestError& error) {
        requestFailed_ = true;
        failureText_ = error.what();
        return false;
    }
    for (const XmlNode& node : resultRecords(reply)) {
        if (records_.size() == kMaxResultRecords) break;
        if (auto record = readResultRecord(node)) records_.push_back(std::move(*record));
    }
    return !records_.empty();
}

bool ResultQuery::Next() {
    if (current_ + 1 >= records_.size()) return false;
    ++current_;
    return true;
}

std::vector<ResultRecord> ResultQuery::takeRecords() {
    current_ = 0;
    return std::exchange(records_, {});
}

const ResultRecord& ResultQuery::current() const {
    static const ResultRecord none;
    return records_.empty() ? none : records_[current_];
}

}  // namespace tl
