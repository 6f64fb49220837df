#include "Network/NSHTTPURLResponse.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURL.h"

#include <gtest/gtest.h>

TEST(NSURLTest, ParsesURLsAndRefusesOtherText)
{
    auto url = NSURL::URLWithString("http://127.0.0.1:8080/ios/cds/api/KEY/version%20two.json?x=1");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "http");
    EXPECT_EQ(url->host(), "127.0.0.1");
    EXPECT_EQ(url->port(), 8080);
    EXPECT_EQ(url->path(), "/ios/cds/api/KEY/version two.json");
    EXPECT_EQ(url->query(), "x=1");
    EXPECT_EQ(url->lastPathComponent(), "version two.json");
    EXPECT_EQ(url->pathExtension(), "json");
    EXPECT_TRUE(url->isEqual(*NSURL::URLWithString(url->absoluteString())));

    // Truncated, a port past 16 bits, a host of no UTF-8, a NUL inside, an unclosed IPv6 bracket.
    const std::string refused[] = {"", "not a url", "/just/a/path", "http://127.0 .0.1/", "://x", "http://",
                                   "http://h:65536/", "http://h\xFF\xFE/", std::string("http://h/a\0b", 12), "http://[::1/"};
    for (const std::string& text : refused) EXPECT_FALSE(NSURL::URLWithString(text)) << text;

    auto file = NSURL::fileURLWithPath("/tmp/a b.zip");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->isFileURL());
    EXPECT_EQ(file->path(), "/tmp/a b.zip");
}

TEST(NSURLTest, HeaderFieldsReadWithoutRegardToCase)
{
    auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString("http://127.0.0.1/"));
    EXPECT_EQ(request->timeoutInterval(), 60);
    request->setValueForHTTPHeaderField("1", "x-upload-time");
    request->setValueForHTTPHeaderField("gzip", "Content-Encoding");
    request->setValueForHTTPHeaderField("2", "X-Upload-Time");
    EXPECT_EQ(request->allHTTPHeaderFields(),
              (NSURLRequest::HeaderFields{{"x-upload-time", "2"}, {"Content-Encoding", "gzip"}}));
    EXPECT_EQ(request->valueForHTTPHeaderField("content-encoding"), "gzip");

    auto response =
        NSHTTPURLResponse::make(NSURL::URLWithString("http://127.0.0.1/"), 200,
                                {{"Content-Type", "application/json"}, {"Set-Cookie", "a"}, {"set-cookie", "b"}}, -7);
    EXPECT_EQ(response->valueForHTTPHeaderField("CONTENT-TYPE"), "application/json");
    EXPECT_EQ(response->valueForHTTPHeaderField("Set-Cookie"), "a, b");
    EXPECT_EQ(response->allHeaderFields().count(), 2u);
    EXPECT_EQ(response->expectedContentLength(), -1);
}
