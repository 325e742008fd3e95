#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "HidResponder.h"

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

namespace PyxTest
{
// One hidraw node of a HidTestbed whose ioctls and writes are answered in the test: the report-descriptor
// queries hidapi makes when it opens the node, feature reports in both directions (handed to the responder)
// and output reports. Keeps a log of every report that reached the device, and injects failures.
class SimulatedHidNode
{
public:
    enum class Direction
    {
        SetFeature, // host to device, feature report
        GetFeature, // device to host, feature report (the bytes the host was given)
        Write,      // host to device, output report
    };
    struct Report
    {
        Direction direction;
        std::vector<std::uint8_t> bytes; // report number first
        bool operator==(const Report&) const = default;
    };

    // Attaches to `devnode` ("/dev/hidraw0") of `testbed`; `syspath` is the node's sysfs device, removed on
    // Unplug. Use HidTestbed rather than this constructor.
    SimulatedHidNode(UMockdevTestbed* testbed, std::string devnode, std::string syspath);
    ~SimulatedHidNode();
    SimulatedHidNode(const SimulatedHidNode&) = delete;
    SimulatedHidNode& operator=(const SimulatedHidNode&) = delete;

    const std::string& DevicePath() const { return devnode_; }
    const std::string& SysPath() const { return syspath_; }

    // The device model; a QueuedHidResponder until replaced.
    void SetResponder(std::shared_ptr<HidResponder> responder);
    std::shared_ptr<QueuedHidResponder> DefaultResponder() const { return queued_; }

    std::vector<Report> Reports() const;
    void ClearReports();
    // Times the node was opened (report-descriptor size queries, which hidapi makes on every open).
    int OpenCount() const;

    // Handles the test process holds open on the node now (its descriptors that lead to the node's file).
    int OpenHandles() const;

    // The next `count` feature-report ioctls (either direction) fail with `error`; nothing reaches the
    // responder.
    void FailFeatureReports(int error, int count = 1);
    // The next feature-report read hands the host only the first `bytes` bytes of the reply (report number
    // included), and the host's call returns that count.
    void ShortenNextReply(std::size_t bytes);
    // The node's file goes away while the device stays listed, as when udev has not made the node yet:
    // opening it fails with ENOENT until RevealNode. (A refusal at hidapi's descriptor query would leak
    // hidapi 0.13's error text, so it is not offered.)
    void HideNode();
    void RevealNode();
    // The device goes away: its sysfs entry and node leave the testbed, and every further ioctl or write on
    // a handle still open fails with ENODEV.
    void Unplug();
    bool IsUnplugged() const;

    // The report descriptor answered to hidapi: a vendor-defined page with 8-byte feature and output reports.
    static const std::vector<std::uint8_t>& ReportDescriptor();

private:
    static int HandleIoctlThunk(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static int HandleWriteThunk(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    bool HandleIoctl(UMockdevIoctlClient* client);
    bool HandleWrite(UMockdevIoctlClient* client);
    void Record(Direction direction, std::vector<std::uint8_t> bytes);

    UMockdevTestbed* testbed_;
    std::string devnode_;
    std::string syspath_;
    std::string file_; // the node's file inside the testbed
    UMockdevIoctlBase* handler_ = nullptr;

    mutable std::mutex mutex_;
    std::shared_ptr<QueuedHidResponder> queued_;
    std::shared_ptr<HidResponder> responder_;
    std::vector<Report> reports_;
    int openCount_ = 0;
    int featureFailures_ = 0;
    int featureError_ = 0;
    std::optional<std::size_t> nextReplyLimit_;
    bool unplugged_ = false;
};
} // namespace PyxTest
