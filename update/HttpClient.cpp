#include "update/HttpClient.h"

#include "common/Diag.h"
#include "update/Sha256.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <curl/curl.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace q407::update {
namespace {

std::mutex g_settingsMutex;
HttpClientSettings g_settings;
std::filesystem::path g_caFile;
thread_local std::uint32_t t_lastError = 0;

void SetLastError(std::uint32_t code) {
    t_lastError = code;
}

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

long SecondsAtLeastOne(std::int32_t milliseconds) {
    return std::max<long>(1, (static_cast<long>(milliseconds) + 999) / 1000);
}

// Options shared by requests and downloads: where to go, how long to wait, whom to trust.
void ApplyCommonOptions(CURL* easy, const std::string& url, const HttpClientSettings& settings,
                        const std::filesystem::path& caFile) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // What is fetched here may be run: plain http only to this machine, where nobody on the
    // network can change it. A redirect may lead elsewhere, so every hop must be https (which
    // also rules out https down to http, and any other scheme).
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, IsLoopbackUrl(url) ? "http,https" : "https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");

    const long connectMs = static_cast<long>(std::max(0, settings.connectTimeout)) +
                           static_cast<long>(std::max(0, settings.resolveTimeout));
    if (connectMs > 0) {
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
    }
    // A transfer that moves no byte for the send or receive limit is given up.
    const std::int32_t stallMs = std::max(settings.sendTimeout, settings.receiveTimeout);
    if (stallMs > 0) {
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, SecondsAtLeastOne(stallMs));
    }

    static_assert(HttpClientSettings::keepCertificateChecks);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, caFile.c_str());
        curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    }
}

std::pair<HttpClientSettings, std::filesystem::path> SettingsSnapshot() {
    std::lock_guard lock(g_settingsMutex);
    return {g_settings, g_caFile};
}

} // namespace

// Runs one easy handle to its end on a private multi handle, so that a cancel from another
// thread can wake the wait at once instead of after a poll interval.
class TransferLoop {
public:
    static CURLcode Run(CURL* easy, HttpCancel* cancel) {
        CURLM* multi = curl_multi_init();
        if (multi == nullptr) {
            return CURLE_OUT_OF_MEMORY;
        }
        CURLcode result = CURLE_ABORTED_BY_CALLBACK;
        if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
            curl_multi_cleanup(multi);
            return CURLE_FAILED_INIT;
        }
        if (cancel == nullptr || cancel->Attach(multi)) {
            result = Loop(multi, cancel);
            if (cancel != nullptr) {
                cancel->Detach();
            }
        }
        curl_multi_remove_handle(multi, easy);
        curl_multi_cleanup(multi);
        return result;
    }

private:
    static CURLcode Loop(CURLM* multi, const HttpCancel* cancel) {
        // Each round either finishes, or waits at most a second for the network or a wake-up;
        // libcurl's own connect and stall limits end a transfer that makes no progress.
        for (;;) {
            if (cancel != nullptr && cancel->IsCancelled()) {
                return CURLE_ABORTED_BY_CALLBACK;
            }
            int running = 0;
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                return CURLE_FAILED_INIT;
            }
            if (running == 0) {
                int left = 0;
                while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
                    if (message->msg == CURLMSG_DONE) {
                        return message->data.result;
                    }
                }
                return CURLE_GOT_NOTHING;
            }
            if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) {
                return CURLE_FAILED_INIT;
            }
        }
    }
};

void HttpCancel::Cancel() {
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    if (m_multi != nullptr) {
        curl_multi_wakeup(static_cast<CURLM*>(m_multi));
    }
}

void HttpCancel::Reset() {
    std::lock_guard lock(m_mutex);
    m_cancelled = false;
}

bool HttpCancel::IsCancelled() const {
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}

bool HttpCancel::Attach(void* multiHandle) {
    std::lock_guard lock(m_mutex);
    m_multi = multiHandle;
    return !m_cancelled;
}

void HttpCancel::Detach() {
    std::lock_guard lock(m_mutex);
    m_multi = nullptr;
}

void ResetHttpClient() {
    {
        std::lock_guard lock(g_settingsMutex);
        g_settings = HttpClientSettings{};
    }
    SetLastError(0);
}

std::uint32_t GetHttpLastError() {
    return t_lastError;
}

HttpClientSettings GetHttpClientSettings() {
    HttpClientSettings settings = SettingsSnapshot().first;
    settings.lastError = t_lastError;
    return settings;
}

void SetHttpClientSettings(const HttpClientSettings& settings) {
    std::lock_guard lock(g_settingsMutex);
    g_settings = settings;
    g_settings.lastError = 0;
}

void SetHttpCertificateAuthorities(const std::filesystem::path& pemFile) {
    std::lock_guard lock(g_settingsMutex);
    g_caFile = pemFile;
}

