#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <random>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace q407::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "q407-update-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

namespace {

void AddExtension(X509* cert, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    if (extension == nullptr) {
        throw std::runtime_error("bad certificate extension " + value);
    }
    X509_add_ext(cert, extension, -1);
    X509_EXTENSION_free(extension);
}

} // namespace

Certificate MakeSelfSignedCertificate(const std::filesystem::path& folder, const std::string& stem,
                                      const std::string& subjectAltName) {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* cert = X509_new();
    if (key == nullptr || cert == nullptr) {
        throw std::runtime_error("cannot make a key");
    }
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert),
                     static_cast<long>(std::random_device{}() & 0x7FFFFFFF));
    X509_gmtime_adj(X509_getm_notBefore(cert), -86400L);
    X509_gmtime_adj(X509_getm_notAfter(cert), 86400L * 3650);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("q407 test"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    AddExtension(cert, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert, NID_subject_alt_name, subjectAltName);
    X509_sign(cert, key, EVP_sha256());

    Certificate result{folder / (stem + ".pem"), folder / (stem + ".key")};
    FILE* certOut = std::fopen(result.certFile.c_str(), "w");
    FILE* keyOut = std::fopen(result.keyFile.c_str(), "w");
    const bool written =
        certOut != nullptr && keyOut != nullptr && PEM_write_X509(certOut, cert) == 1 &&
        PEM_write_PrivateKey(keyOut, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    if (certOut != nullptr) {
        std::fclose(certOut);
    }
    if (keyOut != nullptr) {
        std::fclose(keyOut);
    }
    X509_free(cert);
    EVP_PKEY_free(key);
    if (!written) {
        throw std::runtime_error("cannot write the certificate");
    }
    return result;
}

LoopbackServer::LoopbackServer() : m_server(std::make_unique<httplib::Server>()) {
    Listen();
}

LoopbackServer::LoopbackServer(const Certificate& certificate)
    : m_server(std::make_unique<httplib::SSLServer>(certificate.certFile.c_str(),
                                                    certificate.keyFile.c_str())),
      m_secure(true) {
    if (!m_server->is_valid()) {
        throw std::runtime_error("the TLS server cannot use its certificate");
    }
    Listen();
}

void LoopbackServer::Listen() {
    m_server->set_keep_alive_max_count(1);
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0) {
        throw std::runtime_error("cannot bind a loopback port");
    }
    // Bound already: connections wait in the backlog until the loop runs.
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // stop() only reaches a running loop, so wait (briefly, boundedly) until it runs.
    for (int i = 0; i < 500 && !m_server->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

LoopbackServer::~LoopbackServer() {
    m_server->stop();
    m_thread.join();
}

std::string LoopbackServer::Url(const std::string& path) const {
    return std::string(m_secure ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_port) +
           path;
}

int UnusedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot find a free port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

FakeUpdateServer::FakeUpdateServer() {
    m_server.Server().Post(
        "/api/updates", [this](const httplib::Request& request, httplib::Response& response) {
            // The body is "app_key=...&version=..." and its terminating zero byte.
            const std::string body = request.body.substr(0, request.body.find('\0'));
            const std::string key = body.substr(8, body.find('&') - 8);
            std::lock_guard lock(m_mutex);
            m_requests[key] = request.body;
            if (auto it = m_answers.find(key); it != m_answers.end()) {
                response.set_content(it->second, "application/json");
            }
        });
    m_server.Server().Get("/files/(.*)",
                          [this](const httplib::Request& request, httplib::Response& response) {
                              std::lock_guard lock(m_mutex);
                              if (auto it = m_files.find(request.matches[1]); it != m_files.end()) {
                                  response.set_content(it->second, "application/octet-stream");
                              } else {
                                  response.status = 404;
                              }
                          });
    m_server.Server().Get(
        "/go/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard lock(m_mutex);
            if (auto it = m_redirects.find(request.matches[1]); it != m_redirects.end()) {
                response.set_redirect(it->second);
            } else {
                response.status = 404;
            }
        });
    m_server.Server().Get("/stall.bin", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(100000, "application/octet-stream",
                                      [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                          if (offset == 0) {
                                              sink.write("start", 5);
                                          }
                                          std::this_thread::sleep_for(
                                              std::chrono::milliseconds(20));
                                          return sink.is_writable();
                                      });
    });
}

void FakeUpdateServer::Answer(const std::string& appKey, const std::string& json) {
    std::lock_guard lock(m_mutex);
    m_answers[appKey] = json;
}

void FakeUpdateServer::Offer(const std::string& appKey, const std::string& name,
                             const std::string& version, const std::string& file,
                             const std::string& content, int deviceId) {
    SetFile(file, content);
    Answer(appKey, R"({"path":")" + FileUrl(file) + R"(","name":")" + name +
                       R"(","version_name":"New )" + version + R"(","version":")" + version +
                       R"(","device_id":)" + std::to_string(deviceId) + R"(,"sha256":")" +
                       Sha256Hex(content) + R"("})");
}

void FakeUpdateServer::Redirect(const std::string& name, const std::string& location) {
    std::lock_guard lock(m_mutex);
    m_redirects[name] = location;
}

std::string Sha256Hex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) {
        throw std::runtime_error("EVP_Digest failed");
    }
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

void FakeUpdateServer::SetFile(const std::string& file, const std::string& content) {
    std::lock_guard lock(m_mutex);
    m_files[file] = content;
}

void FakeUpdateServer::RemoveFile(const std::string& file) {
    std::lock_guard lock(m_mutex);
    m_files.erase(file);
}

std::string FakeUpdateServer::RequestBody(const std::string& appKey) {
    std::lock_guard lock(m_mutex);
    return m_requests[appKey];
}

} // namespace q407::test
