/* A weston module for tests/wayland-window. It logs every request that a
 * client sends to an xdg_toplevel (title, minimum and maximum size, maximise),
 * the configures the compositor sends it, and the client's acks and window
 * geometries. Once a top-level window is mapped, it logs its title and window
 * geometry and maximises it as a desktop does on a keyboard shortcut or a
 * double click on a title bar (maximized state and the size of an 800 x 368
 * work area). Some time later it logs the geometry and state that the client
 * last committed and whether it has drawn since its last ack, maximises the
 * window once more in the same way, logs again, and closes the window with
 * xdg_toplevel.close, as a desktop's close button does. Weston 10
 * keeps no minimum or maximum size that a module could read, so they come
 * from the requests. Load it: weston --modules=/path/weston_closer.so */
#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>

#include <stdarg.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct closer {
    struct weston_compositor *compositor;
    struct wl_event_source *timer;
    struct wl_protocol_logger *logger;
    struct wl_listener compositor_destroyed;
    int maximised; /* times */
    /* Whether a window's surface was committed after the client's last
     * ack_configure: a client that stops drawing leaves it false. */
    bool drawn_since_ack;
};

/* How long the client has to answer the maximised configure: ours answers
 * within milliseconds, and a commit that breaks the protocol ends it as soon.
 * Longer than the second in which the client keeps a state that the
 * compositor repeats at once, as a kiosk would. */
enum { poll_ms = 20, answer_ms = 1200 };

/* Appends to a log line of line_size characters, which is cut at its end. */
enum { line_size = 256 };
static void append(char line[line_size], size_t *used, const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    if (*used < line_size)
        *used += (size_t)vsnprintf(line + *used, line_size - *used, format, arguments);
    va_end(arguments);
}

static void log_xdg_message(void *data, enum wl_protocol_logger_type direction,
                            const struct wl_protocol_logger_message *message)
{
    struct closer *closer = data;
    const char *class = wl_resource_get_class(message->resource);
    if (direction == WL_PROTOCOL_LOGGER_REQUEST && strcmp(class, "wl_surface") == 0 &&
        strcmp(message->message->name, "commit") == 0 &&
        weston_surface_is_desktop_surface(wl_resource_get_user_data(message->resource)))
        closer->drawn_since_ack = true;
    if (strcmp(class, "xdg_toplevel") != 0 && strcmp(class, "xdg_surface") != 0)
        return;
    if (direction == WL_PROTOCOL_LOGGER_REQUEST &&
        strcmp(message->message->name, "ack_configure") == 0)
        closer->drawn_since_ack = false;
    char arguments[line_size] = "";
    size_t used = 0;
    int index = 0;
    /* The signature has a letter an argument, after an optional "?" (may be
     * null) and the version number it starts with. */
    for (const char *type = message->message->signature; *type; ++type) {
        if (*type == '?' || (*type >= '0' && *type <= '9'))
            continue;
        const union wl_argument *argument = &message->arguments[index];
        append(arguments, &used, index++ ? ", " : "");
        if (*type == 'i')
            append(arguments, &used, "%d", argument->i);
        else if (*type == 'u')
            append(arguments, &used, "%u", argument->u);
        else if (*type == 's')
            append(arguments, &used, "\"%s\"", argument->s ? argument->s : "");
        else if (*type == 'a') {
            /* The states of a configure: 1 maximized, 2 fullscreen, 3 resizing,
             * 4 activated. */
            const uint32_t *state = argument->a->data;
            append(arguments, &used, "[");
            for (size_t i = 0; i < argument->a->size / sizeof *state; ++i)
                append(arguments, &used, "%s%u", i ? " " : "", state[i]);
            append(arguments, &used, "]");
        } else
            append(arguments, &used, "%c", *type);
    }
    weston_log("closer: %s %s.%s(%s)\n",
               direction == WL_PROTOCOL_LOGGER_REQUEST ? "request" : "event", class,
               message->message->name, arguments);
}

static struct weston_desktop_surface *mapped_toplevel(struct weston_compositor *compositor)
{
    struct weston_view *view;
    wl_list_for_each(view, &compositor->view_list, link)
    {
        struct weston_surface *surface = view->surface;
        if (weston_view_is_mapped(view) && weston_surface_is_desktop_surface(surface) &&
            surface->role_name && strcmp(surface->role_name, "xdg_toplevel") == 0)
            return weston_surface_get_desktop_surface(surface);
    }
    return NULL;
}

static void log_window(const struct closer *closer, const char *when,
                       struct weston_desktop_surface *window)
{
    struct weston_geometry geometry = weston_desktop_surface_get_geometry(window);
    const char *title = weston_desktop_surface_get_title(window);
    weston_log("closer: %s xdg_toplevel \"%s\", window geometry %dx%d, maximized %d, "
               "drawn since the last ack %d\n",
               when, title ? title : "", geometry.width, geometry.height,
               weston_desktop_surface_get_maximized(window), closer->drawn_since_ack);
}

static int maximise_then_close(void *data)
{
    struct closer *closer = data;
    struct weston_desktop_surface *window = mapped_toplevel(closer->compositor);
    if (closer->maximised == 0 && !window) {
        wl_event_source_timer_update(closer->timer, poll_ms);
        return 0;
    }
    if (!window) {
        weston_log("closer: no window is left after maximising\n");
        return 0;
    }
    static const char *const when[] = {"mapped", "after maximising:", "after maximising again:"};
    log_window(closer, when[closer->maximised], window);
    if (closer->maximised < 2) {
        weston_desktop_surface_set_maximized(window, true);
        weston_desktop_surface_set_size(window, 800, 368);
        closer->maximised++;
        wl_event_source_timer_update(closer->timer, answer_ms);
        return 0;
    }
    weston_desktop_surface_close(window);
    weston_log("closer: sent xdg_toplevel.close\n");
    return 0;
}

static void destroy_closer(struct wl_listener *listener, void *data)
{
    (void)data;
    struct closer *closer = wl_container_of(listener, closer, compositor_destroyed);
    wl_protocol_logger_destroy(closer->logger);
    wl_event_source_remove(closer->timer);
    free(closer);
}

/* NOLINTNEXTLINE(readability-non-const-parameter): weston declares this entry point. */
WL_EXPORT int wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
    (void)argc;
    (void)argv;
    struct closer *closer = calloc(1, sizeof *closer);
    if (!closer)
        return -1;
    closer->compositor = compositor;
    closer->timer = wl_event_loop_add_timer(wl_display_get_event_loop(compositor->wl_display),
                                            maximise_then_close, closer);
    closer->logger =
        wl_display_add_protocol_logger(compositor->wl_display, log_xdg_message, closer);
    if (!closer->timer || !closer->logger) {
        weston_log("closer: cannot watch the compositor\n");
        return -1;
    }
    weston_compositor_add_destroy_listener_once(compositor, &closer->compositor_destroyed,
                                                destroy_closer);
    wl_event_source_timer_update(closer->timer, poll_ms);
    return 0;
}
