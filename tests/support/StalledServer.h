#pragma once
// A print server that hangs: it listens on a socket in a temporary folder, accepts every
// connection and never answers (nor reads). Point CUPS_SERVER at socket() to see how a program
// copes with a print system that stalls.

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace movik::test {

class StalledServer {
  public:
    StalledServer() {
        char pattern[] = "/tmp/movik-stalled-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            return;
        }
        dir_ = pattern;
        socket_ = dir_ + "/cups.sock";
        listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket_.c_str(), sizeof address.sun_path - 1);
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 16) != 0) {
            socket_.clear();
            return;
        }
        thread_ = std::thread([this] { Accept(); });
    }

    ~StalledServer() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        for (const int fd : accepted_) {
            ::close(fd);
        }
        if (listener_ >= 0) {
            ::close(listener_);
        }
        if (!dir_.empty()) {
            ::unlink((dir_ + "/cups.sock").c_str());
            ::rmdir(dir_.c_str());
        }
    }

    StalledServer(const StalledServer&) = delete;
    StalledServer& operator=(const StalledServer&) = delete;

    // The socket's path; empty when it could not be made.
    const std::string& socket() const { return socket_; }
    // Connections accepted so far.
    int connections() const { return connections_; }

  private:
    void Accept() {
        while (!stop_) {
            pollfd fd{listener_, POLLIN, 0};
            if (::poll(&fd, 1, 20) > 0) {
                const int client = ::accept(listener_, nullptr, nullptr);
                if (client >= 0) {
                    accepted_.push_back(client);  // kept open, never read, never answered
                    ++connections_;
                }
            }
        }
    }

    std::string dir_;
    std::string socket_;
    int listener_ = -1;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::vector<int> accepted_;
};

}  // namespace movik::test
