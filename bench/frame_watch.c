/* Watches a window's pixels on the X display for the budget run, far finer than a screenshot
 * tool can (each of those costs a process start, some 40 ms):
 *
 *   frame_watch painted WIN T0_NS [TIMEOUT_MS]
 *       waits until the window's client area is no longer all black (what Xvfb shows before
 *       the program's first paint) and prints the milliseconds since T0_NS (CLOCK_REALTIME).
 *   frame_watch start PID TITLE_PREFIX T0_NS [TIMEOUT_MS]
 *       waits for a viewable window of process PID (_NET_WM_PID) whose title starts with
 *       TITLE_PREFIX (the lowest id when several), then as "painted"; prints
 *       "WIN FOUND_MS PAINTED_MS". Looking from inside one process keeps the watcher's own CPU
 *       small while the program it measures starts; a poll of xdotool would compete with it.
 *   frame_watch change WIN [TIMEOUT_MS] -- COMMAND...
 *       grabs the area, runs COMMAND (a key press), and prints two numbers: the milliseconds
 *       from just before COMMAND to the first change, and to the last change before the area
 *       stayed the same for 300 ms (the page fully drawn). "-1" when nothing changed.
 *   frame_watch damage WIN [TIMEOUT_MS] -- COMMAND...
 *       the same two numbers from the X server's damage events on the window instead of
 *       grabs: every drawing the program sends is reported as it lands, and the watcher
 *       costs nothing while it waits. A grab of the whole area every 2 ms keeps most of a
 *       core busy in the watcher and in the X server, which on a small machine slows the
 *       program being measured; this mode leaves the machine to the program. With FW_DEBUG
 *       set, every damaged rectangle is written to stderr with its time (ns, CLOCK_REALTIME).
 *
 * The area is read from the root window at the window's place, a grab every 2 ms. */
#include <X11/Xlibint.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/damageproto.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long nowNs(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void pause2ms(void) {
  struct timespec t = {0, 2000000};
  nanosleep(&t, NULL);
}

typedef struct {
  Display* dpy;
  Window root;
  int x, y;
  unsigned w, h;
} Area;

static int openArea(Area* a, Window win) {
  XWindowAttributes wa;
  Window child;
  a->dpy = XOpenDisplay(NULL);
  if (!a->dpy) return fprintf(stderr, "frame_watch: no display\n"), 0;
  a->root = DefaultRootWindow(a->dpy);
  if (!XGetWindowAttributes(a->dpy, win, &wa)) return fprintf(stderr, "frame_watch: no window %lu\n", win), 0;
  XTranslateCoordinates(a->dpy, win, a->root, 0, 0, &a->x, &a->y, &child);
  a->w = (unsigned)wa.width;
  a->h = (unsigned)wa.height;
  return 1;
}

/* The area's pixels; NULL when the grab failed (window off screen). */
static XImage* grab(Area* a) {
  return XGetImage(a->dpy, a->root, a->x, a->y, a->w, a->h, AllPlanes, ZPixmap);
}

static int allBlack(XImage* img) {
  const size_t n = (size_t)img->bytes_per_line * (size_t)img->height;
  for (size_t i = 0; i < n; ++i)
    if (img->data[i]) return 0;
  return 1;
}

static int same(XImage* a, XImage* b) {
  return a->bytes_per_line == b->bytes_per_line && a->height == b->height &&
         memcmp(a->data, b->data, (size_t)a->bytes_per_line * (size_t)a->height) == 0;
}

static int painted(Window win, long long t0, long long timeoutMs) {
  Area a;
  if (!openArea(&a, win)) return 1;
  while ((nowNs() - t0) / 1000000 < timeoutMs) {
    XImage* img = grab(&a);
    const long long t = nowNs();
    if (img) {
      const int black = allBlack(img);
      XDestroyImage(img);
      if (!black) {
        printf("%.1f\n", (double)(t - t0) / 1e6);
        return 0;
      }
    }
    pause2ms();
  }
  printf("-1\n");
  return 2;
}

