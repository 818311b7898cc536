// The HTTP client against real servers on 127.0.0.1.

#include "LoopbackServer.h"
#include "common/AtomicFile.h"
#include "update/HttpClient.h"

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace q407::update {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

// Proxies from the environment of whoever runs the tests must not catch loopback requests.
class NoProxyEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy",
                                 "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
            ::unsetenv(name);
        }
    }
};
const auto* const g_noProxy = ::testing::AddGlobalTestEnvironment(new NoProxyEnvironment);

// What the server saw of the last request.
struct Seen {
    std::mutex mutex;
    httplib::Request request;
    int count = 0;

    void Record(const httplib::Request& r) {
        std::lock_guard lock(mutex);
        request = r;
        ++count;
    }
};

// Holds a handler back until the test opens it (or a long bound passes). It must outlive the
// server, whose handler threads wait on it.
class Gate {
public:
    void Wait() {
        std::unique_lock lock(m_mutex);
        m_opened.wait_for(lock, std::chrono::seconds(20), [&] { return m_open; });
    }
    void Open() {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

std::vector<char> Prepared(std::size_t size) {
    return std::vector<char>(size, '#');
}

struct ProgressLog {
    std::vector<std::pair<double, double>> calls;
    static void Callback(double total, double received, void* context) {
        static_cast<ProgressLog*>(context)->calls.emplace_back(total, received);
    }
};

class HttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHttpClient();
        SetHttpCertificateAuthorities({});
    }
    void TearDown() override {
        m_gate.Open();
        SetHttpCertificateAuthorities({});
    }

    Gate m_gate;
    Seen m_seen;
    LoopbackServer m_server;
};

TEST_F(HttpRequestTest, MethodsAreCheckedWithoutCaseAndSentWithTheFixedHeaders) {
    m_server.Server().Post("/api/updates", [&](const httplib::Request& r, httplib::Response& res) {
        m_seen.Record(r);
        res.set_content(R"({"name":"Ms"})", "application/json");
    });
    m_server.Server().Get("/api/updates", [&](const httplib::Request& r, httplib::Response& res) {
        m_seen.Record(r);
        res.set_content("get answer", "text/plain");
    });

    auto buffer = Prepared(256);
    const std::string body("app_key=k&version=1\0", 20);
    ASSERT_EQ(HttpRequest("post", m_server.Url("/api/updates"), body.data(), 20, buffer), 13);
    EXPECT_EQ(std::string(buffer.data(), 13), R"({"name":"Ms"})");
    EXPECT_EQ(buffer[13], '#'); // nothing written past the answer
    {
        std::lock_guard lock(m_seen.mutex);
        const httplib::Request& r = m_seen.request;
        EXPECT_EQ(r.method, "POST");
        EXPECT_EQ(r.body, body);
        EXPECT_EQ(r.get_header_value("Content-Length"), "20");
        EXPECT_EQ(r.get_header_value_count("Content-Length"), 1u);
        EXPECT_EQ(r.get_header_value_count("Content-Type"), 1u);
        EXPECT_EQ(r.get_header_value("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(r.get_header_value("Accept"), "application/prs.Ravik.v1+json");
        EXPECT_EQ(r.get_header_value("User-Agent"), HttpClientSettings{}.agent);
        EXPECT_FALSE(r.has_header("Expect"));
    }

    buffer = Prepared(256);
    ASSERT_EQ(HttpRequest("Get", m_server.Url("/api/updates"), nullptr, 0, buffer), 10);
    EXPECT_EQ(std::string(buffer.data(), 10), "get answer");
    std::lock_guard lock(m_seen.mutex);
    EXPECT_EQ(m_seen.request.method, "GET");
    EXPECT_EQ(m_seen.request.get_header_value("Content-Length"), "0");
}

TEST_F(HttpRequestTest, EmptyBodiesAreNeitherSentNorWritten) {
    m_server.Server().Post("/empty", [&](const httplib::Request& r, httplib::Response& res) {
        m_seen.Record(r);
        res.status = 200;
    });
    auto buffer = Prepared(64);
    EXPECT_EQ(HttpRequest("POST", m_server.Url("/empty"), nullptr, 0, buffer), 0);
    EXPECT_EQ(buffer, Prepared(64)); // no answer, and no marker either: the request was sent
    std::lock_guard lock(m_seen.mutex);
    EXPECT_EQ(m_seen.count, 1);
    EXPECT_EQ(m_seen.request.body, "");
    EXPECT_EQ(m_seen.request.get_header_value("Content-Length"), "0");
}

TEST_F(HttpRequestTest, UnreachableServerLeavesTheNoConnectionMarker) {
    auto buffer = Prepared(64);
    const std::string url = "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/";
    EXPECT_EQ(HttpRequest("POST", url, "a", 1, buffer), 0);
    EXPECT_EQ(std::memcmp(buffer.data(), "NO_LINK_SERVER\0\0", kNoLinkMarkerBytes), 0);
    EXPECT_EQ(buffer[kNoLinkMarkerBytes], '#');
    EXPECT_NE(GetHttpLastError(), 0u);

    // A buffer smaller than the marker gets what fits.
    std::vector<char> small(4, '#');
    EXPECT_EQ(HttpRequest("GET", url, nullptr, 0, small), 0);
    EXPECT_EQ(std::string(small.data(), 4), "NO_L");
}

TEST_F(HttpRequestTest, AnswersLongerThanTheBufferAreRefusedUntouched) {
    const std::string exact(1000, 'e');
    const std::string longer(200 * 1024, 'l');
    m_server.Server().Get("/exact", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(exact, "text/plain");
    });
    m_server.Server().Get("/long", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(longer, "text/plain");
    });
    auto buffer = Prepared(1000);
    EXPECT_EQ(HttpRequest("GET", m_server.Url("/exact"), nullptr, 0, buffer), 1000);
    EXPECT_EQ(std::string(buffer.data(), buffer.size()), exact);

    buffer = Prepared(100 * 1024);
    EXPECT_EQ(HttpRequest("GET", m_server.Url("/long"), nullptr, 0, buffer), 0);
    EXPECT_EQ(buffer, Prepared(100 * 1024));
    EXPECT_NE(GetHttpLastError(), 0u);
}

