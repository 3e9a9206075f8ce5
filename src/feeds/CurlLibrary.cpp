#include "feeds/CurlLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace zentrix {

namespace {

struct TLoaded {
  TCurlLibrary Library;
  std::string Error;
  bool Ok = false;
};

template <typename T>
bool Resolve(void* handle, const char* name, T& entry, std::string& error) {
  entry = reinterpret_cast<T>(dlsym(handle, name));
  if (entry == nullptr && error.empty()) error = std::string("libcurl lacks ") + name;
  return entry != nullptr;
}

TLoaded Load() {
  TLoaded loaded;
  // The soname of the library the headers come from; kept loaded for the rest of the run.
  void* handle = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    loaded.Error = std::string("cannot load libcurl: ") + (reason ? reason : "unknown reason");
    return loaded;
  }
  TCurlLibrary& l = loaded.Library;
  std::string& e = loaded.Error;
  const bool all = Resolve(handle, "curl_global_init", l.GlobalInit, e) & Resolve(handle, "curl_easy_init", l.EasyInit, e) &
                   Resolve(handle, "curl_easy_setopt", l.EasySetopt, e) &
                   Resolve(handle, "curl_easy_perform", l.EasyPerform, e) &
                   Resolve(handle, "curl_easy_getinfo", l.EasyGetinfo, e) &
                   Resolve(handle, "curl_easy_strerror", l.EasyStrerror, e) &
                   Resolve(handle, "curl_easy_cleanup", l.EasyCleanup, e) &
                   Resolve(handle, "curl_slist_append", l.SlistAppend, e) &
                   Resolve(handle, "curl_slist_free_all", l.SlistFreeAll, e);
  if (!all) return loaded;
  if (l.GlobalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
    e = "libcurl could not be initialised";
    return loaded;
  }
  loaded.Ok = true;
  return loaded;
}

}  // namespace

const TCurlLibrary* CurlLibrary(std::string& error) {
  static const TLoaded loaded = Load();
  if (!loaded.Ok) {
    error = loaded.Error;
    return nullptr;
  }
  return &loaded.Library;
}

}  // namespace zentrix
