/* wait_mapped PROGRAM [ARGUMENT...]
 *
 * Starts PROGRAM on $DISPLAY, waits until it maps a top-level window and
 * prints "MICROSECONDS RSS_KB": the time from its exec to that map, and its
 * VmRSS at that moment. Then it ends the program. Exit status 0, or 1 when
 * the program could not be started, ended first, or mapped nothing within
 * the time limit. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { time_limit_ms = 60000 };

static long long microseconds(const struct timespec *t)
{
    return (long long)t->tv_sec * 1000000 + t->tv_nsec / 1000;
}

/* A window may be gone by the time its owner is asked for. */
static int ignore_x_error(Display *display, XErrorEvent *error)
{
    (void)display;
    (void)error;
    return 0;
}

/* The process that set _NET_WM_PID on the window, or 0 when none is set. */
static long window_pid(Display *display, Window window)
{
    Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char *data = NULL;
    long pid = 0;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &left, &data) == Success &&
        data != NULL && format == 32 && count == 1)
        pid = *(long *)data; /* Xlib hands 32-bit items over as long */
    if (data != NULL)
        XFree(data);
    return pid;
}

/* VmRSS in kB, or -1. */
static long resident_kb(pid_t pid)
{
    static const char key[] = "VmRSS:";
    char path[64];
    char line[256];
    long kb = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *status = fopen(path, "r");
    if (status == NULL)
        return -1;
    while (fgets(line, sizeof line, status) != NULL) {
        if (strncmp(line, key, sizeof key - 1) == 0) {
            kb = strtol(line + sizeof key - 1, NULL, 10);
            break;
        }
    }
    fclose(status);
    return kb;
}

static void end_child(pid_t child)
{
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
}

int main(int argc, char *argv[])
{
    if (argc < 2) {
        fprintf(stderr, "usage: wait_mapped PROGRAM [ARGUMENT...]\n");
        return 1;
    }
    Display *display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "wait_mapped: cannot open display %s\n", XDisplayName(NULL));
        return 1;
    }
    XSetErrorHandler(ignore_x_error);
    /* Top-level windows are the root window's children. */
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    /* The child stamps the clock itself, right before its exec. */
    struct timespec *started =
        mmap(NULL, sizeof *started, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    int exec_failed[2];
    if (started == MAP_FAILED || pipe(exec_failed) != 0 ||
        fcntl(exec_failed[1], F_SETFD, FD_CLOEXEC) != 0) {
        perror("wait_mapped");
        return 1;
    }
    pid_t child = fork();
    if (child < 0) {
        perror("wait_mapped: fork");
        return 1;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        close(exec_failed[0]);
        clock_gettime(CLOCK_MONOTONIC, started);
        execvp(argv[1], argv + 1);
        int error = errno;
        ssize_t written = write(exec_failed[1], &error, sizeof error);
        (void)written;
        _exit(127);
    }
    close(exec_failed[1]);
    int error;
    if (read(exec_failed[0], &error, sizeof error) == (ssize_t)sizeof error) {
        fprintf(stderr, "wait_mapped: cannot run %s: %s\n", argv[1], strerror(error));
        waitpid(child, NULL, 0);
        return 1;
    }
    close(exec_failed[0]);

    struct pollfd x_connection = {.fd = ConnectionNumber(display), .events = POLLIN};
    const long long deadline = microseconds(started) + time_limit_ms * 1000LL;
    for (;;) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (microseconds(&now) > deadline)
            break;
        if (XPending(display) == 0) {
            if (waitpid(child, NULL, WNOHANG) == child) {
                fprintf(stderr, "wait_mapped: %s ended without mapping a window\n", argv[1]);
                return 1;
            }
            poll(&x_connection, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify)
            continue;
        struct timespec mapped;
        clock_gettime(CLOCK_MONOTONIC, &mapped);
        long kb = resident_kb(child);
        /* A window without _NET_WM_PID counts: nothing else runs on the
           benchmark's own server. */
        long owner = window_pid(display, event.xmap.window);
        if (owner != 0 && owner != child)
            continue;
        end_child(child);
        printf("%lld %ld\n", microseconds(&mapped) - microseconds(started), kb);
        return 0;
    }
    fprintf(stderr, "wait_mapped: %s mapped no window within %d s\n", argv[1],
            time_limit_ms / 1000);
    end_child(child);
    return 1;
}
