#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrix {

// Limits of one fetch. The defaults keep a stalled or hostile server from blocking the program
// or filling its memory; tests shorten the time-outs and trust their own certificate.
struct THttpOptions {
  long ConnectTimeoutMs = 10000;
  // A transfer moving fewer than 1 byte/s for this long is aborted.
  long LowSpeedTimeS = 20;
  long TotalTimeoutMs = 60000;
  std::uint64_t MaxBodyBytes = 32ull * 1024 * 1024;
  long MaxRedirects = 5;
  // Extra trusted certificates (PEM file); empty means the system's store only.
  std::string CaFile;
};

// How an address is split: the scheme, the host (without a port), the port to contact and the
// object name (path and query, beginning with "/").
struct THttpTarget {
  bool FSecure = false;
  std::string Host;
  std::uint16_t Port = 0;
  std::string Object;
};

// "http://" or "https://" (any case) or no scheme at all (plain HTTP); any other scheme, an
// empty host or a bad port gives nothing. A port argument other than 0 wins over a port written
// in the address; with neither, the scheme's default is used. No "/" after the host means "/".
std::optional<THttpTarget> SplitHttpAddress(std::string_view address, std::uint16_t port);

enum class THttpOutcome {
  hoComplete,     // the transfer ended normally
  hoBrokenOff,    // the connection broke, stalled or timed out after the request was sent
  hoTooLarge,     // the body passed THttpOptions::MaxBodyBytes and was cut off there
  hoNoLength,     // exact mode: the answer announced no Content-Length, nothing was read
  hoNotFetched,   // bad address, no connection, TLS failure, too many redirects
};

struct THttpResult {
  THttpOutcome Outcome = THttpOutcome::hoNotFetched;
  long Status = 0;                 // HTTP status of the last answer, 0 when none
  std::int64_t AnnouncedLength = -1;  // Content-Length of the last answer, -1 when absent
  std::string Error;               // why the transfer ended early, for diagnostics
};

// One GET. body is emptied first and holds exactly the bytes received (up to the cap). With
// exact true, an answer without Content-Length is not read. Never throws for network failures.
THttpResult HttpFetch(std::string_view address, const std::string& user, const std::string& password,
                      std::string& body, std::uint16_t port, bool exact, const THttpOptions& options = {});

// True when at least one body byte arrived (whatever the HTTP status) and the body was not cut
// off at the size cap.
bool HttpGet(std::string_view address, const std::string& user, const std::string& password, std::string& stream,
             std::uint16_t port, const THttpOptions& options = {});
// True only when the whole announced Content-Length arrived (and it was more than 0 bytes).
bool HttpGetExact(std::string_view address, const std::string& user, const std::string& password,
                  std::string& stream, std::uint16_t port, const THttpOptions& options = {});

// The last part of an address (after its last "/", query included) as a file name to cache it
// under; nothing when that part is empty, "." or "..", or holds a path separator or a control
// character, so that a server cannot make us write outside the folder.
std::optional<std::string> FileNameFromAddress(std::string_view address);

// Text of an answer body as UTF-8: decoded by its byte-order mark (UTF-8, UTF-16 LE or BE) when
// it has one, else taken as UTF-8. Broken UTF-16 becomes U+FFFD.
std::string DecodeAnswerText(std::string_view bytes);

// Writes a file whole or not at all: a temporary file in the same folder, then a rename.
bool WriteFileWhole(const std::string& path, std::string_view content);

}  // namespace zentrix