bool IsLoopbackHost(std::string_view host) {
    std::string name = Lower(host);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    if (name == "localhost") {
        return true;
    }
    in_addr v4{};
    if (::inet_pton(AF_INET, name.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    return ::inet_pton(AF_INET6, name.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

bool IsLoopbackUrl(std::string_view url) {
    std::unique_ptr<CURLU, UrlDeleter> parts(curl_url());
    const std::string text(url);
    char* host = nullptr;
    if (!parts || curl_url_set(parts.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK ||
        curl_url_get(parts.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK) {
        return false;
    }
    const bool loopback = IsLoopbackHost(host);
    curl_free(host);
    return loopback;
}

std::string RequestHeaderText(std::int32_t bodyLength) {
    return "Content-Length: " + std::to_string(bodyLength) +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
           "\r\nAccept:application/prs.Ravik.v1+json\r\n";
}

namespace {

// Splits the header block into libcurl's list, one line each; the empty line between the
// headers carries nothing and is left out. "Expect:" stops libcurl from waiting for a
// "100 Continue" the server never promised.
HeaderList BuildHeaderList(std::int32_t bodyLength) {
    curl_slist* list = nullptr;
    const std::string text = RequestHeaderText(bodyLength);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            list = curl_slist_append(list, text.substr(start, end - start).c_str());
        }
        start = end + 2;
    }
    list = curl_slist_append(list, "Expect:");
    return HeaderList(list);
}

struct AnswerSink {
    std::string data;
    std::size_t capacity = 0;
    bool overflow = false;
};

std::size_t CollectAnswer(char* bytes, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<AnswerSink*>(user);
    const std::size_t n = size * count;
    if (n > sink->capacity - sink->data.size()) {
        sink->overflow = true;
        return 0; // ends the transfer with CURLE_WRITE_ERROR
    }
    sink->data.append(bytes, n);
    return n;
}

void WriteNoLinkMarker(std::span<char> response) {
    char marker[kNoLinkMarkerBytes] = {};
    std::memcpy(marker, kNoLinkServer.data(), kNoLinkServer.size());
    std::memcpy(response.data(), marker, std::min(response.size(), sizeof marker));
}

} // namespace

std::int32_t HttpRequest(std::string_view method, std::string_view url, const void* body,
                         std::int32_t bodyLength, std::span<char> response, HttpCancel* cancel) {
    if (url.empty()) {
        SetLastError(kErrorPathNotFound);
        return -1;
    }
    std::string verb(method);
    std::transform(verb.begin(), verb.end(), verb.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if ((verb != "GET" && verb != "POST") || bodyLength < 0 ||
        (bodyLength > 0 && body == nullptr)) {
        SetLastError(kErrorInvalidParameter);
        return -1;
    }
    InitCurlOnce();
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        SetLastError(CURLE_FAILED_INIT);
        return -1;
    }
    const auto [settings, caFile] = SettingsSnapshot();
    const std::string urlText(url);
    ApplyCommonOptions(easy.get(), urlText, settings, caFile);
    curl_easy_setopt(easy.get(), CURLOPT_USERAGENT, settings.agent.c_str());
    const HeaderList headers = BuildHeaderList(bodyLength);
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    if (verb == "POST") {
        curl_easy_setopt(easy.get(), CURLOPT_POST, 1L);
    } else if (bodyLength > 0) {
        curl_easy_setopt(easy.get(), CURLOPT_CUSTOMREQUEST, "GET");
    }
    if (verb == "POST" || bodyLength > 0) {
        curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(bodyLength));
        curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, bodyLength > 0 ? body : "");
    }

    AnswerSink sink;
    sink.capacity = std::min<std::size_t>(response.size(), INT32_MAX);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, CollectAnswer);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &sink);

    const CURLcode result = TransferLoop::Run(easy.get(), cancel);
    long requestBytes = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_REQUEST_SIZE, &requestBytes);
    if (result != CURLE_OK) {
        SetLastError(static_cast<std::uint32_t>(result));
        diag::Printf("HttpRequest: %s%s", curl_easy_strerror(result),
                     sink.overflow ? " (answer larger than the buffer)" : "");
    }
    if (requestBytes <= 0) {
        WriteNoLinkMarker(response);
        return 0;
    }
    if (result != CURLE_OK) {
        return 0; // cut short, too long, stalled or cancelled: nothing in it can be trusted
    }
    std::memcpy(response.data(), sink.data.data(), sink.data.size());
    return static_cast<std::int32_t>(sink.data.size());
}

