#pragma once

#include <string>

namespace zentrix {

// Opens an http, https, mailto or file address with the desktop's default handler, without a
// shell and without waiting for it. False for any other address or when the handler could not
// be started.
bool OpenAddress(const std::string& url);

// True for the addresses OpenAddress hands over: one of the schemes above, no control characters
// and not beginning with "-" (so the handler never takes it for an option).
bool IsOpenableAddress(const std::string& url);

}  // namespace zentrix