TEST_F(HttpRequestTest, AnswerCutShortIsUnusable) {
    m_server.Server().Get("/cut", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(1000, "text/plain",
                                 [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                     sink.write("{\"name\":\"Ms\"", 12);
                                     return false; // the connection drops here
                                 });
    });
    auto buffer = Prepared(4096);
    EXPECT_EQ(HttpRequest("GET", m_server.Url("/cut"), nullptr, 0, buffer), 0);
    EXPECT_EQ(buffer, Prepared(4096));
}

TEST_F(HttpRequestTest, ProxyIsTakenFromTheEnvironment) {
    // The loopback server plays the proxy: it gets the request for the other address.
    m_server.Server().Post(".*", [&](const httplib::Request& r, httplib::Response& res) {
        m_seen.Record(r);
        res.set_content("via proxy", "text/plain");
    });
    const std::string proxy = m_server.Url("");
    const std::string far = "http://localhost:" + std::to_string(test::UnusedLoopbackPort());
    ::setenv("http_proxy", proxy.c_str(), 1);
    auto buffer = Prepared(64);
    const std::int32_t n = HttpRequest("POST", far + "/api/updates", "x", 1, buffer);
    ::setenv("no_proxy", "localhost", 1);
    auto direct = Prepared(64);
    const std::int32_t bypassed = HttpRequest("POST", far + "/api/updates", "x", 1, direct);
    ::unsetenv("http_proxy");
    ::unsetenv("no_proxy");

    ASSERT_EQ(n, 9);
    EXPECT_EQ(std::string(buffer.data(), 9), "via proxy");
    {
        std::lock_guard lock(m_seen.mutex);
        EXPECT_EQ("http://" + m_seen.request.get_header_value("Host"), far);
    }
    EXPECT_EQ(bypassed, 0); // no_proxy: straight to a port where nothing listens
    EXPECT_EQ(std::string(direct.data()), "NO_LINK_SERVER");
}