static int ignoreErrors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0;
}

/* The lowest viewable window below `w` that PID owns and whose title starts with prefix. */
static Window findWindow(Display* dpy, Window w, Atom pidAtom, unsigned long pid, const char* prefix) {
  Window best = 0, root, parent, *kids = NULL;
  unsigned n = 0;
  Atom type;
  int format;
  unsigned long items, after;
  unsigned char* data = NULL;
  if (XGetWindowProperty(dpy, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data) == Success &&
      data && items == 1 && *(unsigned long*)data == pid) {
    char* name = NULL;
    XWindowAttributes wa;
    if (XFetchName(dpy, w, &name) && name && strncmp(name, prefix, strlen(prefix)) == 0 &&
        XGetWindowAttributes(dpy, w, &wa) && wa.map_state == IsViewable)
      best = w;
    if (name) XFree(name);
  }
  if (data) XFree(data);
  if (XQueryTree(dpy, w, &root, &parent, &kids, &n)) {
    for (unsigned i = 0; i < n; ++i) {
      const Window found = findWindow(dpy, kids[i], pidAtom, pid, prefix);
      if (found && (!best || found < best)) best = found;
    }
    if (kids) XFree(kids);
  }
  return best;
}

static int start(unsigned long pid, const char* prefix, long long t0, long long timeoutMs) {
  Display* dpy = XOpenDisplay(NULL);
  if (!dpy) return fprintf(stderr, "frame_watch: no display\n"), 1;
  XSetErrorHandler(ignoreErrors);
  const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
  Window win = 0;
  long long found = 0;
  while (!win) {
    if ((nowNs() - t0) / 1000000 >= timeoutMs) return printf("0 -1 -1\n"), 2;
    win = findWindow(dpy, DefaultRootWindow(dpy), pidAtom, pid, prefix);
    found = nowNs();
    if (!win) pause2ms();
  }
  printf("%lu %.1f ", win, (double)(found - t0) / 1e6);
  fflush(stdout);
  XCloseDisplay(dpy);
  return painted(win, t0, timeoutMs);
}

static int change(Window win, long long timeoutMs, char** command) {
  Area a;
  if (!openArea(&a, win)) return 1;
  XImage* last = grab(&a);
  if (!last) return fprintf(stderr, "frame_watch: cannot read the window's area\n"), 1;
  const long long t0 = nowNs();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(command[0], command);
    _exit(127);
  }
  long long first = -1, lastChange = -1;
  while ((nowNs() - t0) / 1000000 < timeoutMs) {
    XImage* img = grab(&a);
    const long long t = nowNs();
    if (img) {
      if (!same(img, last)) {
        if (first < 0) first = t - t0;
        lastChange = t - t0;
        XDestroyImage(last);
        last = img;
      } else {
        XDestroyImage(img);
        if (first >= 0 && t - t0 - lastChange > 300000000LL) break;
      }
    }
    pause2ms();
  }
  XDestroyImage(last);
  int status = 0;
  waitpid(pid, &status, 0);
  printf("%.1f %.1f\n", first < 0 ? -1.0 : (double)first / 1e6, lastChange < 0 ? -1.0 : (double)lastChange / 1e6);
  return first < 0 ? 2 : 0;
}

/* The DAMAGE extension by hand (its client library is not always installed): a damage object
 * reporting every drawn rectangle, and a converter so Xlib hands its events on. */
static int damageEventBase;

static Bool keepDamageEvent(Display* dpy, XEvent* event, xEvent* wire) {
  (void)dpy;
  event->type = wire->u.u.type & 0x7f;
  const xDamageNotifyEvent* d = (const xDamageNotifyEvent*)wire;
  if (getenv("FW_DEBUG")) fprintf(stderr, "%lld damage %d,%d %dx%d\n", nowNs(), d->area.x, d->area.y, d->area.width, d->area.height);
  return True;
}

