#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zentrix::test {

// One canned answer of the test server.
struct TTestReply {
  enum TKind {
    rkLength,     // status line, headers, Content-Length, body
    rkNoLength,   // no Content-Length: the body ends when the connection closes
    rkShort,      // announces AnnouncedLength but sends only Body, then closes
    rkSilent,     // reads the request and never answers (until the server stops)
    rkGenerated,  // GeneratedBytes of filler, streamed, with or without Content-Length
  };
  TKind Kind = rkLength;
  int Status = 200;
  std::string Reason = "OK";
  std::string Body;
  std::vector<std::pair<std::string, std::string>> Headers;
  std::uint64_t AnnouncedLength = 0;
  std::uint64_t GeneratedBytes = 0;
  bool GeneratedWithLength = true;

  static TTestReply Ok(std::string body, std::string contentType = "text/plain");
  static TTestReply NoLength(std::string body);
  static TTestReply NotFound(std::string html);
  static TTestReply Short(std::string body, std::uint64_t announced);
  static TTestReply Redirect(const std::string& location, int status = 302);
  static TTestReply Silent();
  static TTestReply Large(std::uint64_t bytes, bool withLength);
};

// An HTTP server on 127.0.0.1 with an ephemeral port, served by one thread of this process:
// plain sockets, one request per connection. Unknown paths get a 404. Every wait is bounded and
// the destructor closes everything, so a test cannot hang on it.
class TTestHttpServer {
public:
  TTestHttpServer();
  ~TTestHttpServer();
  TTestHttpServer(const TTestHttpServer&) = delete;
  TTestHttpServer& operator=(const TTestHttpServer&) = delete;

  std::uint16_t Port() const { return FPort; }
  // "127.0.0.1:PORT"
  std::string HostPort() const;
  // "http://127.0.0.1:PORT" + target (which begins with "/").
  std::string Url(const std::string& target) const;

  // Answers requests for target (path and query, exactly as sent) with reply.
  void Route(const std::string& target, TTestReply reply);

  struct TRequest {
    std::string Target;
    std::string RequestLine;
    std::map<std::string, std::string> Headers;  // names in lower case
  };
  std::vector<TRequest> Requests() const;
  int RequestCount(const std::string& target) const;

private:
  void Serve();
  void Handle(int client);

  int FListen = -1;
  int FWake[2] = {-1, -1};
  std::uint16_t FPort = 0;
  std::thread FThread;
  mutable std::mutex FMutex;
  std::map<std::string, TTestReply> FRoutes;
  std::vector<TRequest> FRequests;
  std::vector<int> FSilent;  // connections held open without an answer
};

// `openssl s_server -www` on 127.0.0.1 with a certificate made for the test: it answers every
// request with a small HTML status page. Stopped by the destructor.
class TTestTlsServer {
public:
  enum TCertificate {
    tcGood,       // for IP 127.0.0.1, valid now
    tcWrongName,  // for DNS wrong.example only
    tcExpired,    // for IP 127.0.0.1, valid in 2000 only
  };
  // workDir: where the key and certificate are written.
  TTestTlsServer(TCertificate certificate, const std::string& workDir);
  ~TTestTlsServer();
  TTestTlsServer(const TTestTlsServer&) = delete;
  TTestTlsServer& operator=(const TTestTlsServer&) = delete;

  bool Started() const { return FPort != 0; }
  std::uint16_t Port() const { return FPort; }
  // The server's certificate, to be trusted as a CA file (it signs itself).
  const std::string& CertificateFile() const { return FCertificate; }
  const std::string& Log() const { return FLog; }

private:
  int FPid = -1;
  int FOut = -1;
  std::uint16_t FPort = 0;
  std::string FCertificate;
  std::string FLog;
};

}  // namespace zentrix::test