// A proxy (or anyone on the path) that would answer for any remote name: plain http to a host
// that is not this machine never reaches it, however much the name looks like loopback.
TEST_F(HttpRequestTest, PlainHttpGoesOnlyToThisMachine) {
    m_server.Server().Post(".*", [&](const httplib::Request& r, httplib::Response& res) {
        m_seen.Record(r);
        res.set_content("from the path", "text/plain");
    });
    m_server.Server().Get(".*", [&](const httplib::Request& r, httplib::Response& res) {
        m_seen.Record(r);
        res.set_content("from the path", "application/octet-stream");
    });
    test::TempFolder folder;
    const std::string proxy = m_server.Url("");
    ::setenv("http_proxy", proxy.c_str(), 1);
    for (const char* url :
         {"http://127.0.0.1.example.com/api/updates", "http://localhost.example.com/api/updates",
          "http://127.0.0.1@updates.example/api/updates"}) {
        auto buffer = Prepared(64);
        EXPECT_EQ(HttpRequest("POST", url, "x", 1, buffer), 0) << url;
        EXPECT_EQ(std::memcmp(buffer.data(), "NO_LINK_SERVER\0\0", kNoLinkMarkerBytes), 0) << url;
        ProgressLog log;
        HttpDownloadFile(url, folder.Path() / "fw.bin", &ProgressLog::Callback, &log);
        ASSERT_FALSE(log.calls.empty()) << url;
        EXPECT_EQ(log.calls.back().first, 0.0) << url;
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / "fw.bin")) << url;
    }
    ::unsetenv("http_proxy");
    std::lock_guard lock(m_seen.mutex);
    EXPECT_EQ(m_seen.count, 0);
}

// Every redirect hop is https: none to plain http (not even on this machine, and never from
// https), none to a remote host over http, none to another scheme.
TEST_F(HttpRequestTest, RedirectsLeadOnlyToHttps) {
    test::TempFolder folder;
    const auto certificate =
        test::MakeSelfSignedCertificate(folder.Path(), "trusted", "IP:127.0.0.1");
    SetHttpCertificateAuthorities(certificate.certFile);
    LoopbackServer secure(certificate);
    LoopbackServer elsewhere; // plays every other http host, through the proxy
    // The proxy sees absolute targets ("http://host/x"): it answers whatever it is asked.
    for (auto [target, pattern] : {std::pair{&secure, "/x"}, std::pair{&elsewhere, ".*"}}) {
        target->Server().Get(pattern, [&](const httplib::Request& r, httplib::Response& res) {
            m_seen.Record(r);
            res.set_content("followed", "application/octet-stream");
        });
    }
    const std::vector<std::pair<std::string, bool>> hops{
        {"http://127.0.0.1.example.com/x", false},
        {"http://updates.example/x", false},
        {elsewhere.Url("/x"), false},
        {"ftp://127.0.0.1/x", false},
        {"file:///etc/passwd", false},
        {secure.Url("/x"), true},
    };
    int hop = 0;
    for (const auto& [location, followed] : hops) {
        const std::string path = "/r" + std::to_string(hop++);
        m_server.Server().Get(
            path, [location = location](const httplib::Request&, httplib::Response& res) {
                res.set_redirect(location);
            });
    }
    // And https down to plain http on this machine.
    secure.Server().Get("/down", [&](const httplib::Request&, httplib::Response& res) {
        res.set_redirect(elsewhere.Url("/x"));
    });

    const std::string proxy = elsewhere.Url("");
    ::setenv("http_proxy", proxy.c_str(), 1);
    ::setenv("no_proxy", "127.0.0.1", 1);
    for (std::size_t i = 0; i < hops.size(); ++i) {
        const std::string url = m_server.Url("/r" + std::to_string(i));
        auto buffer = Prepared(64);
        const std::int32_t n = HttpRequest("GET", url, nullptr, 0, buffer);
        EXPECT_EQ(n, hops[i].second ? 8 : 0) << hops[i].first;
        ProgressLog log;
        HttpDownloadFile(url, folder.Path() / "fw.bin", &ProgressLog::Callback, &log);
        EXPECT_EQ(std::filesystem::exists(folder.Path() / "fw.bin"), hops[i].second)
            << hops[i].first;
        std::filesystem::remove(folder.Path() / "fw.bin");
    }
    auto buffer = Prepared(64);
    EXPECT_EQ(HttpRequest("GET", secure.Url("/down"), nullptr, 0, buffer), 0);
    ::unsetenv("http_proxy");
    ::unsetenv("no_proxy");
    std::lock_guard lock(m_seen.mutex);
    EXPECT_EQ(m_seen.count, 2) << "only the https hop, once as text and once as download";
}

