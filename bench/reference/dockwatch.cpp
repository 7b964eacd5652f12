/* Starts a program and prints the milliseconds until its first top-level window is docked
 * into a tray host (reparented away from the root: "dock") or mapped ("map"), then the
 * program's pid, and waits for the program to end, ending with its exit status.
 *
 *   dockwatch dock|map COMMAND [ARGS...]
 */
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

static double now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char **argv) {
    if (argc < 3 || (strcmp(argv[1], "dock") != 0 && strcmp(argv[1], "map") != 0)) {
        fprintf(stderr, "usage: dockwatch dock|map COMMAND [ARGS...]\n");
        return 2;
    }
    const int dock = strcmp(argv[1], "dock") == 0;
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        fprintf(stderr, "dockwatch: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(x);
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); /* the mask is in place */

    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    xcb_generic_event_t *event;
    while ((event = xcb_wait_for_event(x))) {
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            /* Follow new windows so that their map is seen wherever a window manager puts
             * them. A tray icon is reparented away from the root, which the root reports. */
            const xcb_create_notify_event_t *created =
                reinterpret_cast<const xcb_create_notify_event_t *>(event);
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(x, created->window, XCB_CW_EVENT_MASK, &mask);
            xcb_flush(x);
        } else if (dock && type == XCB_REPARENT_NOTIFY) {
            const xcb_reparent_notify_event_t *moved =
                reinterpret_cast<const xcb_reparent_notify_event_t *>(event);
            if (moved->parent != root)
                break;
        } else if (!dock && type == XCB_MAP_NOTIFY) {
            const xcb_map_notify_event_t *mapped =
                reinterpret_cast<const xcb_map_notify_event_t *>(event);
            if (!mapped->override_redirect &&
                (mapped->event == mapped->window || mapped->event == root))
                break;
        }
        free(event);
    }
    printf("%.1f %d\n", now_ms() - start, static_cast<int>(child));
    fflush(stdout);
    /* Stay the program's parent, so that it is reaped and its end can be awaited. */
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
