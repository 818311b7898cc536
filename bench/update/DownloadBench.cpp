// Download cost on loopback: how much of one core the downloading thread uses while a file
// arrives in 1024-byte chunks with a progress call for each (cpu_share), and the memory held;
// the second argument 1 has the download checked against its SHA-256 as it arrives.
// A minimal HTTP server thread answers every request with the same body.

#include "BenchCounters.h"
#include "update/HttpClient.h"
#include "update/Sha256.h"

#include <arpa/inet.h>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

class BodyServer {
public:
    explicit BodyServer(std::size_t bytes) : m_body(bytes, 'b') {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listener, 4);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~BodyServer() {
        m_stop = true;
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        m_thread.join();
    }
    BodyServer(const BodyServer&) = delete;
    BodyServer& operator=(const BodyServer&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/fw.bin"; }

private:
    void Serve() {
        while (!m_stop) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            if (client < 0) {
                return;
            }
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(n));
            }
            const std::string head =
                "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(m_body.size()) +
                "\r\nConnection: close\r\n\r\n";
            SendAll(client, head);
            SendAll(client, m_body);
            ::close(client);
        }
    }
    static void SendAll(int fd, const std::string& data) {
        std::size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                return;
            }
            sent += static_cast<std::size_t>(n);
        }
    }

    std::string m_body;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

double ThreadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void OnProgress(double total, double received, void* context) {
    if (total > 0.0 && received == total) {
        ++*static_cast<int*>(context);
    }
}

void BM_DownloadLoopback(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
    BodyServer server(bytes);
    std::string digest;
    if (state.range(1) != 0) {
        q407::update::Sha256 sha256;
        sha256.Add(std::string(bytes, 'b').data(), bytes);
        digest = sha256.HexDigest();
    }
    const auto target = std::filesystem::temp_directory_path() /
                        ("q407-bench-download-" + std::to_string(::getpid()));
    q407::update::ResetHttpClient();
    int complete = 0;
    double cpu = 0.0;
    double wall = 0.0;
    for (auto _ : state) {
        const double cpuStart = ThreadCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        q407::update::HttpDownloadFile(server.Url(), target, &OnProgress, &complete, nullptr,
                                       digest);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += ThreadCpuSeconds() - cpuStart;
    }
    std::filesystem::remove(target);
    if (complete != static_cast<int>(state.iterations())) {
        state.SkipWithError("a download did not complete");
        return;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["cpu_share"] = wall > 0.0 ? cpu / wall : 0.0;
    q407::bench::ReportRss(state);
}
BENCHMARK(BM_DownloadLoopback)
    ->Args({16, 0})
    ->Args({16, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