TEST_F(HttpRequestTest, CancelEndsAWaitingRequestAtOnce) {
    m_server.Server().Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
        m_gate.Wait();
        res.set_content("late", "text/plain");
    });
    HttpCancel cancel;
    auto buffer = Prepared(64);
    const auto start = std::chrono::steady_clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(200ms);
        cancel.Cancel();
    });
    const std::int32_t n = HttpRequest("GET", m_server.Url("/slow"), nullptr, 0, buffer, &cancel);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    canceller.join();
    EXPECT_EQ(n, 0);
    EXPECT_EQ(buffer, Prepared(64)); // it had been sent: no marker
    EXPECT_LT(elapsed, 5s);
}

TEST_F(HttpRequestTest, StalledServerIsGivenUpAfterTheReceiveLimit) {
    m_server.Server().Get("/stall", [&](const httplib::Request&, httplib::Response& res) {
        m_gate.Wait();
        res.set_content("late", "text/plain");
    });
    HttpClientSettings settings;
    settings.sendTimeout = 1000;
    settings.receiveTimeout = 1000;
    SetHttpClientSettings(settings);
    auto buffer = Prepared(64);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpRequest("GET", m_server.Url("/stall"), nullptr, 0, buffer), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    ResetHttpClient();
}

// ---- TLS ------------------------------------------------------------------------------------

class HttpsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetHttpClient(); }
    void TearDown() override { SetHttpCertificateAuthorities({}); }

    static void Answer(LoopbackServer& server) {
        server.Server().Post("/api/updates", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("secure", "text/plain");
        });
    }

    test::TempFolder m_folder;
    test::Certificate m_trusted =
        test::MakeSelfSignedCertificate(m_folder.Path(), "trusted", "IP:127.0.0.1,DNS:localhost");
};

TEST_F(HttpsTest, TrustedCertificateIsAnswered) {
    LoopbackServer server(m_trusted);
    Answer(server);
    SetHttpCertificateAuthorities(m_trusted.certFile);
    auto buffer = Prepared(64);
    ASSERT_EQ(HttpRequest("POST", server.Url("/api/updates"), "a", 1, buffer), 6);
    EXPECT_EQ(std::string(buffer.data(), 6), "secure");
}

TEST_F(HttpsTest, UntrustedOrMisnamedCertificatesAreRefused) {
    const auto stranger =
        test::MakeSelfSignedCertificate(m_folder.Path(), "stranger", "IP:127.0.0.1");
    const auto misnamed =
        test::MakeSelfSignedCertificate(m_folder.Path(), "misnamed", "DNS:other.invalid");
    SetHttpCertificateAuthorities(m_trusted.certFile);
    {
        LoopbackServer server(stranger);
        Answer(server);
        auto buffer = Prepared(64);
        EXPECT_EQ(HttpRequest("POST", server.Url("/api/updates"), "a", 1, buffer), 0);
        EXPECT_EQ(std::string(buffer.data()), "NO_LINK_SERVER");
        EXPECT_EQ(GetHttpLastError(), static_cast<std::uint32_t>(60)); // peer not verified
    }
    {
        LoopbackServer server(misnamed);
        Answer(server);
        SetHttpCertificateAuthorities(misnamed.certFile); // trusted, but not for 127.0.0.1
        auto buffer = Prepared(64);
        EXPECT_EQ(HttpRequest("POST", server.Url("/api/updates"), "a", 1, buffer), 0);
        EXPECT_EQ(std::string(buffer.data()), "NO_LINK_SERVER");
    }
    {
        // The system's store does not know a self-signed test certificate either.
        LoopbackServer server(m_trusted);
        Answer(server);
        SetHttpCertificateAuthorities({});
        ResetHttpClient(); // a reset does not relax anything
        auto buffer = Prepared(64);
        EXPECT_EQ(HttpRequest("POST", server.Url("/api/updates"), "a", 1, buffer), 0);
    }
}

