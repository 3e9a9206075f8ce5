#include "support/TestHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/RunProcess.h"

namespace zentrix::test {
namespace {

constexpr int kReadTimeoutMs = 5000;
constexpr const char* kOpenSsl = "/usr/bin/openssl";

void SetTimeouts(int fd) {
  timeval receive{5, 0};
  timeval send{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receive, sizeof receive);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send, sizeof send);
}

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool SendAll(int fd, const std::string& text) { return SendAll(fd, text.data(), text.size()); }

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

}  // namespace

TTestReply TTestReply::Ok(std::string body, std::string contentType) {
  TTestReply r;
  r.Body = std::move(body);
  r.Headers.emplace_back("Content-Type", std::move(contentType));
  return r;
}

TTestReply TTestReply::NoLength(std::string body) {
  TTestReply r = Ok(std::move(body));
  r.Kind = rkNoLength;
  return r;
}

TTestReply TTestReply::NotFound(std::string html) {
  TTestReply r = Ok(std::move(html), "text/html");
  r.Status = 404;
  r.Reason = "Not Found";
  return r;
}

TTestReply TTestReply::Short(std::string body, std::uint64_t announced) {
  TTestReply r = Ok(std::move(body));
  r.Kind = rkShort;
  r.AnnouncedLength = announced;
  return r;
}

TTestReply TTestReply::Redirect(const std::string& location, int status) {
  TTestReply r;
  r.Status = status;
  r.Reason = "Found";
  r.Body = "<html>moved</html>";
  r.Headers.emplace_back("Location", location);
  return r;
}

TTestReply TTestReply::Silent() {
  TTestReply r;
  r.Kind = rkSilent;
  return r;
}

TTestReply TTestReply::Large(std::uint64_t bytes, bool withLength) {
  TTestReply r;
  r.Kind = rkGenerated;
  r.GeneratedBytes = bytes;
  r.GeneratedWithLength = withLength;
  return r;
}

TTestHttpServer::TTestHttpServer() {
  FListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (FListen < 0) throw std::runtime_error("test server: socket failed");
  const int one = 1;
  setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(FListen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(FListen, 16) != 0) {
    close(FListen);
    throw std::runtime_error("test server: bind or listen failed");
  }
  socklen_t length = sizeof address;
  getsockname(FListen, reinterpret_cast<sockaddr*>(&address), &length);
  FPort = ntohs(address.sin_port);
  if (pipe2(FWake, O_CLOEXEC) != 0) {
    close(FListen);
    throw std::runtime_error("test server: pipe failed");
  }
  FThread = std::thread([this] { Serve(); });
}

TTestHttpServer::~TTestHttpServer() {
  const char stop = 'x';
  (void)!write(FWake[1], &stop, 1);
  if (FThread.joinable()) FThread.join();
  for (int fd : FSilent) close(fd);
  close(FListen);
  close(FWake[0]);
  close(FWake[1]);
}

std::string TTestHttpServer::HostPort() const { return "127.0.0.1:" + std::to_string(FPort); }

std::string TTestHttpServer::Url(const std::string& target) const { return "http://" + HostPort() + target; }

void TTestHttpServer::Route(const std::string& target, TTestReply reply) {
  std::lock_guard lock(FMutex);
  FRoutes[target] = std::move(reply);
}

std::vector<TTestHttpServer::TRequest> TTestHttpServer::Requests() const {
  std::lock_guard lock(FMutex);
  return FRequests;
}

int TTestHttpServer::RequestCount(const std::string& target) const {
  std::lock_guard lock(FMutex);
  int count = 0;
  for (const TRequest& r : FRequests) count += r.Target == target ? 1 : 0;
  return count;
}

void TTestHttpServer::Serve() {
  while (true) {
    pollfd fds[2] = {{FListen, POLLIN, 0}, {FWake[0], POLLIN, 0}};
    if (poll(fds, 2, 1000) < 0) continue;
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    const int client = accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
    if (client >= 0) Handle(client);
  }
}

