#include <gtest/gtest.h>

#include <deque>
#include <variant>

#include "core/peer/TransferProtocol.h"

namespace tl {
namespace {

using namespace std::string_literals;

// A channel that records every send as one piece and hands out scripted receives: a piece of
// bytes, a failure (-1), and a close (0) once the script is used up.
class RecordingChannel : public ByteChannel {
public:
    void arrive(std::string bytes) { incoming_.emplace_back(std::move(bytes)); }
    void fail() { incoming_.emplace_back(Failure{}); }
    void refuseSendsAfter(std::size_t count) { sendLimit_ = count; }

    bool sendAll(std::string_view bytes) override {
        if (sent.size() >= sendLimit_) return false;
        sent.emplace_back(bytes);
        return true;
    }
    long receiveSome(char* buffer, std::size_t size) override {
        if (incoming_.empty()) return 0;
        if (std::holds_alternative<Failure>(incoming_.front())) {
            incoming_.pop_front();
            return -1;
        }
        std::string& next = std::get<std::string>(incoming_.front());
        const std::size_t count = std::min(size, next.size());
        next.copy(buffer, count);
        next.erase(0, count);
        if (next.empty()) incoming_.pop_front();
        return static_cast<long>(count);
    }

    std::vector<std::string> sent;

private:
    struct Failure {};
    std::deque<std::variant<std::string, Failure>> incoming_;
    std::size_t sendLimit_ = SIZE_MAX;
};

TEST(TransferRequest, ListingRequestIsLengthNameAndEndByte) {
    EXPECT_EQ(encodeFileRequest("12345.xml"), "\x0A\x00\x00\x00"s + "12345.xml" + "\xDD");
    EXPECT_EQ(encodeFileRequest(""), "\x01\x00\x00\x00\xDD"s);
    EXPECT_EQ(encodeFileRequest(std::string(300, 'a')).substr(0, 4), "\x2D\x01\x00\x00"s);
    EXPECT_EQ(attachmentRequestName("12345/photo one.jpg"), "12345\\photo one.jpg");
    EXPECT_EQ(attachmentRequestName("card.jpg"), "card.jpg");
}

TEST(TransferRequest, RequesterSendsTheLengthThenNameAndEndByte) {
    RecordingChannel channel;
    ASSERT_TRUE(sendFileRequest(channel, "12345.xml"));
    EXPECT_EQ(channel.sent, (std::vector<std::string>{"\x0A\x00\x00\x00"s, "12345.xml\xDD"}));
    RecordingChannel refusing;
    refusing.refuseSendsAfter(1);
    EXPECT_FALSE(sendFileRequest(refusing, "12345.xml"));
}

// The listing server tests cover the name rules; these cover a request arriving in pieces.
TEST(TransferRequest, ServerReadsExactlyNBytesAcrossPiecesAndNothingFromAShortRequest) {
    RecordingChannel split;
    split.arrive("\x0A\x00"s);
    split.arrive("\x00\x00"s + "1234");
    split.arrive(
        "5.xml\xDD"
        "extra");
    EXPECT_EQ(receiveFileRequest(split), "12345.xml");

    RecordingChannel closedEarly;
    closedEarly.arrive("\x0A\x00\x00\x00"s + "123");
    EXPECT_EQ(receiveFileRequest(closedEarly), std::nullopt);
    RecordingChannel failed;
    failed.arrive("\x0A\x00"s);
    failed.fail();
    EXPECT_EQ(receiveFileRequest(failed), std::nullopt);
}

TEST(TransferReply, LengthIsTheLow32BitsOfTheSize) {
    EXPECT_EQ(encodeReplyLength(0x100000005ull), "\x05\x00\x00\x00"s);
    EXPECT_EQ(decodeLength("\xFF\xFF\xFF\xFF"s), 0xFFFFFFFFu);
}

TEST(TransferReply, RequesterReadsLengthThenEverythingUntilTheServerCloses) {
    RecordingChannel channel;
    // The announced length does not end the reply: the close does.
    channel.arrive("\x03\x00\x00\x00"s + "abc");
    channel.arrive("defg");
    ASSERT_EQ(receiveReplyLength(channel), 3u);
    std::string stored;
    EXPECT_EQ(receiveReplyContents(channel,
                                   [&](std::string_view block) {
                                       EXPECT_LE(block.size(), kReceiveBlockSize);
                                       stored += block;
                                       return true;
                                   }),
              ReplyEnd::Closed);
    EXPECT_EQ(stored, "abcdefg");
}

TEST(TransferReply, NoReplyBrokenReplyAndRefusedStore) {
    RecordingChannel nothing;
    EXPECT_EQ(receiveReplyLength(nothing), std::nullopt);
    RecordingChannel partLength;
    partLength.arrive("\x03\x00"s);
    EXPECT_EQ(receiveReplyLength(partLength), std::nullopt);

    RecordingChannel broken;
    broken.arrive("part");
    broken.fail();
    std::string kept;
    EXPECT_EQ(receiveReplyContents(broken,
                                   [&](std::string_view block) {
                                       kept += block;
                                       return true;
                                   }),
              ReplyEnd::Broken);
    EXPECT_EQ(kept, "part");

    RecordingChannel refused;
    refused.arrive("bytes");
    EXPECT_EQ(receiveReplyContents(refused, [](std::string_view) { return false; }),
              ReplyEnd::StoreFailed);
}

}  // namespace
}  // namespace tl