// ---- downloads ------------------------------------------------------------------------------

class HttpDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHttpClient();
        m_content.resize(10 * 1024 + 300);
        for (std::size_t i = 0; i < m_content.size(); ++i) {
            m_content[i] = static_cast<char>('a' + i % 26);
        }
    }
    std::filesystem::path Target() const { return m_folder.Path() / "Ms.bin"; }
    std::optional<std::string> Downloaded() const { return ReadFileBounded(Target(), 1 << 20); }
    bool NoLeftovers() const {
        return std::distance(std::filesystem::directory_iterator(m_folder.Path()),
                             std::filesystem::directory_iterator()) <=
               (std::filesystem::exists(Target()) ? 1 : 0);
    }

    // Declared before the server, whose handler threads use them until it stops.
    test::TempFolder m_folder;
    std::string m_content;
    Seen m_seen;
    LoopbackServer m_server;
};

TEST_F(HttpDownloadTest, WholeFileArrivesInChunksWithoutTheQueryPart) {
    m_server.Server().Get("/files/fw.bin", [&](const httplib::Request& r, httplib::Response& res) {
        m_seen.Record(r);
        res.set_content(m_content, "application/octet-stream");
    });
    ProgressLog log;
    HttpDownloadFile(m_server.Url("/files/fw.bin?token=secret#part"), Target(),
                     &ProgressLog::Callback, &log);
    EXPECT_EQ(Downloaded(), m_content);
    {
        std::lock_guard lock(m_seen.mutex);
        EXPECT_EQ(m_seen.request.target, "/files/fw.bin");
        EXPECT_TRUE(m_seen.request.params.empty());
    }
    ASSERT_GE(log.calls.size(), 11u);
    const double total = static_cast<double>(m_content.size());
    double previous = 0;
    for (const auto& [callTotal, received] : log.calls) {
        EXPECT_EQ(callTotal, total);
        EXPECT_GT(received, previous);
        EXPECT_LE(received - previous, static_cast<double>(kDownloadChunkBytes));
        previous = received;
    }
    EXPECT_EQ(log.calls.back().second, total); // the last call says complete
    EXPECT_TRUE(NoLeftovers());
}

TEST_F(HttpDownloadTest, FailuresCallBackWithTotalZeroAndKeepTheOldFile) {
    m_server.Server().Get("/chunked", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/octet-stream",
                                         [&](std::size_t, httplib::DataSink& sink) {
                                             sink.write(m_content.data(), 2000);
                                             sink.done();
                                             return true;
                                         });
    });
    m_server.Server().Get("/cut", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(m_content.size(), "application/octet-stream",
                                 [&](std::size_t, std::size_t, httplib::DataSink& sink) {
                                     sink.write(m_content.data(), 3000);
                                     return false;
                                 });
    });
    m_server.Server().Get("/empty", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("", "application/octet-stream");
    });
    m_server.Server().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("not here", "text/plain");
    });
    ASSERT_TRUE(WriteFileAtomically(Target(), "previous"));

    for (const char* path : {"/chunked", "/cut", "/empty", "/missing"}) {
        ProgressLog log;
        HttpDownloadFile(m_server.Url(path), Target(), &ProgressLog::Callback, &log);
        ASSERT_FALSE(log.calls.empty()) << path;
        EXPECT_EQ(log.calls.back().first, 0.0) << path;
        for (std::size_t i = 0; i + 1 < log.calls.size(); ++i) {
            EXPECT_LT(log.calls[i].second, log.calls[i].first) << path; // never "complete"
        }
        EXPECT_EQ(Downloaded(), "previous") << path;
        EXPECT_TRUE(NoLeftovers()) << path;
    }
    ProgressLog log;
    HttpDownloadFile("http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/x",
                     Target(), &ProgressLog::Callback, &log);
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0], std::make_pair(0.0, 0.0));
    HttpDownloadFile("not a url", Target(), &ProgressLog::Callback, &log);
    EXPECT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(Downloaded(), "previous");
}

