#include "feeds/Valtri_Internet.h"

#include "feeds/CurlLibrary.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace zentrix {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsHostChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
         c == '_' || c == '~' || c == '%' || c >= 0x80;
}

bool ParsePort(std::string_view text, std::uint16_t& port) {
  if (text.empty() || text.size() > 5) return false;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  port = static_cast<std::uint16_t>(value);
  return true;
}

struct TTransfer {
  const TCurlLibrary* Api = nullptr;
  CURL* Curl = nullptr;
  std::string* Body = nullptr;
  bool Exact = false;
  bool GateChecked = false;
  bool NoLength = false;
  bool TooLarge = false;
  std::uint64_t MaxBytes = 0;
};

// Counting here, not with CURLOPT_MAXFILESIZE: that limit does not stop a body of unknown length.
std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<TTransfer*>(user);
  const std::size_t n = size * count;
  if (!t->GateChecked) {
    t->GateChecked = true;
    if (t->Exact) {
      curl_off_t length = -1;
      t->Api->EasyGetinfo(t->Curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      if (length < 0) {
        t->NoLength = true;
        return 0;
      }
    }
  }
  const std::uint64_t room = t->MaxBytes - std::min<std::uint64_t>(t->MaxBytes, t->Body->size());
  if (n > room) {
    t->Body->append(data, static_cast<std::size_t>(room));
    t->TooLarge = true;
    return 0;
  }
  t->Body->append(data, n);
  return n;
}

struct TCurlCleanup {
  const TCurlLibrary* Api;
  CURL* Curl;
  curl_slist* Headers;
  ~TCurlCleanup() {
    if (Headers) Api->SlistFreeAll(Headers);
    if (Curl) Api->EasyCleanup(Curl);
  }
};

std::string NoProxyList() {
  // Loopback never goes through a proxy; the user's own exceptions stay in force.
  std::string list = "localhost,127.0.0.1,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
      list += ',';
      list += value;
      break;
    }
  }
  return list;
}

}  // namespace

std::optional<THttpTarget> SplitHttpAddress(std::string_view address, std::uint16_t port) {
  THttpTarget target;
  std::string_view rest = address;
  if (StartsWithNoCase(rest, "http://")) rest.remove_prefix(7);
  if (StartsWithNoCase(rest, "https://")) {
    rest.remove_prefix(8);
    target.FSecure = true;
  }
  const std::size_t hostEnd = rest.find_first_of("/?");
  const std::size_t schemeMark = rest.find("://");
  if (schemeMark != std::string_view::npos && (hostEnd == std::string_view::npos || schemeMark < hostEnd)) {
    return std::nullopt;  // ftp://, file:// and the like are never fetched
  }
  std::string_view hostPort = rest.substr(0, hostEnd);
  if (hostEnd == std::string_view::npos) {
    target.Object = "/";
  } else {
    target.Object = rest.substr(hostEnd);
    if (target.Object.front() == '?') target.Object.insert(0, "/");
  }

  std::string_view host = hostPort;
  std::string_view portText;
  if (!hostPort.empty() && hostPort.front() == '[') {
    const std::size_t close = hostPort.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = hostPort.substr(1, close - 1);
    std::string_view after = hostPort.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return std::nullopt;
      portText = after.substr(1);
    }
    for (char c : host) {
      if (!(IsHostChar(static_cast<unsigned char>(c)) || c == ':')) return std::nullopt;
    }
  } else {
    const std::size_t colon = hostPort.find(':');
    if (colon != std::string_view::npos) {
      host = hostPort.substr(0, colon);
      portText = hostPort.substr(colon + 1);
    }
    for (char c : host) {
      if (!IsHostChar(static_cast<unsigned char>(c))) return std::nullopt;
    }
  }
  if (host.empty()) return std::nullopt;
  target.Host = host;

  std::uint16_t written = 0;
  if (!portText.empty() && !ParsePort(portText, written)) return std::nullopt;
  if (port != 0) {
    target.Port = port;
  } else if (written != 0) {
    target.Port = written;
  } else {
    target.Port = target.FSecure ? 443 : 80;
  }
  return target;
}