static int watchDamage(Display* dpy, Window win) {
  int opcode, firstError;
  if (!XQueryExtension(dpy, "DAMAGE", &opcode, &damageEventBase, &firstError))
    return fprintf(stderr, "frame_watch: the X server has no DAMAGE extension\n"), 0;
  XESetWireToEvent(dpy, damageEventBase + XDamageNotify, keepDamageEvent);
  LockDisplay(dpy);
  xDamageQueryVersionReq* version;
  GetReq(DamageQueryVersion, version);
  version->reqType = (CARD8)opcode;
  version->damageReqType = X_DamageQueryVersion;
  version->majorVersion = 1;
  version->minorVersion = 1;
  xDamageQueryVersionReply reply;
  const Status ok = _XReply(dpy, (xReply*)&reply, 0, xTrue);
  xDamageCreateReq* create;
  GetReq(DamageCreate, create);
  create->reqType = (CARD8)opcode;
  create->damageReqType = X_DamageCreate;
  create->damage = (CARD32)XAllocID(dpy);
  create->drawable = (CARD32)win;
  create->level = XDamageReportRawRectangles;
  UnlockDisplay(dpy);
  SyncHandle();
  XSync(dpy, False);
  return ok ? 1 : (fprintf(stderr, "frame_watch: DAMAGE did not answer\n"), 0);
}

static int damage(Window win, long long timeoutMs, char** command) {
  Display* dpy = XOpenDisplay(NULL);
  if (!dpy) return fprintf(stderr, "frame_watch: no display\n"), 1;
  if (!watchDamage(dpy, win)) return 1;
  /* A new damage object reports the whole window once: that is no change. */
  while (XPending(dpy)) {
    XEvent event;
    XNextEvent(dpy, &event);
  }
  const long long t0 = nowNs();
  if (getenv("FW_DEBUG")) fprintf(stderr, "%lld key\n", t0);
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(command[0], command);
    _exit(127);
  }
  long long first = -1, lastChange = -1;
  struct pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
  for (;;) {
    while (XPending(dpy)) {
      XEvent event;
      XNextEvent(dpy, &event);
      if (event.type != damageEventBase + XDamageNotify) continue;
      const long long t = nowNs() - t0;
      if (first < 0) first = t;
      lastChange = t;
    }
    const long long now = nowNs() - t0;
    if (now / 1000000 >= timeoutMs) break;
    if (first >= 0 && now - lastChange > 300000000LL) break;
    const long long waitUntil = first >= 0 ? lastChange + 300000000LL : timeoutMs * 1000000LL;
    poll(&fd, 1, (int)((waitUntil - now) / 1000000 + 1));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  XCloseDisplay(dpy);
  printf("%.1f %.1f\n", first < 0 ? -1.0 : (double)first / 1e6, lastChange < 0 ? -1.0 : (double)lastChange / 1e6);
  return first < 0 ? 2 : 0;
}

int main(int argc, char** argv) {
  if (argc >= 5 && strcmp(argv[1], "start") == 0)
    return start(strtoul(argv[2], NULL, 10), argv[3], atoll(argv[4]), argc > 5 ? atoll(argv[5]) : 60000);
  if (argc >= 4 && strcmp(argv[1], "painted") == 0)
    return painted(strtoul(argv[2], NULL, 0), atoll(argv[3]), argc > 4 ? atoll(argv[4]) : 60000);
  if (argc >= 5 && (strcmp(argv[1], "change") == 0 || strcmp(argv[1], "damage") == 0)) {
    int i = 3;
    long long timeoutMs = 5000;
    if (strcmp(argv[i], "--") != 0) timeoutMs = atoll(argv[i++]);
    if (i + 1 < argc && strcmp(argv[i], "--") == 0)
      return (argv[1][0] == 'c' ? change : damage)(strtoul(argv[2], NULL, 0), timeoutMs, argv + i + 1);
  }
  fprintf(stderr, "usage: frame_watch start PID TITLE_PREFIX T0_NS [TIMEOUT_MS] | painted WIN T0_NS [TIMEOUT_MS] | change|damage WIN [TIMEOUT_MS] -- COMMAND...\n");
  return 64;
}
