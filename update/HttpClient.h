#pragma once

// A small synchronous HTTP(S) client on libcurl: a text request whose answer lands in the caller's
// buffer, and a file download with a progress callback. Every call opens and closes its own
// connection; nothing is kept between calls. The proxy comes from the environment (http_proxy,
// https_proxy, no_proxy) by libcurl's own rules.
//
// TLS certificates are always verified: these calls fetch programs that are later run, so a
// server that cannot prove its name is never answered. Tests and local servers are trusted by
// naming their certificate with SetHttpCertificateAuthorities, never by switching checks off.
//
// Both calls block the calling thread and take an optional HttpCancel, which ends them at once
// from any other thread.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace q407::update {

// lastError values set by the argument checks; other failures store libcurl's error code.
inline constexpr std::uint32_t kErrorPathNotFound = 3;      // empty URL
inline constexpr std::uint32_t kErrorInvalidParameter = 87; // method other than GET or POST

// What a text request leaves in the caller's buffer when it could not be sent at all: the text
// followed by two zero bytes (16 bytes in all).
inline constexpr std::string_view kNoLinkServer = "NO_LINK_SERVER";
inline constexpr std::size_t kNoLinkMarkerBytes = 16;

// Downloads arrive and are reported in chunks of at most this size.
inline constexpr std::size_t kDownloadChunkBytes = 1024;

// Larger announced downloads are refused before anything is written.
inline constexpr std::int64_t kMaxDownloadBytes = std::int64_t{2} << 30;

// The process-wide settings every text request reads (downloads read the timeouts too).
struct HttpClientSettings {
    std::string agent = "Q407 Client/1.0";
    std::int32_t resolveTimeout = 0; // ms, 0 = no limit of its own (the connect limit still holds)
    std::int32_t connectTimeout = 60000; // ms
    std::int32_t sendTimeout = 30000;    // ms without any byte leaving
    std::int32_t receiveTimeout = 30000; // ms without any byte arriving
    // Fixed: nothing in the program may turn certificate checks off.
    static constexpr bool keepCertificateChecks = true;
    // The calling thread's last error (3, 87 or a libcurl code); a successful step never clears it.
    std::uint32_t lastError = 0;
};

// Puts every setting back to the values above and clears the calling thread's lastError.
void ResetHttpClient();
// The calling thread's lastError.
std::uint32_t GetHttpLastError();
HttpClientSettings GetHttpClientSettings();
// Replaces the process-wide settings (lastError is per thread and not taken from `settings`).
void SetHttpClientSettings(const HttpClientSettings& settings);

// Certificate authorities to trust instead of the system's store (a PEM file); an empty path
// restores the system's store. Process-wide and not touched by ResetHttpClient.
void SetHttpCertificateAuthorities(const std::filesystem::path& pemFile);

// Ends a running request or download from another thread. One token may serve many calls in
// turn; Reset makes it usable again after Cancel.
class HttpCancel {
public:
    HttpCancel() = default;
    HttpCancel(const HttpCancel&) = delete;
    HttpCancel& operator=(const HttpCancel&) = delete;

    void Cancel();
    void Reset();
    bool IsCancelled() const;

private:
    friend class TransferLoop;
    // Registers the handle to wake while a transfer waits on the network; false when already
    // cancelled.
    bool Attach(void* multiHandle);
    void Detach();

    mutable std::mutex m_mutex;
    bool m_cancelled = false;
    void* m_multi = nullptr;
};

// Plain HTTP goes only to this machine: a host that is a loopback IP literal (127.0.0.0/8, ::1,
// with or without brackets) or "localhost", letter case ignored. Decided on the host alone, so
// "127.0.0.1.example.com" is not this machine.
bool IsLoopbackHost(std::string_view host);
// The same for the host of a URL as libcurl parses it; false for a URL it cannot parse.
bool IsLoopbackUrl(std::string_view url);

// The request header block, character for character as the server expects it.
std::string RequestHeaderText(std::int32_t bodyLength);

// Sends a GET or POST (method compared without regard to case) with `body` and writes the answer
// to the start of `response`. Returns the number of answer bytes written, or -1 when the
// arguments are rejected (lastError 3 for an empty URL, 87 for another method or a bad body).
// Returns 0 when nothing usable arrived; then `response` is left as the caller prepared it,
// except that a request that could not be sent at all leaves the no-connection marker. An answer
// longer than `response`, or cut short by the server, is unusable and gives 0.
std::int32_t HttpRequest(std::string_view method, std::string_view url, const void* body,
                         std::int32_t bodyLength, std::span<char> response,
                         HttpCancel* cancel = nullptr);

// Progress of a download: (total, received, context). total 0.0 means the download failed; a
// call with received equal to total means the file is complete and in place.
using DownloadProgressCallback = void (*)(double total, double received, void* context);

// Downloads `url` without its query part to `target`. The file appears only when the whole body
// announced by "Content-Length" arrived and, when `sha256` is given (hex), its SHA-256 is that
// one; a missing length, an error status, a body that ends early or differs, a cancel or any
// other failure calls back with total 0.0 and leaves `target` untouched.
//
// Both calls speak plain HTTP only to this machine (IsLoopbackUrl): any other address, and every
// redirect, must be https; libcurl refuses anything else before it connects.
void HttpDownloadFile(std::string_view url, const std::filesystem::path& target,
                      DownloadProgressCallback callback, void* context,
                      HttpCancel* cancel = nullptr, std::string_view sha256 = {});

} // namespace q407::update
