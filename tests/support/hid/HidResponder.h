#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace PyxTest
{
// The device behind a simulated hidraw node: plug a reader model in here.
//
// Every byte vector is the report exactly as the kernel passes it between host and device: byte 0 is the
// report number (0 for the readers' unnumbered reports), the payload follows. The calls come from umockdev's
// worker thread, one at a time for a node, while the host's call waits for the answer; an implementation
// shared with the test thread guards its own state.
class HidResponder
{
public:
    virtual ~HidResponder() = default;

    // The host sent a feature report (hid_send_feature_report, HIDIOCSFEATURE).
    virtual void OnSetFeature(const std::vector<std::uint8_t>& report) = 0;
    // The host asks for a feature report of up to `length` bytes, report number included
    // (hid_get_feature_report, HIDIOCGFEATURE). Return it report number first; a longer answer is cut to
    // `length`, a shorter one is what the host's call counts.
    virtual std::vector<std::uint8_t> OnGetFeature(std::size_t length) = 0;
    // The host wrote an output report (hid_write).
    virtual void OnWrite(const std::vector<std::uint8_t>& report) = 0;
};

// Answers feature-report reads from a queue of replies (a full-length zero report, report number 0, once
// the queue is empty) and ignores what it is sent; the node's report log shows what arrived.
class QueuedHidResponder : public HidResponder
{
public:
    // Queues one reply, report number first.
    void QueueReply(std::vector<std::uint8_t> report);

    void OnSetFeature(const std::vector<std::uint8_t>& report) override;
    std::vector<std::uint8_t> OnGetFeature(std::size_t length) override;
    void OnWrite(const std::vector<std::uint8_t>& report) override;

private:
    std::mutex mutex_;
    std::deque<std::vector<std::uint8_t>> replies_;
};
} // namespace PyxTest
