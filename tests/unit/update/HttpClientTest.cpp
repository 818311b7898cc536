// The HTTP client's argument checks and settings; the exchanges themselves are tested against a
// real loopback server in the integration tier.

#include "update/HttpClient.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace q407::update {
namespace {

TEST(HttpClientArguments, AreCheckedBeforeAnythingIsSent) {
    std::vector<char> buffer(64, 'x');
    ResetHttpClient();
    EXPECT_EQ(HttpRequest("GET", "", nullptr, 0, buffer), -1);
    EXPECT_EQ(GetHttpLastError(), kErrorPathNotFound);
    EXPECT_EQ(HttpRequest("put", "http://127.0.0.1:1/", nullptr, 0, buffer), -1);
    EXPECT_EQ(GetHttpLastError(), kErrorInvalidParameter);
    EXPECT_EQ(HttpRequest("POST", "http://127.0.0.1:1/", nullptr, 5, buffer), -1);
    EXPECT_EQ(HttpRequest("POST", "http://127.0.0.1:1/", "x", -1, buffer), -1);
    EXPECT_EQ(GetHttpLastError(), kErrorInvalidParameter);
    EXPECT_EQ(buffer, std::vector<char>(64, 'x')); // rejected calls leave the buffer alone
}

TEST(HttpClientArguments, HeaderTextIsExact) {
    EXPECT_EQ(RequestHeaderText(42), "Content-Length: 42\r\n"
                                     "Content-Type: application/x-www-form-urlencoded\r\n"
                                     "\r\n"
                                     "Accept:application/prs.Ravik.v1+json\r\n");
    EXPECT_EQ(RequestHeaderText(0).rfind("Content-Length: 0\r\n", 0), 0u);
}

TEST(HttpClientSettingsRecord, ResetRestoresDefaultsAndLastErrorIsPerThread) {
    HttpClientSettings changed;
    changed.agent = "other";
    changed.connectTimeout = 5;
    changed.receiveTimeout = 7;
    SetHttpClientSettings(changed);
    EXPECT_EQ(GetHttpClientSettings().agent, "other");
    EXPECT_EQ(GetHttpClientSettings().connectTimeout, 5);

    std::vector<char> buffer(16);
    HttpRequest("GET", "", nullptr, 0, buffer);
    EXPECT_EQ(GetHttpLastError(), kErrorPathNotFound);
    std::uint32_t otherThreadError = 99;
    std::thread([&] { otherThreadError = GetHttpLastError(); }).join();
    EXPECT_EQ(otherThreadError, 0u);

    ResetHttpClient();
    const HttpClientSettings settings = GetHttpClientSettings();
    EXPECT_EQ(settings.agent, HttpClientSettings{}.agent);
    EXPECT_EQ(settings.resolveTimeout, 0);
    EXPECT_EQ(settings.connectTimeout, 60000);
    EXPECT_EQ(settings.sendTimeout, 30000);
    EXPECT_EQ(settings.receiveTimeout, 30000);
    EXPECT_EQ(settings.lastError, 0u);
    EXPECT_TRUE(HttpClientSettings::keepCertificateChecks);
}

TEST(HttpClientArguments, CancelledTokenEndsARequestBeforeItIsSent) {
    HttpCancel cancel;
    cancel.Cancel();
    EXPECT_TRUE(cancel.IsCancelled());
    std::vector<char> buffer(32, 'x');
    EXPECT_EQ(HttpRequest("GET", "http://127.0.0.1:1/", nullptr, 0, buffer, &cancel), 0);
    EXPECT_EQ(std::string(buffer.data()), std::string(kNoLinkServer));
    cancel.Reset();
    EXPECT_FALSE(cancel.IsCancelled());
}

} // namespace
} // namespace q407::update