void TTestHttpServer::Handle(int client) {
  SetTimeouts(client);
  std::string request;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadTimeoutMs);
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 &&
         std::chrono::steady_clock::now() < deadline) {
    char buffer[4096];
    const ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  TRequest record;
  std::istringstream lines(request);
  std::getline(lines, record.RequestLine);
  if (!record.RequestLine.empty() && record.RequestLine.back() == '\r') record.RequestLine.pop_back();
  const std::size_t first = record.RequestLine.find(' ');
  const std::size_t second = record.RequestLine.find(' ', first + 1);
  if (first != std::string::npos) record.Target = record.RequestLine.substr(first + 1, second - first - 1);
  for (std::string line; std::getline(lines, line) && line != "\r";) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string value = line.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ')) value.erase(0, 1);
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.pop_back();
    record.Headers[Lower(line.substr(0, colon))] = value;
  }

  TTestReply reply = TTestReply::NotFound("<html><body><h1>Not Found</h1></body></html>");
  {
    std::lock_guard lock(FMutex);
    FRequests.push_back(record);
    if (const auto it = FRoutes.find(record.Target); it != FRoutes.end()) reply = it->second;
    if (reply.Kind == TTestReply::rkSilent) {
      FSilent.push_back(client);
      return;
    }
  }

  std::string head = "HTTP/1.0 " + std::to_string(reply.Status) + " " + reply.Reason + "\r\n";
  for (const auto& [name, value] : reply.Headers) head += name + ": " + value + "\r\n";
  switch (reply.Kind) {
    case TTestReply::rkLength:
      head += "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n";
      break;
    case TTestReply::rkShort:
      head += "Content-Length: " + std::to_string(reply.AnnouncedLength) + "\r\n";
      break;
    case TTestReply::rkGenerated:
      if (reply.GeneratedWithLength) head += "Content-Length: " + std::to_string(reply.GeneratedBytes) + "\r\n";
      break;
    default:
      break;
  }
  head += "Connection: close\r\n\r\n";
  if (SendAll(client, head)) {
    if (reply.Kind == TTestReply::rkGenerated) {
      const std::string chunk(65536, 'x');
      for (std::uint64_t left = reply.GeneratedBytes; left > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
        if (!SendAll(client, chunk.data(), n)) break;
        left -= n;
      }
    } else {
      SendAll(client, reply.Body);
    }
  }
  shutdown(client, SHUT_WR);
  close(client);
}

TTestTlsServer::TTestTlsServer(TCertificate certificate, const std::string& workDir) {
  const std::string key = workDir + "/server.key";
  FCertificate = workDir + "/server.pem";
  const std::vector<std::string> newKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
  TProcessResult made;
  if (certificate == tcExpired) {
    // "openssl req" cannot back-date; a self-signing "openssl ca" can.
    std::ofstream(workDir + "/ca.cnf") << "[ca]\ndefault_ca = c\n[c]\ndatabase = " << workDir
                                       << "/index.txt\nnew_certs_dir = " << workDir << "\nserial = " << workDir
                                       << "/serial\ndefault_md = sha256\npolicy = p\nunique_subject = no\n"
                                          "[p]\ncommonName = supplied\n[ext]\nsubjectAltName = IP:127.0.0.1\n";
    std::ofstream(workDir + "/index.txt");
    std::ofstream(workDir + "/serial") << "01\n";
    std::vector<std::string> req = {"req", "-new"};
    req.insert(req.end(), newKey.begin(), newKey.end());
    req.insert(req.end(), {"-keyout", key, "-out", workDir + "/server.csr", "-subj", "/CN=127.0.0.1"});
    made = RunProcess(kOpenSsl, req);
    if (made.ExitCode == 0) {
      made = RunProcess(kOpenSsl, {"ca", "-config", workDir + "/ca.cnf", "-selfsign", "-keyfile", key, "-in",
                                    workDir + "/server.csr", "-out", FCertificate, "-startdate", "20000101000000Z",
                                    "-enddate", "20010101000000Z", "-extensions", "ext", "-batch", "-notext"});
    }
  } else {
    const bool good = certificate == tcGood;
    std::vector<std::string> req = {"req", "-x509"};
    req.insert(req.end(), newKey.begin(), newKey.end());
    req.insert(req.end(), {"-keyout", key, "-out", FCertificate, "-days", "2", "-subj",
                           good ? "/CN=127.0.0.1" : "/CN=wrong.example", "-addext",
                           good ? "subjectAltName=IP:127.0.0.1" : "subjectAltName=DNS:wrong.example"});
    made = RunProcess(kOpenSsl, req);
  }
  if (made.ExitCode != 0) {
    FLog = made.Err;
    return;
  }

  const std::string logFile = workDir + "/s_server.log";
  const pid_t pid = fork();
  if (pid == 0) {
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(log, 1);
    dup2(log, 2);
    execl(kOpenSsl, "openssl", "s_server", "-4", "-accept", "0", "-cert", FCertificate.c_str(), "-key",
           key.c_str(), "-www", static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid < 0) return;
  FPid = pid;
  // The server prints "ACCEPT 0.0.0.0:PORT" once it listens.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(logFile);
    std::stringstream text;
    text << in.rdbuf();
    FLog = text.str();
    const std::size_t accept = FLog.find("ACCEPT ");
    const std::size_t end = accept == std::string::npos ? std::string::npos : FLog.find('\n', accept);
    if (end != std::string::npos) {
      const std::string line = FLog.substr(accept, end - accept);
      FPort = static_cast<std::uint16_t>(std::stoi(line.substr(line.rfind(':') + 1)));
      return;
    }
    if (waitpid(FPid, nullptr, WNOHANG) == FPid) {
      FPid = -1;
      return;
    }
    usleep(20000);
  }
}

TTestTlsServer::~TTestTlsServer() {
  if (FPid > 0) {
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
  }
}

}  // namespace zentrix::test
