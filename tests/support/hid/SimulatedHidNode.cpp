#include "SimulatedHidNode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <umockdev.h>

namespace PyxTest
{
namespace
{
// Frees what umockdev_ioctl_data_resolve hands out.
struct DataUnref
{
    void operator()(UMockdevIoctlData* data) const { g_object_unref(data); }
};
using DataPtr = std::unique_ptr<UMockdevIoctlData, DataUnref>;

// The ioctl argument as `length` bytes of client memory, or null when umockdev cannot reach them.
DataPtr Resolve(UMockdevIoctlClient* client, std::size_t length)
{
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    GError* error = nullptr;
    DataPtr data(umockdev_ioctl_data_resolve(arg, 0, length, &error));
    if (error != nullptr)
    {
        g_error_free(error);
        return nullptr;
    }
    if (data && static_cast<std::size_t>(data->data_len) < length)
    {
        return nullptr;
    }
    return data;
}

void Complete(UMockdevIoctlClient* client, long result, int error)
{
    umockdev_ioctl_client_complete(client, result, error);
}
} // namespace

void QueuedHidResponder::QueueReply(std::vector<std::uint8_t> report)
{
    std::lock_guard lock(mutex_);
    replies_.push_back(std::move(report));
}

void QueuedHidResponder::OnSetFeature(const std::vector<std::uint8_t>&) {}

std::vector<std::uint8_t> QueuedHidResponder::OnGetFeature(std::size_t length)
{
    std::lock_guard lock(mutex_);
    if (replies_.empty())
    {
        return std::vector<std::uint8_t>(length, 0);
    }
    auto reply = std::move(replies_.front());
    replies_.pop_front();
    return reply;
}

void QueuedHidResponder::OnWrite(const std::vector<std::uint8_t>&) {}

const std::vector<std::uint8_t>& SimulatedHidNode::ReportDescriptor()
{
    static const std::vector<std::uint8_t> descriptor{
        0x06, 0x00, 0xFF, // Usage Page (vendor defined 0xFF00)
        0x09, 0x01,       // Usage (1)
        0xA1, 0x01,       // Collection (Application)
        0x15, 0x00,       //   Logical Minimum (0)
        0x26, 0xFF, 0x00, //   Logical Maximum (255)
        0x75, 0x08,       //   Report Size (8)
        0x95, 0x08,       //   Report Count (8)
        0x09, 0x01,       //   Usage (1)
        0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
        0x09, 0x01,       //   Usage (1)
        0x91, 0x02,       //   Output (Data, Variable, Absolute)
        0xC0,             // End Collection
    };
    return descriptor;
}

SimulatedHidNode::SimulatedHidNode(UMockdevTestbed* testbed, std::string devnode, std::string syspath)
    : testbed_(testbed), devnode_(std::move(devnode)), syspath_(std::move(syspath)),
      queued_(std::make_shared<QueuedHidResponder>()), responder_(queued_)
{
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    file_ = std::string(root) + devnode_;
    g_free(root);
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&SimulatedHidNode::HandleIoctlThunk), this);
    g_signal_connect(handler_, "handle-write", G_CALLBACK(&SimulatedHidNode::HandleWriteThunk), this);
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_, devnode_.c_str(), handler_, &error))
    {
        const std::string message = error != nullptr ? error->message : "unknown error";
        if (error != nullptr)
        {
            g_error_free(error);
        }
        g_signal_handlers_disconnect_by_data(handler_, this);
        g_object_unref(handler_);
        throw std::runtime_error("Cannot attach to " + devnode_ + ": " + message);
    }
}

SimulatedHidNode::~SimulatedHidNode()
{
    g_signal_handlers_disconnect_by_data(handler_, this);
    GError* error = nullptr;
    if (!umockdev_testbed_detach_ioctl(testbed_, devnode_.c_str(), &error) && error != nullptr)
    {
        g_error_free(error);
    }
    g_object_unref(handler_);
}

void SimulatedHidNode::SetResponder(std::shared_ptr<HidResponder> responder)
{
    std::lock_guard lock(mutex_);
    responder_ = responder ? std::move(responder) : queued_;
}

std::vector<SimulatedHidNode::Report> SimulatedHidNode::Reports() const
{
    std::lock_guard lock(mutex_);
    return reports_;
}

void SimulatedHidNode::ClearReports()
{
    std::lock_guard lock(mutex_);
    reports_.clear();
}

int SimulatedHidNode::OpenCount() const
{
    std::lock_guard lock(mutex_);
    return openCount_;
}

int SimulatedHidNode::OpenHandles() const
{
    // umockdev's own bookkeeping of clients lags behind close(); the descriptor table does not.
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error))
    {
        std::error_code linkError;
        // A handle kept on a node that has since gone reads "<file> (deleted)".
        const std::string target = std::filesystem::read_symlink(entry.path(), linkError).string();
        if (target == file_ || target == file_ + " (deleted)")
        {
            ++count;
        }
    }
    return count;
}

