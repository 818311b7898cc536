// The kernel's event devices as an input source (libevdev). It reads every keyboard and mouse
// under /dev/input that the user may open (members of the "input" group, typically); it never
// grabs a device, so the keys still reach the desktop, and it never asks for more rights.

#include "common/Diag.h"
#include "devices/InputCapture.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <libevdev/libevdev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace q407::devices {
namespace {

struct EventDevice {
    int fd = -1;
    libevdev* device = nullptr;
    bool keyboard = false;
    bool mouse = false;
};

void Close(EventDevice& device) {
    if (device.device != nullptr) {
        libevdev_free(device.device);
    }
    if (device.fd >= 0) {
        ::close(device.fd);
    }
    device = {};
}

std::vector<EventDevice> OpenEventDevices() {
    std::vector<EventDevice> devices;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/input", error)) {
        if (entry.path().filename().string().rfind("event", 0) != 0) {
            continue;
        }
        EventDevice device;
        device.fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (device.fd < 0) {
            continue; // not ours to read
        }
        if (libevdev_new_from_fd(device.fd, &device.device) < 0) {
            device.device = nullptr;
            Close(device);
            continue;
        }
        device.keyboard = libevdev_has_event_code(device.device, EV_KEY, KEY_A) == 1;
        device.mouse = libevdev_has_event_code(device.device, EV_KEY, BTN_LEFT) == 1;
        if (device.keyboard || device.mouse) {
            devices.push_back(device);
        } else {
            Close(device);
        }
    }
    return devices;
}

class EvdevInputSource final : public InputSource {
public:
    ~EvdevInputSource() override { Stop(); }

    bool Start(bool withMouse, InputSink& sink) override {
        Stop();
        m_devices = OpenEventDevices();
        m_withMouse = withMouse;
        m_sink = &sink;
        m_stop = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (m_devices.empty() || m_stop < 0) {
            Stop();
            return false;
        }
        m_reader = std::thread([this] { ReadLoop(); });
        return true;
    }

    void Stop() override {
        if (m_reader.joinable()) {
            const std::uint64_t one = 1;
            if (::write(m_stop, &one, sizeof one) < 0) {
                diag::Line("evdev input: the reader could not be told to stop");
            }
            m_reader.join();
        }
        for (EventDevice& device : m_devices) {
            Close(device);
        }
        m_devices.clear();
        if (m_stop >= 0) {
            ::close(m_stop);
            m_stop = -1;
        }
        m_sink = nullptr;
    }

private:
    void ReadLoop() {
        std::vector<pollfd> fds;
        fds.push_back({m_stop, POLLIN, 0});
        for (const EventDevice& device : m_devices) {
            fds.push_back({device.fd, POLLIN, 0});
        }
        for (;;) {
            if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) {
                return;
            }
            if ((fds[0].revents & POLLIN) != 0) {
                return;
            }
            for (std::size_t i = 1; i < fds.size(); ++i) {
                if ((fds[i].revents & (POLLERR | POLLHUP)) != 0) {
                    fds[i].fd = -1; // unplugged: poll ignores it from now on
                } else if ((fds[i].revents & POLLIN) != 0) {
                    Drain(m_devices[i - 1]);
                }
            }
        }
    }

    void Drain(EventDevice& device) {
        input_event event{};
        unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
        for (;;) {
            const int result = libevdev_next_event(device.device, flags, &event);
            if (result == LIBEVDEV_READ_STATUS_SYNC) {
                flags = LIBEVDEV_READ_FLAG_SYNC; // events were dropped: catch up first
            } else if (result == -EAGAIN && flags == LIBEVDEV_READ_FLAG_SYNC) {
                flags = LIBEVDEV_READ_FLAG_NORMAL;
                continue;
            } else if (result != LIBEVDEV_READ_STATUS_SUCCESS) {
                return;
            }
            if (event.type == EV_KEY && flags == LIBEVDEV_READ_FLAG_NORMAL) {
                Deliver(device, event.code, event.value);
            }
        }
    }

    void Deliver(const EventDevice& device, int code, int value) {
        if (const auto button = MouseButtonOfEvdevCode(code)) {
            if (m_withMouse && device.mouse && value != 2) {
                m_sink->OnMouseInput({*button, value != 0, 0, 0});
            }
        } else if (const auto scan = ScanCodeOfEvdevKey(code); scan && device.keyboard) {
            m_sink->OnKeyInput({value != 0, *scan}); // 2 = auto-repeat, a press again
        }
    }

    std::vector<EventDevice> m_devices;
    bool m_withMouse = false;
    InputSink* m_sink = nullptr;
    int m_stop = -1;
    std::thread m_reader;
};

} // namespace

std::unique_ptr<InputSource> MakeEvdevInputSource() {
    std::vector<EventDevice> probe = OpenEventDevices();
    const bool readable = !probe.empty();
    for (EventDevice& device : probe) {
        Close(device);
    }
    return readable ? std::make_unique<EvdevInputSource>() : nullptr;
}

} // namespace q407::devices
