#pragma once

#include <curl/curl.h>

#include <string>

namespace zentrix {

// libcurl's entry points, from the library loaded at the first transfer instead of at program
// start: with the thirty libraries it pulls in, linking it would add about 10 ms to every start
// of the bar, which fetches nothing before it is on screen.
struct TCurlLibrary {
  decltype(&curl_global_init) GlobalInit = nullptr;
  decltype(&curl_easy_init) EasyInit = nullptr;
  decltype(&curl_easy_setopt) EasySetopt = nullptr;
  decltype(&curl_easy_perform) EasyPerform = nullptr;
  decltype(&curl_easy_getinfo) EasyGetinfo = nullptr;
  decltype(&curl_easy_strerror) EasyStrerror = nullptr;
  decltype(&curl_easy_cleanup) EasyCleanup = nullptr;
  decltype(&curl_slist_append) SlistAppend = nullptr;
  decltype(&curl_slist_free_all) SlistFreeAll = nullptr;
};

// Loads libcurl and runs its global initialisation once, from any thread; nullptr when the
// library cannot be loaded, with the reason in error.
const TCurlLibrary* CurlLibrary(std::string& error);

}  // namespace zentrix