TEST_F(HttpDownloadTest, FileAppearsOnlyWithTheAnnouncedDigest) {
    m_server.Server().Get("/fw.bin", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(m_content, "application/octet-stream");
    });
    std::string upper = test::Sha256Hex(m_content);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::vector<std::pair<std::string, bool>> digests{
        {test::Sha256Hex(m_content), true},
        {upper, true},
        {test::Sha256Hex(m_content + "x"), false},
        {std::string(64, '0'), false},
        {"not a digest", false},
    };
    for (const auto& [digest, kept] : digests) {
        ASSERT_TRUE(WriteFileAtomically(Target(), "previous"));
        ProgressLog log;
        HttpDownloadFile(m_server.Url("/fw.bin"), Target(), &ProgressLog::Callback, &log, nullptr,
                         digest);
        ASSERT_FALSE(log.calls.empty()) << digest;
        EXPECT_EQ(log.calls.back().first, kept ? static_cast<double>(m_content.size()) : 0.0)
            << digest;
        EXPECT_EQ(Downloaded(), kept ? m_content : "previous") << digest;
        EXPECT_TRUE(NoLeftovers()) << digest;
    }
}

TEST_F(HttpDownloadTest, CancelEndsADownloadThatStalls) {
    m_server.Server().Get("/stall", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(m_content.size(), "application/octet-stream",
                                 [&](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (offset == 0) {
                                         sink.write(m_content.data(), 1500);
                                         return true;
                                     }
                                     std::this_thread::sleep_for(50ms);
                                     return sink.is_writable();
                                 });
    });
    HttpCancel cancel;
    ProgressLog log;
    std::thread canceller([&] {
        std::this_thread::sleep_for(300ms);
        cancel.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    HttpDownloadFile(m_server.Url("/stall"), Target(), &ProgressLog::Callback, &log, &cancel);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    canceller.join();
    ASSERT_FALSE(log.calls.empty());
    EXPECT_EQ(log.calls.back().first, 0.0);
    EXPECT_EQ(log.calls.back().second, 1500.0);
    EXPECT_FALSE(std::filesystem::exists(Target()));
    EXPECT_LT(elapsed, 5s);
}

TEST_F(HttpDownloadTest, HttpsDownloadNeedsATrustedCertificate) {
    const auto trusted =
        test::MakeSelfSignedCertificate(m_folder.Path(), "trusted", "IP:127.0.0.1");
    const auto stranger =
        test::MakeSelfSignedCertificate(m_folder.Path(), "stranger", "IP:127.0.0.1");
    SetHttpCertificateAuthorities(trusted.certFile);
    for (const auto* certificate : {&trusted, &stranger}) {
        LoopbackServer server(*certificate);
        server.Server().Get("/fw.bin", [&](const httplib::Request&, httplib::Response& res) {
            res.set_content(m_content, "application/octet-stream");
        });
        ProgressLog log;
        HttpDownloadFile(server.Url("/fw.bin"), Target(), &ProgressLog::Callback, &log);
        ASSERT_FALSE(log.calls.empty());
        if (certificate == &trusted) {
            EXPECT_EQ(log.calls.back().second, static_cast<double>(m_content.size()));
            EXPECT_EQ(Downloaded(), m_content);
            std::filesystem::remove(Target());
        } else {
            EXPECT_EQ(log.calls.back().first, 0.0);
            EXPECT_FALSE(std::filesystem::exists(Target()));
        }
    }
    SetHttpCertificateAuthorities({});
}

} // namespace
} // namespace q407::update