namespace {

struct DownloadState {
    CURL* easy = nullptr;
    int fd = -1;
    std::int64_t total = -1;
    std::int64_t received = 0;
    bool started = false;
    DownloadProgressCallback callback = nullptr;
    void* context = nullptr;
    bool checkDigest = false; // only downloads with an expected digest pay for hashing
    Sha256 digest;
};

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The body is accepted only from a successful answer that announces its length.
bool AcceptAnswer(DownloadState& state) {
    long status = 0;
    curl_easy_getinfo(state.easy, CURLINFO_RESPONSE_CODE, &status);
    curl_off_t length = -1;
    curl_easy_getinfo(state.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (status < 200 || status > 299) {
        diag::Printf("HttpDownloadFile: status %ld", status);
        return false;
    }
    if (length <= 0 || length > kMaxDownloadBytes) {
        diag::Printf("HttpDownloadFile: unusable Content-Length %lld",
                     static_cast<long long>(length));
        return false;
    }
    state.total = length;
    return true;
}

std::size_t WriteChunk(char* bytes, std::size_t size, std::size_t count, void* user) {
    auto* state = static_cast<DownloadState*>(user);
    const std::size_t n = size * count;
    if (!state->started) {
        state->started = true;
        if (!AcceptAnswer(*state)) {
            return 0;
        }
    }
    if (state->total < 0 || static_cast<std::int64_t>(n) > state->total - state->received ||
        !WriteAll(state->fd, bytes, n)) {
        return 0;
    }
    if (state->checkDigest) {
        state->digest.Add(bytes, n);
    }
    state->received += static_cast<std::int64_t>(n);
    // The final call (received == total) waits until the file is complete and in place.
    if (state->received < state->total && state->callback != nullptr) {
        state->callback(static_cast<double>(state->total), static_cast<double>(state->received),
                        state->context);
    }
    return n;
}

std::string WithoutQuery(std::string_view url) {
    std::unique_ptr<CURLU, UrlDeleter> parts(curl_url());
    const std::string text(url);
    if (!parts || curl_url_set(parts.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
        return {};
    }
    curl_url_set(parts.get(), CURLUPART_QUERY, nullptr, 0);
    curl_url_set(parts.get(), CURLUPART_FRAGMENT, nullptr, 0);
    char* joined = nullptr;
    if (curl_url_get(parts.get(), CURLUPART_URL, &joined, 0) != CURLUE_OK) {
        return {};
    }
    std::string result(joined);
    curl_free(joined);
    return result;
}

// Fetches into an open file; true when every announced byte arrived.
bool Fetch(const std::string& url, DownloadState& state, HttpCancel* cancel) {
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        return false;
    }
    const auto [settings, caFile] = SettingsSnapshot();
    ApplyCommonOptions(easy.get(), url, settings, caFile);
    curl_easy_setopt(easy.get(), CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_BUFFERSIZE, static_cast<long>(kDownloadChunkBytes));
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, WriteChunk);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &state);
    state.easy = easy.get();
    const CURLcode result = TransferLoop::Run(easy.get(), cancel);
    if (result != CURLE_OK) {
        diag::Printf("HttpDownloadFile: %s after %lld bytes", curl_easy_strerror(result),
                     static_cast<long long>(state.received));
        return false;
    }
    // An empty body never reaches WriteChunk; it is judged here.
    if (!state.started && !AcceptAnswer(state)) {
        return false;
    }
    return state.total > 0 && state.received == state.total;
}

} // namespace

void HttpDownloadFile(std::string_view url, const std::filesystem::path& target,
                      DownloadProgressCallback callback, void* context, HttpCancel* cancel,
                      std::string_view sha256) {
    InitCurlOnce();
    DownloadState state;
    state.callback = callback;
    state.context = context;
    state.checkDigest = !sha256.empty();
    auto fail = [&] {
        if (callback != nullptr) {
            callback(0.0, static_cast<double>(state.received), context);
        }
    };
    const std::string cleanUrl = WithoutQuery(url);
    if (cleanUrl.empty()) {
        diag::Line("HttpDownloadFile: unusable URL");
        fail();
        return;
    }
    // The body goes to a private file beside the target, which replaces the target only when
    // complete, so a half download is never mistaken for a whole one.
    std::string partial = target.string() + ".part.XXXXXX";
    state.fd = ::mkostemp(partial.data(), O_CLOEXEC);
    if (state.fd < 0) {
        diag::Printf("HttpDownloadFile: cannot create %s: %s", partial.c_str(),
                     std::strerror(errno)); // NOLINT(concurrency-mt-unsafe)
        fail();
        return;
    }
    bool ok = Fetch(cleanUrl, state, cancel);
    if (ok && state.checkDigest && !SameSha256(state.digest.HexDigest(), sha256)) {
        diag::Line("HttpDownloadFile: the file's SHA-256 is not the announced one");
        ok = false;
    }
    ok = ::fsync(state.fd) == 0 && ok;
    ok = ::close(state.fd) == 0 && ok;
    ok = ok && ::rename(partial.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(partial.c_str());
        fail();
        return;
    }
    if (callback != nullptr) {
        callback(static_cast<double>(state.total), static_cast<double>(state.total), context);
    }
}

} // namespace q407::update