THttpResult HttpFetch(std::string_view address, const std::string& user, const std::string& password,
                      std::string& body, std::uint16_t port, bool exact, const THttpOptions& options) {
  body.clear();
  THttpResult result;
  const std::optional<THttpTarget> target = SplitHttpAddress(address, port);
  if (!target) {
    result.Error = "not an http:// or https:// address";
    return result;
  }
  // Object names go out unchanged, the way the servers we talk to expect them; control
  // characters would let an address smuggle in request lines.
  for (char c : target->Object) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      result.Error = "control character in address";
      return result;
    }
  }
  std::string url = target->FSecure ? "https://" : "http://";
  url += target->Host.find(':') != std::string::npos ? "[" + target->Host + "]" : target->Host;
  url += ':' + std::to_string(target->Port) + target->Object;

  const TCurlLibrary* api = CurlLibrary(result.Error);
  if (api == nullptr) return result;
  TCurlCleanup handles{api, api->EasyInit(), nullptr};
  CURL* curl = handles.Curl;
  if (curl == nullptr) {
    result.Error = "cannot start an HTTP session";
    return result;
  }
  TTransfer transfer;
  transfer.Api = api;
  transfer.Curl = curl;
  transfer.Body = &body;
  transfer.Exact = exact;
  transfer.MaxBytes = options.MaxBodyBytes;

  char errorBuffer[CURL_ERROR_SIZE] = {};
  const std::string noProxy = NoProxyList();
  api->EasySetopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  api->EasySetopt(curl, CURLOPT_URL, url.c_str());
  api->EasySetopt(curl, CURLOPT_PATH_AS_IS, 1L);
  api->EasySetopt(curl, CURLOPT_NOSIGNAL, 1L);
  api->EasySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  api->EasySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  api->EasySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  api->EasySetopt(curl, CURLOPT_MAXREDIRS, options.MaxRedirects);
  api->EasySetopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  api->EasySetopt(curl, CURLOPT_USERAGENT, "agent");
  api->EasySetopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
  api->EasySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, options.ConnectTimeoutMs);
  api->EasySetopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  api->EasySetopt(curl, CURLOPT_LOW_SPEED_TIME, options.LowSpeedTimeS);
  api->EasySetopt(curl, CURLOPT_TIMEOUT_MS, options.TotalTimeoutMs);
  api->EasySetopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  api->EasySetopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!options.CaFile.empty()) api->EasySetopt(curl, CURLOPT_CAINFO, options.CaFile.c_str());
  if (!user.empty() || !password.empty()) {
    api->EasySetopt(curl, CURLOPT_USERNAME, user.c_str());
    api->EasySetopt(curl, CURLOPT_PASSWORD, password.c_str());
  }
  if (target->FSecure) {
    handles.Headers = api->SlistAppend(nullptr, "Pragma: no-cache");
    api->EasySetopt(curl, CURLOPT_HTTPHEADER, handles.Headers);
  }
  api->EasySetopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
  api->EasySetopt(curl, CURLOPT_WRITEDATA, &transfer);

  const CURLcode code = api->EasyPerform(curl);
  api->EasyGetinfo(curl, CURLINFO_RESPONSE_CODE, &result.Status);
  curl_off_t length = -1;
  api->EasyGetinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  result.AnnouncedLength = length;

  if (transfer.TooLarge) {
    result.Outcome = THttpOutcome::hoTooLarge;
    result.Error = "body larger than " + std::to_string(options.MaxBodyBytes) + " bytes";
  } else if (exact && (transfer.NoLength || (code == CURLE_OK && length < 0))) {
    body.clear();
    result.Outcome = THttpOutcome::hoNoLength;
    result.Error = "no Content-Length in the answer";
  } else if (code == CURLE_OK) {
    result.Outcome = THttpOutcome::hoComplete;
  } else {
    result.Outcome = result.Status > 0 && code != CURLE_TOO_MANY_REDIRECTS ? THttpOutcome::hoBrokenOff
                                                                            : THttpOutcome::hoNotFetched;
    result.Error = errorBuffer[0] != '\0' ? errorBuffer : api->EasyStrerror(code);
  }
  return result;
}

bool HttpGet(std::string_view address, const std::string& user, const std::string& password, std::string& stream,
             std::uint16_t port, const THttpOptions& options) {
  const THttpResult r = HttpFetch(address, user, password, stream, port, false, options);
  return !stream.empty() && r.Outcome != THttpOutcome::hoTooLarge;
}

bool HttpGetExact(std::string_view address, const std::string& user, const std::string& password,
                  std::string& stream, std::uint16_t port, const THttpOptions& options) {
  const THttpResult r = HttpFetch(address, user, password, stream, port, true, options);
  return r.Outcome == THttpOutcome::hoComplete && !stream.empty() &&
         static_cast<std::int64_t>(stream.size()) == r.AnnouncedLength;
}

std::optional<std::string> FileNameFromAddress(std::string_view address) {
  const std::size_t slash = address.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? address : address.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\' || u < 0x20 || u == 0x7f) return std::nullopt;
  }
  return std::string(name);
}

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  };
  const std::size_t n = bytes.size() / 2 * 2;
  for (std::size_t i = 0; i < n; i += 2) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 3 < n) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
  }
  if (bytes.size() % 2 != 0) AppendUtf8(out, 0xFFFD);
  return out;
}

}  // namespace

std::string DecodeAnswerText(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") return FromUtf16(bytes.substr(2), false);
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") return FromUtf16(bytes.substr(2), true);
  return std::string(bytes);
}

bool WriteFileWhole(const std::string& path, std::string_view content) {
  std::string temp = path + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return false;
  const std::string tempPath(name.data());
  fchmod(fd, 0644);  // a cache file, readable like any other file the user saves
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < content.size()) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      ok = false;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  if (ok) ok = fsync(fd) == 0;
  if (close(fd) != 0) ok = false;
  if (ok) ok = std::rename(tempPath.c_str(), path.c_str()) == 0;
  if (!ok) unlink(tempPath.c_str());
  return ok;
}

}  // namespace zentrix
