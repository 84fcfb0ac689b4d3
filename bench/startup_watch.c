/* startup_watch TITLE PROGRAM [ARGS...]
 *
 * Starts PROGRAM on $DISPLAY and prints, on one line,
 *   map_ms=<ms from the process start until a top-level window named TITLE
 *           is mapped> rss_kb=<VmRSS 3 s after the start>
 * then ends the program. Exit code 1 when no such window is mapped within
 * 30 s or the program ends before, 2 on wrong use or no display.
 *
 * The display must have no window manager: top-level windows are then the
 * root window's children, whose mapping SubstructureNotify reports. The
 * name is _NET_WM_NAME (UTF-8) or else WM_NAME; a window mapped under
 * another name is watched in case it is renamed while shown.
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static void sleepMs(double ms)
{
    struct timespec t = {(time_t)(ms / 1000), (long)((ms - (time_t)(ms / 1000) * 1000.0) * 1e6)};
    nanosleep(&t, NULL);
}

static Atom netName, utf8;

/* Whether the window's name is title; a window gone meanwhile is not. */
static int named(Display *display, Window window, const char *title)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *value = NULL;
    int same = 0;
    if (XGetWindowProperty(display, window, netName, 0, 4096, False, utf8, &type, &format, &count, &after, &value) == Success
        && value && type == utf8) {
        same = strlen(title) == count && memcmp(value, title, count) == 0;
        XFree(value);
        return same;
    }
    if (value)
        XFree(value);
    XTextProperty text;
    if (XGetWMName(display, window, &text) && text.value) {
        char **list = NULL;
        int n = 0;
        if (Xutf8TextPropertyToTextList(display, &text, &list, &n) >= Success && n > 0)
            same = strcmp(list[0], title) == 0;
        if (list)
            XFreeStringList(list);
        XFree(text.value);
    }
    return same;
}

static int ignoreErrors(Display *display, XErrorEvent *error)
{
    (void)display;
    (void)error; /* a window that went away between the event and the look */
    return 0;
}

static long vmRssKb(pid_t pid)
{
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *status = fopen(path, "r");
    long kb = -1;
    if (!status)
        return -1;
    while (fgets(line, sizeof line, status))
        if (sscanf(line, "VmRSS: %ld kB", &kb) == 1)
            break;
    fclose(status);
    return kb;
}

static void endProgram(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, NULL, WNOHANG) == pid)
            return;
        sleepMs(20);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s TITLE PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const char *title = argv[1];
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "startup_watch: no display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    netName = XInternAtom(display, "_NET_WM_NAME", False);
    utf8 = XInternAtom(display, "UTF8_STRING", False);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False); /* watching before the program starts */

    const double start = now_ms();
    pid_t pid = fork();
    if (pid < 0)
        return 2;
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(argv[2], argv + 2);
        fprintf(stderr, "startup_watch: cannot start %s: %s\n", argv[2], strerror(errno));
        _exit(127);
    }

    double mapped = -1;
    struct pollfd x = {ConnectionNumber(display), POLLIN, 0};
    while (mapped < 0 && now_ms() - start < 30000) {
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            fprintf(stderr, "startup_watch: %s ended before its window was shown\n", argv[2]);
            return 1;
        }
        if (!XPending(display)) {
            poll(&x, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double seen = now_ms();
        if (event.type == MapNotify && event.xmap.event == root) {
            if (named(display, event.xmap.window, title))
                mapped = seen;
            else
                XSelectInput(display, event.xmap.window, PropertyChangeMask);
        } else if (event.type == PropertyNotify && named(display, event.xproperty.window, title)) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, event.xproperty.window, &attributes) && attributes.map_state == IsViewable)
                mapped = seen;
        }
    }
    if (mapped < 0) {
        fprintf(stderr, "startup_watch: no window \"%s\" within 30 s\n", title);
        endProgram(pid);
        return 1;
    }

    const double wait = start + 3000 - now_ms();
    if (wait > 0)
        sleepMs(wait);
    const long rss = vmRssKb(pid);
    printf("map_ms=%.1f rss_kb=%ld\n", mapped - start, rss);
    fflush(stdout);
    endProgram(pid);
    XCloseDisplay(display);
    return 0;
}
