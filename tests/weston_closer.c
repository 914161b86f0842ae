/* A weston module for tests/wayland-window. It logs every request that a
 * client sends to an xdg_toplevel (title, minimum and maximum size, maximise),
 * and once a top-level window is mapped, logs its title and window geometry
 * and closes it with xdg_toplevel.close, as a desktop's close button does.
 * Weston 10 keeps no minimum or maximum size that a module could read, so
 * they come from the requests. Load it: weston --modules=/path/weston_closer.so */
#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct closer {
    struct weston_compositor *compositor;
    struct wl_event_source *timer;
    struct wl_protocol_logger *logger;
    struct wl_listener compositor_destroyed;
};

enum { poll_ms = 20 };

static void log_toplevel_request(void *data, enum wl_protocol_logger_type direction,
                                 const struct wl_protocol_logger_message *message)
{
    (void)data;
    if (direction != WL_PROTOCOL_LOGGER_REQUEST ||
        strcmp(wl_resource_get_class(message->resource), "xdg_toplevel") != 0)
        return;
    char arguments[256] = "";
    size_t used = 0;
    int index = 0;
    /* The signature has a letter an argument, after an optional "?" (may be
     * null) and the version number it starts with. */
    for (const char *type = message->message->signature; *type && used < sizeof arguments; ++type) {
        if (*type == '?' || (*type >= '0' && *type <= '9'))
            continue;
        const union wl_argument *argument = &message->arguments[index];
        const char *separator = index++ ? ", " : "";
        if (*type == 'i')
            used +=
                snprintf(arguments + used, sizeof arguments - used, "%s%d", separator, argument->i);
        else if (*type == 's')
            used += snprintf(arguments + used, sizeof arguments - used, "%s\"%s\"", separator,
                             argument->s ? argument->s : "");
        else
            used += snprintf(arguments + used, sizeof arguments - used, "%s%c", separator, *type);
    }
    weston_log("closer: request xdg_toplevel.%s(%s)\n", message->message->name, arguments);
}

static int close_first_toplevel(void *data)
{
    struct closer *closer = data;
    struct weston_view *view;
    wl_list_for_each(view, &closer->compositor->view_list, link)
    {
        struct weston_surface *surface = view->surface;
        if (!weston_view_is_mapped(view) || !weston_surface_is_desktop_surface(surface) ||
            !surface->role_name || strcmp(surface->role_name, "xdg_toplevel") != 0)
            continue;
        struct weston_desktop_surface *window = weston_surface_get_desktop_surface(surface);
        struct weston_geometry geometry = weston_desktop_surface_get_geometry(window);
        const char *title = weston_desktop_surface_get_title(window);
        weston_log("closer: mapped xdg_toplevel \"%s\", window geometry %dx%d, maximized %d\n",
                   title ? title : "", geometry.width, geometry.height,
                   weston_desktop_surface_get_maximized(window));
        weston_desktop_surface_close(window);
        weston_log("closer: sent xdg_toplevel.close\n");
        return 0;
    }
    wl_event_source_timer_update(closer->timer, poll_ms);
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
                                            close_first_toplevel, closer);
    closer->logger =
        wl_display_add_protocol_logger(compositor->wl_display, log_toplevel_request, closer);
    if (!closer->timer || !closer->logger) {
        weston_log("closer: cannot watch the compositor\n");
        return -1;
    }
    weston_compositor_add_destroy_listener_once(compositor, &closer->compositor_destroyed,
                                                destroy_closer);
    wl_event_source_timer_update(closer->timer, poll_ms);
    return 0;
}
