/* Start-up to window as the user sees it, timed on the host: starts a command (wine and a
 * program), waits for a top-level X window named CAPTION to be mapped on the display, prints the
 * time from the start of the command to that map, then asks the window to close the way a window
 * manager's close box does (WM_DELETE_WINDOW) and waits for the command to end.
 *   x_startup CAPTION COMMAND [ARGS...]
 * Prints "window MS ms"; exits 1 when no window came within a minute or the command did not end
 * within half a minute of the close (it is then killed), 2 on wrong use or without a display.
 * Event driven: the X server reports every map at once, so nothing polls while the program
 * starts. */
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

/* Wine under full emulation (scripts/wine-env) takes this many times longer for every step. */
static int TimeScale(void) {
    const char* text = getenv("WINE_ENV_TIME_SCALE");
    const int scale = text ? atoi(text) : 1;
    return scale > 0 ? scale : 1;
}

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1e6;
}

/* A window that vanished between its event and our question is no error of ours. */
static int IgnoreErrors(Display* display, XErrorEvent* error) {
    (void)display;
    (void)error;
    return 0;
}

/* The window's caption: _NET_WM_NAME (UTF-8) where set, else WM_NAME. */
static int Named(Display* display, Window window, const char* caption) {
    Atom utf8Name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = NULL;
    int same = 0;
    if (XGetWindowProperty(display, window, utf8Name, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        same = type == utf8 && strlen(caption) == count && memcmp(data, caption, count) == 0;
        XFree(data);
        return same;
    }
    char* name = NULL;
    if (XFetchName(display, window, &name) && name) {
        same = strcmp(name, caption) == 0;
        XFree(name);
    }
    return same;
}

static void AskToClose(Display* display, Window window) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

/* The command's exit status within MS, or -1 when it is still running. */
static int WaitChild(pid_t child, int ms) {
    for (int waited = 0;; waited += 10) {
        int status;
        pid_t got = waitpid(child, &status, WNOHANG);
        if (got == child) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        if (got < 0 && errno != EINTR) return 128;
        if (waited >= ms) return -1;
        const struct timespec pause = {0, 10000000};
        nanosleep(&pause, NULL);
    }
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: x_startup CAPTION COMMAND [ARGS...]\n");
        return 2;
    }
    const char* caption = argv[1];
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "x_startup: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    Window root = DefaultRootWindow(display);
    /* Maps of top-level windows, and captions set after a map. */
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = Now();
    pid_t child = fork();
    if (child < 0) {
        perror("x_startup: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[2], argv + 2);
        perror("x_startup: exec");
        _exit(127);
    }

    Window found = None;
    double at = 0;
    struct pollfd pfd = {ConnectionNumber(display), POLLIN, 0};
    while (found == None) {
        while (found == None && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            Window window = None;
            if (event.type == MapNotify) {
                window = event.xmap.window;
                /* A caption may come after the map: hear of it. */
                XSelectInput(display, window, PropertyChangeMask);
            } else if (event.type == PropertyNotify && event.xproperty.state == PropertyNewValue) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display, event.xproperty.window, &attributes) &&
                    attributes.map_state == IsViewable)
                    window = event.xproperty.window;
            }
            if (window != None && Named(display, window, caption)) {
                at = Now();
                found = window;
            }
        }
        if (found != None) break;
        const double waited = Now() - start;
        if (waited > 60000.0 * TimeScale() || WaitChild(child, 0) >= 0) break;
        poll(&pfd, 1, 100);
    }

    int status = 0;
    if (found != None) {
        printf("window %.0f ms\n", at - start);
        fflush(stdout);
        AskToClose(display, found);
    } else {
        fprintf(stderr, "x_startup: no window \"%s\"\n", caption);
        status = 1;
    }
    int code = WaitChild(child, found != None ? 30000 * TimeScale() : 0);
    if (code < 0) {
        fprintf(stderr, "x_startup: the command did not end\n");
        kill(child, SIGKILL);
        waitpid(child, NULL, 0);
        status = 1;
    } else if (code != 0 && status == 0) {
        fprintf(stderr, "x_startup: the command ended with %d\n", code);
        status = 1;
    }
    XCloseDisplay(display);
    return status;
}
