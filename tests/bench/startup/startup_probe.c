// Starts a program and reports how long it takes until its window is mapped on the X display.
//   startup_probe <title part> <program> [argument...]
// Prints "start_epoch_ms=<wall clock at the start> mapped_ms=<milliseconds to the map>" and
// ends the program (SIGTERM, then SIGKILL after 3 s). Exit status 1 when no such window was
// mapped within 30 s.
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(clockid_t clock) {
    struct timespec t;
    clock_gettime(clock, &t);
    return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1e6;
}

// The window's title, as Qt sets it (UTF-8 in _NET_WM_NAME), or the plain WM_NAME.
static int titleContains(Display* display, Window window, const char* part) {
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* value = NULL;
    int found = 0;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &value) == Success &&
        value != NULL) {
        found = strstr((const char*)value, part) != NULL;
        XFree(value);
    }
    char* name = NULL;
    if (!found && XFetchName(display, window, &name) && name != NULL) {
        found = strstr(name, part) != NULL;
        XFree(name);
    }
    return found;
}

static void endChild(pid_t child) {
    kill(child, SIGTERM);
    const double deadline = nowMs(CLOCK_MONOTONIC) + 3000.0;
    while (nowMs(CLOCK_MONOTONIC) < deadline) {
        if (waitpid(child, NULL, WNOHANG) == child) {
            return;
        }
        struct timespec step = {0, 20 * 1000 * 1000};
        nanosleep(&step, NULL);
    }
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: startup_probe <title part> <program> [argument...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double startEpoch = nowMs(CLOCK_REALTIME);
    const double start = nowMs(CLOCK_MONOTONIC);
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    int status = 1;
    const double deadline = start + 30000.0;
    struct pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    while (status != 0 && nowMs(CLOCK_MONOTONIC) < deadline) {
        if (XPending(display) == 0) {
            poll(&connection, 1, 100);
            if (waitpid(child, NULL, WNOHANG) == child) {
                fprintf(stderr, "startup_probe: the program ended without a window\n");
                return 1;
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && titleContains(display, event.xmap.window, argv[1])) {
            printf("start_epoch_ms=%.0f mapped_ms=%.1f\n", startEpoch,
                   nowMs(CLOCK_MONOTONIC) - start);
            status = 0;
        }
    }
    endChild(child);
    XCloseDisplay(display);
    return status;
}
