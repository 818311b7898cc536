#pragma once

// Test helpers for the update tests: a real HTTP or HTTPS server on 127.0.0.1 on a free port,
// self-signed certificates made at test time, and a private temporary folder.

#include <atomic>
#include <filesystem>
#include <httplib.h>
#include <map>
#include <memory>
#include <mutex>
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

// The SHA-256 of `bytes` as lower-case hex, straight from OpenSSL.
std::string Sha256Hex(const std::string& bytes);

// An update server on loopback: POST /api/updates is answered by the request's app key (no
// answer: an empty body), GET /files/<name> serves the files it was given (404 for others),
// GET /go/<name> redirects where Redirect said, and GET /stall.bin announces 100000 bytes,
// sends 5 and then trickles nothing until cancelled.
class FakeUpdateServer {
public:
    FakeUpdateServer();
    FakeUpdateServer(const FakeUpdateServer&) = delete;
    FakeUpdateServer& operator=(const FakeUpdateServer&) = delete;

    std::string BaseUrl() const { return m_server.Url("/api/"); } // ends in "/"
    std::string FileUrl(const std::string& name) const { return m_server.Url("/files/" + name); }
    std::string StallingUrl() const { return m_server.Url("/stall.bin"); }

    void Answer(const std::string& appKey, const std::string& json);
    std::string RedirectUrl(const std::string& name) const { return m_server.Url("/go/" + name); }

    // Answers `appKey` with `version` of component `name` at the file `file` holding `content`,
    // with the file's SHA-256.
    void Offer(const std::string& appKey, const std::string& name, const std::string& version,
               const std::string& file, const std::string& content, int deviceId = 0);
    void SetFile(const std::string& file, const std::string& content);
    // GET /go/<name> answers 302 with `location`.
    void Redirect(const std::string& name, const std::string& location);
    void RemoveFile(const std::string& file);
    // The last request body (with its terminating zero byte) for `appKey`.
    std::string RequestBody(const std::string& appKey);

private:
    std::mutex m_mutex;
    std::map<std::string, std::string> m_answers;
    std::map<std::string, std::string> m_files;
    std::map<std::string, std::string> m_redirects;
    std::map<std::string, std::string> m_requests;
    LoopbackServer m_server; // last: its handler threads use the maps until it stops
};

// A loopback port on which nothing listens (bound once, then released).
int UnusedLoopbackPort();

} // namespace q407::test