void SimulatedHidNode::FailFeatureReports(int error, int count)
{
    std::lock_guard lock(mutex_);
    featureError_ = error;
    featureFailures_ = count;
}

void SimulatedHidNode::ShortenNextReply(std::size_t bytes)
{
    std::lock_guard lock(mutex_);
    nextReplyLimit_ = bytes;
}

void SimulatedHidNode::HideNode()
{
    std::filesystem::remove(file_);
}

void SimulatedHidNode::RevealNode()
{
    if (!std::ofstream(file_))
    {
        throw std::runtime_error("Cannot create " + file_);
    }
}

void SimulatedHidNode::Unplug()
{
    {
        std::lock_guard lock(mutex_);
        if (unplugged_)
        {
            return;
        }
        unplugged_ = true;
    }
    umockdev_testbed_remove_device(testbed_, syspath_.c_str());
}

bool SimulatedHidNode::IsUnplugged() const
{
    std::lock_guard lock(mutex_);
    return unplugged_;
}

void SimulatedHidNode::Record(Direction direction, std::vector<std::uint8_t> bytes)
{
    std::lock_guard lock(mutex_);
    reports_.push_back({direction, std::move(bytes)});
}

int SimulatedHidNode::HandleIoctlThunk(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self)
{
    return static_cast<SimulatedHidNode*>(self)->HandleIoctl(client) ? TRUE : FALSE;
}

int SimulatedHidNode::HandleWriteThunk(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self)
{
    return static_cast<SimulatedHidNode*>(self)->HandleWrite(client) ? TRUE : FALSE;
}

bool SimulatedHidNode::HandleIoctl(UMockdevIoctlClient* client)
{
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    if (_IOC_TYPE(request) != 'H')
    {
        return false;
    }
    const std::size_t size = _IOC_SIZE(request);
    const unsigned number = _IOC_NR(request);

    std::unique_lock lock(mutex_);
    if (unplugged_)
    {
        Complete(client, -1, ENODEV);
        return true;
    }

    if (request == HIDIOCGRDESCSIZE)
    {
        ++openCount_;
        DataPtr data = Resolve(client, sizeof(int));
        if (!data)
        {
            Complete(client, -1, EFAULT);
            return true;
        }
        const int descriptorSize = static_cast<int>(ReportDescriptor().size());
        std::memcpy(data->data, &descriptorSize, sizeof descriptorSize);
        Complete(client, 0, 0);
        return true;
    }
    if (request == HIDIOCGRDESC)
    {
        DataPtr data = Resolve(client, sizeof(hidraw_report_descriptor));
        if (!data)
        {
            Complete(client, -1, EFAULT);
            return true;
        }
        auto* descriptor = reinterpret_cast<hidraw_report_descriptor*>(data->data);
        const auto& bytes = ReportDescriptor();
        const std::size_t count = std::min<std::size_t>(descriptor->size, bytes.size());
        descriptor->size = static_cast<std::uint32_t>(count);
        std::memcpy(descriptor->value, bytes.data(), count);
        Complete(client, 0, 0);
        return true;
    }
    const bool setFeature = number == _IOC_NR(HIDIOCSFEATURE(0));
    const bool getFeature = number == _IOC_NR(HIDIOCGFEATURE(0));
    if (!setFeature && !getFeature)
    {
        return false;
    }
    if (featureFailures_ > 0)
    {
        --featureFailures_;
        Complete(client, -1, featureError_);
        return true;
    }
    DataPtr data = size == 0 ? nullptr : Resolve(client, size);
    if (!data)
    {
        Complete(client, -1, EINVAL);
        return true;
    }
    const auto responder = responder_;
    if (setFeature)
    {
        std::vector<std::uint8_t> report(data->data, data->data + size);
        reports_.push_back({Direction::SetFeature, report});
        lock.unlock();
        responder->OnSetFeature(report);
        Complete(client, static_cast<long>(size), 0);
        return true;
    }

    const auto limit = nextReplyLimit_;
    nextReplyLimit_.reset();
    lock.unlock();
    std::vector<std::uint8_t> reply = responder->OnGetFeature(size);
    if (reply.size() > size)
    {
        reply.resize(size);
    }
    if (limit && reply.size() > *limit)
    {
        reply.resize(*limit);
    }
    std::copy(reply.begin(), reply.end(), data->data);
    Record(Direction::GetFeature, reply);
    Complete(client, static_cast<long>(reply.size()), 0);
    return true;
}

bool SimulatedHidNode::HandleWrite(UMockdevIoctlClient* client)
{
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    std::unique_lock lock(mutex_);
    if (unplugged_)
    {
        Complete(client, -1, ENODEV);
        return true;
    }
    std::vector<std::uint8_t> report(arg->data, arg->data + std::max(arg->data_len, 0));
    reports_.push_back({Direction::Write, report});
    const auto responder = responder_;
    lock.unlock();
    responder->OnWrite(report);
    Complete(client, static_cast<long>(report.size()), 0);
    return true;
}
} // namespace PyxTest
