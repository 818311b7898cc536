#pragma once

// Test helpers for the update tests: a real HTTP or HTTPS server on 127.0.0.1 on a free port,
// self-signed certificates made at test time, and a private temporary folder.

#include <atomic>
#include <filesystem>
#include <httplib.h>
#include <memory>
#include <string>
#include <thread>

namespace q407::test {

// A folder below the temporary folder, removed with its contents at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct Certificate {
    std::filesystem::path certFile;
    std::filesystem::path keyFile;
};

// A self-signed certificate (its own authority), valid from yesterday for ten years.
// `subjectAltName` in OpenSSL's form, e.g. "IP:127.0.0.1,DNS:localhost".
Certificate MakeSelfSignedCertificate(const std::filesystem::path& folder, const std::string& stem,
                                      const std::string& subjectAltName);

// The server listens from construction to destruction; add handlers before the first request.
class LoopbackServer {
public:
    LoopbackServer();                                        // plain HTTP
    explicit LoopbackServer(const Certificate& certificate); // HTTPS
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& Server() { return *m_server; }
    int Port() const { return m_port; }
    // "http(s)://127.0.0.1:<port>" followed by `path`.
    std::string Url(const std::string& path) const;

private:
    void Listen();

    std::unique_ptr<httplib::Server> m_server;
    bool m_secure = false;
    int m_port = -1;
    std::thread m_thread;
};

// A loopback port on which nothing listens (bound once, then released).
int UnusedLoopbackPort();

} // namespace q407::test
