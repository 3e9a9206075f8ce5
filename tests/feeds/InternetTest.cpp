#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "feeds/Valtri_Internet.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace zentrix {
namespace {

// Table rows print as their names in test listings.
template <typename T>
  requires requires(const T& row) { row.Name; }
void PrintTo(const T& row, std::ostream* os) {
  *os << row.Name;
}

using test::TTestHttpServer;
using test::TTestReply;

// A port nothing listens on: bound once, then released.
std::uint16_t ClosedPort() {
  TTestHttpServer probe;
  return probe.Port();
}

// ---- splitting addresses ----

struct TSplitCase {
  const char* Name;
  const char* Address;
  std::uint16_t PortArgument;
  bool Valid;
  bool Secure;
  const char* Host;
  std::uint16_t Port;
  const char* Object;
};

class SplitAddressTest : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(SplitAddressTest, Split) {
  const TSplitCase& c = GetParam();
  const std::optional<THttpTarget> t = SplitHttpAddress(c.Address, c.PortArgument);
  ASSERT_EQ(t.has_value(), c.Valid);
  if (!t) return;
  EXPECT_EQ(t->FSecure, c.Secure);
  EXPECT_EQ(t->Host, c.Host);
  EXPECT_EQ(t->Port, c.Port);
  EXPECT_EQ(t->Object, c.Object);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SplitAddressTest,
    ::testing::Values(
        TSplitCase{"Plain", "http://example.com/a/b?c=d", 0, true, false, "example.com", 80, "/a/b?c=d"},
        TSplitCase{"SecureDefaultPort", "https://example.com/x", 0, true, true, "example.com", 443, "/x"},
        TSplitCase{"CapitalScheme", "HTTPS://Example.com/x", 0, true, true, "Example.com", 443, "/x"},
        TSplitCase{"MixedCaseScheme", "HtTp://h/x", 0, true, false, "h", 80, "/x"},
        TSplitCase{"NoScheme", "example.com/feed.xml", 0, true, false, "example.com", 80, "/feed.xml"},
        TSplitCase{"NoSlashAfterHost", "http://example.com", 0, true, false, "example.com", 80, "/"},
        TSplitCase{"QueryRightAfterHost", "http://example.com?q=1", 0, true, false, "example.com", 80, "/?q=1"},
        TSplitCase{"PortInAddress", "http://h:8080/x", 0, true, false, "h", 8080, "/x"},
        TSplitCase{"PortArgumentWins", "http://h:8080/x", 81, true, false, "h", 81, "/x"},
        TSplitCase{"SecureExplicitPort", "https://h/x", 8443, true, true, "h", 8443, "/x"},
        TSplitCase{"Ipv6Literal", "http://[::1]:8080/x", 0, true, false, "::1", 8080, "/x"},
        TSplitCase{"ObjectUnchanged", "http://h/a b/../c%20", 0, true, false, "h", 80, "/a b/../c%20"},
        TSplitCase{"FtpRefused", "ftp://h/x", 0, false, false, "", 0, ""},
        TSplitCase{"FileRefused", "file:///etc/passwd", 0, false, false, "", 0, ""},
        TSplitCase{"EmptyHost", "http:///x", 0, false, false, "", 0, ""},
        TSplitCase{"NothingAtAll", "", 0, false, false, "", 0, ""},
        TSplitCase{"PortZero", "http://h:0/", 0, false, false, "", 0, ""},
        TSplitCase{"PortTooLarge", "http://h:99999/", 0, false, false, "", 0, ""},
        TSplitCase{"PortNotNumber", "http://h:ab/", 0, false, false, "", 0, ""},
        TSplitCase{"UserInHost", "http://user@h/", 0, false, false, "", 0, ""},
        TSplitCase{"SpaceInHost", "http://a b/", 0, false, false, "", 0, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- fetching from the loopback server ----

class HttpFetchTest : public ::testing::Test {
protected:
  void SetUp() override {
    FServer.Route("/hello", TTestReply::Ok("hello"));
    FServer.Route("/nolength", TTestReply::NoLength("streamed until close"));
    FServer.Route("/missing", TTestReply::NotFound("<html><body>gone</body></html>"));
    FServer.Route("/empty", TTestReply::Ok(""));
    FServer.Route("/short", TTestReply::Short("only this", 100));
    FServer.Route("/moved", TTestReply::Redirect("/hello"));
    FServer.Route("/moved301", TTestReply::Redirect(FServer.Url("/hello"), 301));
    FServer.Route("/toftp", TTestReply::Redirect("ftp://127.0.0.1/x"));
    // /chain1 -> ... -> /chain6 -> /hello: six redirects; /chain2 starts a chain of five.
    for (int i = 1; i <= 6; ++i) {
      FServer.Route("/chain" + std::to_string(i),
                    TTestReply::Redirect(i == 6 ? "/hello" : "/chain" + std::to_string(i + 1)));
    }
    FServer.Route("/", TTestReply::Ok("root"));
  }

  TTestHttpServer FServer;
};

struct TFetchCase {
  const char* Name;
  const char* Target;
  bool GetOk;
  const char* GetBody;
  bool ExactOk;
  const char* ExactBody;
};

class HttpFetchTableTest : public HttpFetchTest, public ::testing::WithParamInterface<TFetchCase> {};

TEST_P(HttpFetchTableTest, GetAndExact) {
  const TFetchCase& c = GetParam();
  std::string stream = "left over from before";
  EXPECT_EQ(HttpGet(FServer.Url(c.Target), {}, {}, stream, 0), c.GetOk);
  EXPECT_EQ(stream, c.GetBody);
  stream = "left over from before";
  EXPECT_EQ(HttpGetExact(FServer.Url(c.Target), {}, {}, stream, 0), c.ExactOk);
  EXPECT_EQ(stream, c.ExactBody);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, HttpFetchTableTest,
    ::testing::Values(
        TFetchCase{"BodyWithLength", "/hello", true, "hello", true, "hello"},
        TFetchCase{"BodyWithoutLength", "/nolength", true, "streamed until close", false, ""},
        TFetchCase{"NotFoundPageIsABody", "/missing", true, "<html><body>gone</body></html>", true,
                   "<html><body>gone</body></html>"},
        TFetchCase{"UnknownPathGivesServer404", "/nowhere", true, "<html><body><h1>Not Found</h1></body></html>",
                   true, "<html><body><h1>Not Found</h1></body></html>"},
        TFetchCase{"EmptyBody", "/empty", false, "", false, ""},
        TFetchCase{"CutShortOfLength", "/short", true, "only this", false, "only this"},
        TFetchCase{"RelativeRedirect", "/moved", true, "hello", true, "hello"},
        TFetchCase{"AbsoluteRedirect", "/moved301", true, "hello", true, "hello"},
        TFetchCase{"FiveRedirects", "/chain2", true, "hello", true, "hello"},
        TFetchCase{"SixRedirectsRefused", "/chain1", false, "", false, ""},
        TFetchCase{"RedirectToFtpRefused", "/toftp", false, "", false, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(HttpFetchTest, AddressForms) {
  struct TFormCase {
    std::string Address;
    std::uint16_t Port;
    const char* Body;
  };
  const std::string hostPort = FServer.HostPort();
  const TFormCase cases[] = {
      {"HTTP://" + hostPort + "/hello", 0, "hello"},
      {hostPort + "/hello", 0, "hello"},
      {hostPort, 0, "root"},
      {"http://127.0.0.1/hello", FServer.Port(), "hello"},
      {"http://127.0.0.1:1/hello", FServer.Port(), "hello"},
  };
  for (const TFormCase& c : cases) {
    std::string stream;
    EXPECT_TRUE(HttpGet(c.Address, {}, {}, stream, c.Port)) << c.Address;
    EXPECT_EQ(stream, c.Body) << c.Address;
  }
}

TEST_F(HttpFetchTest, RequestIsAPlainHttp10Get) {
  std::string stream;
  ASSERT_TRUE(HttpGet(FServer.Url("/hello?a=1&b=x+y"), {}, {}, stream, 0));
  const auto requests = FServer.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].RequestLine, "GET /hello?a=1&b=x+y HTTP/1.0");
  EXPECT_EQ(requests[0].Headers.at("user-agent"), "agent");
  EXPECT_EQ(requests[0].Headers.at("accept"), "*/*");
  EXPECT_EQ(requests[0].Headers.count("referer"), 0u);
}

TEST_F(HttpFetchTest, FailuresEmptyTheStream) {
  const std::string refused = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x";
  for (const std::string& address : {refused, std::string("ftp://127.0.0.1/x"), std::string("http://"),
                                     FServer.Url("/a\r\nX: y")}) {
    std::string stream = "old";
    EXPECT_FALSE(HttpGet(address, {}, {}, stream, 0)) << address;
    EXPECT_TRUE(stream.empty()) << address;
    stream = "old";
    EXPECT_FALSE(HttpGetExact(address, {}, {}, stream, 0)) << address;
    EXPECT_TRUE(stream.empty()) << address;
  }
}

// ---- limits: stalled servers and huge bodies ----

class HttpLimitsTest : public HttpFetchTest {};

TEST_F(HttpLimitsTest, StalledServerIsAbandoned) {
  FServer.Route("/silent", TTestReply::Silent());
  struct TStallCase {
    const char* Name;
    long LowSpeedTimeS;
    long TotalTimeoutMs;
  };
  const TStallCase cases[] = {{"LowSpeed", 1, 60000}, {"TotalTime", 60, 1500}};
  for (const TStallCase& c : cases) {
    THttpOptions options;
    options.LowSpeedTimeS = c.LowSpeedTimeS;
    options.TotalTimeoutMs = c.TotalTimeoutMs;
    std::string stream = "old";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(HttpGet(FServer.Url("/silent"), {}, {}, stream, 0, options)) << c.Name;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count() /
        1000.0;
    EXPECT_LT(seconds, 5.0) << c.Name;
    EXPECT_TRUE(stream.empty()) << c.Name;
  }
}

TEST_F(HttpLimitsTest, BodySizeCap) {
  struct TSizeCase {
    const char* Name;
    std::uint64_t Served;
    bool WithLength;
    std::uint64_t Cap;
    bool Ok;
    std::uint64_t Kept;
  };
  constexpr std::uint64_t kMiB = 1024 * 1024;
  const TSizeCase cases[] = {
      {"UnderCapWithLength", 2 * kMiB, true, 4 * kMiB, true, 2 * kMiB},
      {"OverCapWithLength", 3 * kMiB, true, 1 * kMiB, false, 1 * kMiB},
      {"OverCapWithoutLength", 3 * kMiB, false, 1 * kMiB, false, 1 * kMiB},
      {"ExactlyAtCap", 1 * kMiB, false, 1 * kMiB, true, 1 * kMiB},
      // The real cap of 32 MiB, with a body of unknown length.
      {"DefaultCap", 40 * kMiB, false, THttpOptions{}.MaxBodyBytes, false, 32 * kMiB},
  };
  for (const TSizeCase& c : cases) {
    FServer.Route("/big", TTestReply::Large(c.Served, c.WithLength));
    THttpOptions options;
    options.MaxBodyBytes = c.Cap;
    std::string stream;
    const THttpResult r = HttpFetch(FServer.Url("/big"), {}, {}, stream, 0, false, options);
    EXPECT_EQ(r.Outcome == THttpOutcome::hoComplete, c.Ok) << c.Name << ": " << r.Error;
    EXPECT_EQ(HttpGet(FServer.Url("/big"), {}, {}, stream, 0, options), c.Ok) << c.Name;
    EXPECT_EQ(stream.size(), c.Kept) << c.Name;
  }
}

// ---- TLS with certificates made for the test ----

struct TTlsCase {
  const char* Name;
  test::TTestTlsServer::TCertificate Certificate;
  bool TrustCertificate;
  bool Ok;
};

class HttpTlsTest : public ::testing::TestWithParam<TTlsCase> {};

TEST_P(HttpTlsTest, CertificateIsVerified) {
  const TTlsCase& c = GetParam();
  test::TTempDir dir;
  test::TTestTlsServer server(c.Certificate, dir.Path().string());
  ASSERT_TRUE(server.Started()) << server.Log();
  THttpOptions options;
  options.TotalTimeoutMs = 10000;
  if (c.TrustCertificate) options.CaFile = server.CertificateFile();
  std::string stream;
  const THttpResult r =
      HttpFetch("https://127.0.0.1:" + std::to_string(server.Port()) + "/", {}, {}, stream, 0, false, options);
  EXPECT_EQ(r.Outcome == THttpOutcome::hoComplete, c.Ok) << r.Error;
  if (c.Ok) {
    EXPECT_NE(stream.find("<HTML>"), std::string::npos) << stream;
  } else {
    EXPECT_TRUE(stream.empty());
    EXPECT_FALSE(r.Error.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Certificates, HttpTlsTest,
                         ::testing::Values(TTlsCase{"TrustedAndValid", test::TTestTlsServer::tcGood, true, true},
                                           TTlsCase{"Untrusted", test::TTestTlsServer::tcGood, false, false},
                                           TTlsCase{"WrongName", test::TTestTlsServer::tcWrongName, true, false},
                                           TTlsCase{"Expired", test::TTestTlsServer::tcExpired, true, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- cache file names and writing ----

struct TNameCase {
  const char* Name;
  const char* Address;
  const char* Expected;  // nullptr: no file name
};

class FileNameTest : public ::testing::TestWithParam<TNameCase> {};

TEST_P(FileNameTest, LastPart) {
  const TNameCase& c = GetParam();
  const std::optional<std::string> name = FileNameFromAddress(c.Address);
  if (c.Expected == nullptr) {
    EXPECT_FALSE(name.has_value()) << *name;
  } else {
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, c.Expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTest,
    ::testing::Values(TNameCase{"Icon", "http://h/images/wsymbol_0001_sunny.png", "wsymbol_0001_sunny.png"},
                      TNameCase{"QueryKept", "http://h/i/icon.png?v=2", "icon.png?v=2"},
                      TNameCase{"EncodedSlashStaysEncoded", "http://h/a%2F..%2Fb.png", "a%2F..%2Fb.png"},
                      TNameCase{"TrailingSlash", "http://h/images/", nullptr},
                      TNameCase{"Dot", "http://h/images/.", nullptr},
                      TNameCase{"DotDot", "http://h/images/..", nullptr},
                      TNameCase{"Backslash", "http://h/images/..\\..\\evil.png", nullptr},
                      TNameCase{"ControlCharacter", "http://h/a\nb.png", nullptr},
                      TNameCase{"Empty", "", nullptr}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(WriteFileWholeTest, ReplacesWholeOrLeavesNothing) {
  test::TTempDir dir;
  const std::string file = (dir.Path() / "icon.png").string();
  ASSERT_TRUE(WriteFileWhole(file, "first"));
  ASSERT_TRUE(WriteFileWhole(file, "second"));
  EXPECT_EQ(test::TTempDir::Read(file), "second");
  EXPECT_FALSE(WriteFileWhole((dir.Path() / "missing" / "icon.png").string(), "x"));
  // Only the file itself: no temporary left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// ---- decoding answers ----

struct TDecodeCase {
  const char* Name;
  std::string Bytes;
  std::string Text;
};

class DecodeAnswerTest : public ::testing::TestWithParam<TDecodeCase> {};

TEST_P(DecodeAnswerTest, Decode) { EXPECT_EQ(DecodeAnswerText(GetParam().Bytes), GetParam().Text); }

INSTANTIATE_TEST_SUITE_P(
    ByteOrderMarks, DecodeAnswerTest,
    ::testing::Values(TDecodeCase{"NoMarkIsUtf8", "M\xC3\xBCnchen", "M\xC3\xBCnchen"},
                      TDecodeCase{"Utf8Mark", "\xEF\xBB\xBFM\xC3\xBCnchen", "M\xC3\xBCnchen"},
                      TDecodeCase{"Utf16Le", std::string("\xFF\xFEM\0\xFC\0", 6), "M\xC3\xBC"},
                      TDecodeCase{"Utf16Be", std::string("\xFE\xFF\0M\0\xFC", 6), "M\xC3\xBC"},
                      TDecodeCase{"Utf16SurrogatePair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6),
                                  "\xF0\x9F\x98\x80"},
                      TDecodeCase{"LoneSurrogate", std::string("\xFF\xFE\x3D\xD8", 4), "\xEF\xBF\xBD"},
                      TDecodeCase{"OddByte", std::string("\xFF\xFEM\0x", 5), "M\xEF\xBF\xBD"},
                      TDecodeCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zentrix
