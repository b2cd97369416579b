/* Waits for a top-level X window of a given name, at least a given width, to become viewable,
 * and prints the wall-clock time in milliseconds at which the X server reported it.
 *   map_watch NAME MIN_WIDTH [TIMEOUT_S]
 * Prints "ready" once it listens, so that the program to be watched can be started after it.
 * Used by scripts/start-time: an event instead of polling, so both programs measured get the
 * same resolution whatever other windows they open. Exits 1 on timeout, 2 without a display. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static long long NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

/* Whether the window is viewable, wide enough and named `name`. */
static int Matches(Display *display, Window window, const char *name, int minWidth) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return 0;
  if (attributes.map_state != IsViewable || attributes.width < minWidth) return 0;
  char *title = NULL;
  int same = XFetchName(display, window, &title) && title && strcmp(title, name) == 0;
  if (title) XFree(title);
  return same;
}

static int IgnoreErrors(Display *display, XErrorEvent *error) {
  (void)display;
  (void)error;
  return 0; /* a window that went between the event and the question */
}

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s NAME MIN_WIDTH [TIMEOUT_S]\n", argv[0]);
    return 2;
  }
  const char *name = argv[1];
  const int minWidth = atoi(argv[2]);
  alarm(argc > 3 ? (unsigned)atoi(argv[3]) : 20);
  Display *display = XOpenDisplay(NULL);
  if (!display) return 2;
  XSetErrorHandler(IgnoreErrors);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  printf("ready\n");
  fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    Window window = 0;
    if (event.type == MapNotify) window = event.xmap.window;
    else if (event.type == ConfigureNotify) window = event.xconfigure.window;
    if (window && Matches(display, window, name, minWidth)) {
      printf("%lld\n", NowMs());
      return 0;
    }
  }
}
