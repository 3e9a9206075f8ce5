// Starts a program and reports how long it takes from exec until a window of its process is
// mapped, as the X server sees it: no polling, so no granularity of its own. The program keeps
// the process (and pid) of this launcher; a watcher process writes the figure to a file.
//
//   launch_to_map RESULT_FILE PROGRAM [ARGS...]
//
// RESULT_FILE receives the milliseconds, or "-" when no window was mapped within 20 s.
#include <xcb/xcb.h>

#include <poll.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::int64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(r);
  return atom;
}

bool HasPid(xcb_connection_t* c, xcb_window_t w, xcb_atom_t pidAtom, std::uint32_t pid) {
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  const bool match = r && xcb_get_property_value_length(r) == 4 &&
                     *static_cast<std::uint32_t*>(xcb_get_property_value(r)) == pid;
  std::free(r);
  return match;
}

// The mapped window itself or, when the window manager framed it, one of the frame's children.
bool BelongsTo(xcb_connection_t* c, xcb_window_t w, xcb_atom_t pidAtom, std::uint32_t pid) {
  if (HasPid(c, w, pidAtom, pid)) return true;
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
  if (!tree) return false;
  bool match = false;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !match; ++i)
    match = HasPid(c, children[i], pidAtom, pid);
  std::free(tree);
  return match;
}

int Watch(const char* resultFile, std::uint32_t pid, int ready, int start) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 1;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID");
  xcb_flush(c);
  const char byte = 1;
  if (write(ready, &byte, 1) != 1) return 1;
  std::int64_t t0 = 0;
  if (read(start, &t0, sizeof t0) != sizeof t0) return 1;

  const std::int64_t deadline = t0 + 20'000'000'000;
  std::vector<xcb_window_t> mapped;
  double ms = -1;
  pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
  while (ms < 0 && NowNs() < deadline) {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
      if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
        const std::int64_t at = NowNs();
        // _NET_WM_PID may be set just after the map reaches us; look again below.
        mapped.push_back(reinterpret_cast<xcb_map_notify_event_t*>(e)->window);
        if (BelongsTo(c, mapped.back(), pidAtom, pid)) ms = static_cast<double>(at - t0) / 1e6;
      }
      std::free(e);
      if (ms >= 0) break;
    }
    if (ms < 0) poll(&pfd, 1, 50);
    if (xcb_connection_has_error(c)) break;
  }
  FILE* out = std::fopen(resultFile, "w");
  if (!out) return 1;
  if (ms >= 0)
    std::fprintf(out, "%.1f\n", ms);
  else
    std::fprintf(out, "-\n");
  std::fclose(out);
  xcb_disconnect(c);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: launch_to_map RESULT_FILE PROGRAM [ARGS...]\n");
    return 2;
  }
  int ready[2], start[2];
  if (pipe(ready) != 0 || pipe(start) != 0) return 1;
  const pid_t program = getpid();
  const pid_t watcher = fork();
  if (watcher < 0) return 1;
  if (watcher == 0) {
    close(ready[0]);
    close(start[1]);
    _exit(Watch(argv[1], static_cast<std::uint32_t>(program), ready[1], start[0]));
  }
  close(ready[1]);
  close(start[0]);
  char byte = 0;
  if (read(ready[0], &byte, 1) != 1) return 1;
  close(ready[0]);
  const std::int64_t t0 = NowNs();
  if (write(start[1], &t0, sizeof t0) != sizeof t0) return 1;
  close(start[1]);
  execvp(argv[2], argv + 2);
  std::perror("launch_to_map: exec");
  return 127;
}
